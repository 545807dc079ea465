// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up benchmark's baseline: a Qt window of q905's size that draws one text, in a
// program that links only Qt, so none of q905's libraries count on its side. The text is what
// makes it a fair baseline: the first text loads the font configuration, the font and the
// shaping code, which any window with words pays.
#include "FirstFrameProbe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    q905::bench::installFirstFrameProbe();
    QApplication application(argc, argv);
    QLabel window(QStringLiteral("Keyboard settings"));
    window.setAlignment(Qt::AlignCenter);
    window.setFixedSize(1000, 640);
    window.show();
    return application.exec();
}
