// SPDX-License-Identifier: GPL-3.0-or-later
// Window tests need a QApplication; they run headless unless a platform is chosen.
#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // --scale-factor=F: the windows on a screen of that device pixel ratio (QT_SCALE_FACTOR).
    constexpr char kScaleFactor[] = "--scale-factor=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], kScaleFactor, sizeof kScaleFactor - 1) == 0)
            qputenv("QT_SCALE_FACTOR", argv[i] + sizeof kScaleFactor - 1);
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
