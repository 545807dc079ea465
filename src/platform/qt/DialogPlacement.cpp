// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/DialogPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace q905 {

void placeOverParent(QWidget& dialog) {
    const QWidget* parent = dialog.parentWidget() != nullptr ? dialog.parentWidget()->window()
                                                             : nullptr;
    QScreen* screen = parent != nullptr ? parent->screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr)
        return;
    const QRect screenArea = screen->availableGeometry();
    const QRect over = parent != nullptr && parent->isVisible() ? parent->frameGeometry()
                                                                : screenArea;
    QRect place(QPoint(), dialog.size());
    place.moveCenter(over.center());
    place.moveLeft(std::clamp(place.left(), screenArea.left(),
                              std::max(screenArea.left(), screenArea.right() - place.width() + 1)));
    place.moveTop(std::clamp(place.top(), screenArea.top(),
                             std::max(screenArea.top(), screenArea.bottom() - place.height() + 1)));
    dialog.move(place.topLeft());
}

} // namespace q905
