// SPDX-License-Identifier: GPL-3.0-or-later
// The window while the start-up read fills the image: it paints and follows the pointer, never
// writes the image, and takes no edits until the read hands over. Built with ThreadSanitizer,
// any unlocked access of the window to the image during the read fails this test.
#include "MainWindowHarness.h"

#include "controls/ui/SkinSlider.h"
#include "device/SettingsLayout.h"
#include "lighting/PanelSliders.h"

#include <QProcess>

namespace q905 {
namespace {

using testing::WindowHarness;

constexpr QPoint kGameModeSwitch{104, 588};
constexpr QPoint kApply{870, 615};
constexpr std::uint8_t kKeyboardBrightness = 3;
constexpr std::uint8_t kKeyboardResponseTime = 7;

TEST(StartUpRead, TheWindowPaintsAndFollowsThePointerButTakesNoEditsUntilTheHandOver) {
    WindowHarness harness;
    SettingsImage memory = harness.keyboard.memory();
    memory.at(layout::kBrightness) = kKeyboardBrightness;
    memory.at(layout::kResponseTime.offset) = kKeyboardResponseTime;
    harness.keyboard.setMemory(memory);
    // Slow enough for the window to act while the read is under way.
    harness.keyboard.setLatency(std::chrono::microseconds(500));

    harness.window = std::make_unique<MainWindow>(harness.services);
    MainWindow& window = *harness.window;
    QObject::connect(&window, &MainWindow::readDone, [&] { ++harness.readDoneCount; });
    window.show();
    auto* brightness =
        window.findChild<SkinSlider*>(QStringLiteral("slider%1").arg(slider::kBrightness));
    ASSERT_NE(brightness, nullptr);

    bool clickedDuringTheRead = false;
    for (int turn = 0; harness.readDoneCount == 0; ++turn) {
        const QPoint key = testing::keyCentre(turn % kKeyCount);
        harness.hover(key.x(), key.y());
        harness.hover(40 + turn % 200, 228);
        window.paintMainWindow();
        if (!clickedDuringTheRead && turn > 20 && window.startUpReadRunning()) {
            // The game mode has been read by now: these edits would be taken into the snapshot.
            QTest::mouseClick(&window, Qt::LeftButton, {}, kGameModeSwitch);
            QTest::mouseClick(brightness, Qt::LeftButton, {}, QPoint(200, 8));
            clickedDuringTheRead = true;
        }
        QCoreApplication::processEvents();
    }
    EXPECT_TRUE(clickedDuringTheRead) << "the read ended before the window could be clicked";

    // Every read switches the keyboard's game mode on first.
    const std::uint8_t gameMode = harness.keyboard.memory().at(layout::kGameMode.offset);
    for (const SettingsImage& image : {harness.image(), harness.applied()}) {
        EXPECT_EQ(image.at(layout::kGameMode.offset), gameMode);
        EXPECT_EQ(image.brightness(), kKeyboardBrightness);
        EXPECT_EQ(image.responseTime(), kKeyboardResponseTime);
    }
    EXPECT_EQ(brightness->value(), kKeyboardBrightness);
    EXPECT_TRUE(brightness->isEnabled());

    // After the hand-over the same click is an edit, and Apply takes it to the keyboard.
    harness.click(kGameModeSwitch.x(), kGameModeSwitch.y());
    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), gameMode ^ 1);
    window.close();
}

} // namespace
} // namespace q905

namespace q905 {
namespace {

// q905 --screenshot as a script runs it: it writes its picture and ends whatever the read's
// outcome, and its exit status tells the two apart.
TEST(StartUpRead, AScreenshotIsWrittenAndTheProgramEndsWhenTheReadFails) {
    QTemporaryDir folder;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), folder.filePath(QStringLiteral("cache")));
    for (const bool failing : {true, false}) {
        SCOPED_TRACE(failing ? "failing read" : "complete read");
        const QString shot =
            folder.filePath(failing ? QStringLiteral("failed.png") : QStringLiteral("read.png"));
        QStringList arguments{QStringLiteral("--simulate"), QStringLiteral("--data-dir"),
                              folder.filePath(QStringLiteral("data")),
                              QStringLiteral("--screenshot"), shot};
        if (failing)
            arguments << QStringLiteral("--simulate-fault") << QStringLiteral("fail@40");
        QProcess q905;
        q905.setProcessEnvironment(environment);
        q905.start(QStringLiteral(Q905_GUI_PATH), arguments);
        ASSERT_TRUE(q905.waitForFinished(30000)) << "it ends whatever the read's outcome";
        const QString errors = QString::fromUtf8(q905.readAllStandardError());
        EXPECT_EQ(q905.exitCode(), failing ? 1 : 0) << errors.toStdString();
        EXPECT_EQ(errors.contains(QStringLiteral("could not be read to the end")), failing)
            << errors.toStdString();
        EXPECT_FALSE(QImage(shot).isNull()) << "the window's picture";
    }
}

} // namespace
} // namespace q905
