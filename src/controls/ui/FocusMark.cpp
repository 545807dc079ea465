// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/FocusMark.h"

#include <QPainter>
#include <QPen>

namespace q905 {

void paintFocusMark(QPainter& painter, const QRect& control) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setBrush(Qt::NoBrush);
    const QRect ring = control.adjusted(-2, -2, 1, 1);
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
