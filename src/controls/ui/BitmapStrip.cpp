// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/BitmapStrip.h"

#include "controls/ui/ScaledPicture.h"

#include <QPainter>

namespace q905 {

BitmapStrip::BitmapStrip(QImage picture, int frameWidth, int frameHeight)
    : m_picture(std::move(picture)),
      m_frames(logicalSize(m_picture).width(), logicalSize(m_picture).height(), frameWidth,
               frameHeight) {}

void BitmapStrip::drawFrame(QPainter& painter, int index, QPoint target) const {
    const auto frame = m_frames.frame(index);
    if (!frame)
        return;
    drawPart(painter, m_drawOffset + target, m_picture,
             QRect(frame->x, frame->y, frame->width, frame->height));
}

} // namespace q905
