// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/ScaledPicture.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace q905 {

QSize logicalSize(const QImage& picture) {
    return picture.deviceIndependentSize().toSize();
}

QRect pixelRect(const QImage& picture, const QRect& logical) {
    const qreal ratio = picture.devicePixelRatio();
    if (ratio == 1.0)
        return logical;
    return QRect(qRound(logical.x() * ratio), qRound(logical.y() * ratio),
                 qRound(logical.width() * ratio), qRound(logical.height() * ratio));
}

QImage cutOut(const QImage& picture, const QRect& logical) {
    QImage part = picture.copy(pixelRect(picture, logical));
    part.setDevicePixelRatio(picture.devicePixelRatio());
    return part;
}

void drawPart(QPainter& painter, const QPoint& at, const QImage& picture, const QRect& source) {
    painter.drawImage(at, picture, pixelRect(picture, source));
}

void smoothWhenScaled(QPainter& painter) {
    const qreal ratio = painter.device() ? painter.device()->devicePixelRatio() : 1.0;
    if (ratio != std::floor(ratio))
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
}

} // namespace q905
