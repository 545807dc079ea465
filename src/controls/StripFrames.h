// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How a bitmap strip is cut into equal frames: side by side, or stacked when the bitmap is
// higher than wide.

#include <optional>

namespace q905 {

struct FrameRect {
    int x = 0, y = 0, width = 0, height = 0;
    bool operator==(const FrameRect&) const = default;
};

class StripFrames {
  public:
    StripFrames() = default;
    // A frame size of 0 means the whole bitmap's width or height.
    StripFrames(int bitmapWidth, int bitmapHeight, int frameWidth, int frameHeight);

    int frameWidth() const { return m_frameWidth; }
    int frameHeight() const { return m_frameHeight; }
    bool vertical() const { return m_vertical; }
    int frameCount() const { return m_frameCount; }
    // None for an index at or beyond the frame count: such a frame draws nothing.
    std::optional<FrameRect> frame(int index) const;

  private:
    int m_frameWidth = 0;
    int m_frameHeight = 0;
    bool m_vertical = false;
    int m_frameCount = 0;
};

} // namespace q905
