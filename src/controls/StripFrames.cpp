// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/StripFrames.h"

namespace q905 {

StripFrames::StripFrames(int bitmapWidth, int bitmapHeight, int frameWidth, int frameHeight)
    : m_frameWidth(frameWidth > 0 ? frameWidth : bitmapWidth),
      m_frameHeight(frameHeight > 0 ? frameHeight : bitmapHeight),
      m_vertical(bitmapHeight > bitmapWidth) {
    // An empty bitmap has no frames rather than a division by zero.
    if (m_vertical)
        m_frameCount = m_frameHeight > 0 ? bitmapHeight / m_frameHeight : 0;
    else
        m_frameCount = m_frameWidth > 0 ? bitmapWidth / m_frameWidth : 0;
}

std::optional<FrameRect> StripFrames::frame(int index) const {
    if (index < 0 || index >= m_frameCount)
        return std::nullopt;
    if (m_vertical)
        return FrameRect{0, index * m_frameHeight, m_frameWidth, m_frameHeight};
    return FrameRect{index * m_frameWidth, 0, m_frameWidth, m_frameHeight};
}

} // namespace q905
