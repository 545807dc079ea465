// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A picture cut into equal frames, drawn one frame at a time. Frames are counted in window
// pixels, whatever the picture's device pixel ratio.

#include "controls/StripFrames.h"

#include <QImage>
#include <QPoint>

class QPainter;

namespace q905 {

class BitmapStrip {
  public:
    BitmapStrip() = default;
    // A frame size of 0 takes the whole picture's width or height.
    explicit BitmapStrip(QImage picture, int frameWidth = 0, int frameHeight = 0);

    bool isNull() const { return m_picture.isNull(); }
    const QImage& picture() const { return m_picture; }
    int frameCount() const { return m_frames.frameCount(); }
    QSize frameSize() const { return {m_frames.frameWidth(), m_frames.frameHeight()}; }

    // Copies frame `index` to the draw offset moved by `target`; an index beyond the strip
    // draws nothing and leaves the old pixels.
    void drawFrame(QPainter& painter, int index, QPoint target = {}) const;

  private:
    QImage m_picture;
    StripFrames m_frames;
    QPoint m_drawOffset;
};

} // namespace q905
