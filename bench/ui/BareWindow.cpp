// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up benchmark's baseline: a Qt window of q905's size that draws nothing of its own,
// in a program that links only Qt, so none of q905's libraries count on its side.
#include "FirstFrameProbe.h"

#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    q905::bench::installFirstFrameProbe();
    QApplication application(argc, argv);
    QWidget window;
    window.setFixedSize(1000, 640);
    window.show();
    return application.exec();
}
