// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/FocusMark.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace q905 {

void paintFocusMark(QPainter& painter, const QRect& control, const QRect& window) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    // A stroked rectangle covers one pixel more to the right and below than the QRect.
    QRect ring = control.adjusted(-2, -2, 1, 1);
    ring.setLeft(std::max(ring.left(), window.left()));
    ring.setTop(std::max(ring.top(), window.top()));
    ring.setRight(std::min(ring.right(), window.right() - 1));
    ring.setBottom(std::min(ring.bottom(), window.bottom() - 1));
    QPen light(Qt::white, 1, Qt::SolidLine);
    painter.setPen(light);
    painter.drawRect(ring);
    QPen dark(Qt::black, 1, Qt::CustomDashLine);
    dark.setDashPattern({2, 2});
    painter.setPen(dark);
    painter.drawRect(ring);
    painter.restore();
}

} // namespace q905
