// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skinned slider: a QSlider for range, position and keys that never paints itself. It works
// out where its thumb is and reports every paint and pointer move, so that its owner draws the
// tracks and the thumb in its place. A click moves the thumb straight to the nearest step. Screen
// readers hear its value in its unit (the number, then the words with the unit), not its step.

#include "controls/SliderGeometry.h"
#include "controls/ui/BitmapStrip.h"

#include <QSlider>

#include <functional>

namespace q905 {

class BitmapButton;

class SkinSlider : public QSlider {
    Q_OBJECT
  public:
    explicit SkinSlider(QWidget* parent);

    void setControlId(int id) { m_controlId = id; }

    // How a position is said ("4 ms"); the bare number without one.
    void setValueText(std::function<QString(int position)> text) { m_valueText = std::move(text); }
    QString valueText() const;
    // The number of that text (4 for "4 ms"), which screen readers read as the value before
    // anything else; the position without one.
    void setValueNumber(std::function<int(int position)> number) {
        m_valueNumber = std::move(number);
    }
    int valueNumber(int position) const;

    // Set-up, once: the hidden thumb window with the thumb picture.
    void createThumbWindow(const QImage& thumb);
    // Takes the track pictures and the filled track's size (220 x 17), keeping its place.
    void loadTracks(const QImage& emptyTrack, const QImage& filledTrack);

    const BitmapStrip& emptyTrack() const { return m_emptyTrack; }
    const BitmapStrip& filledTrack() const { return m_filledTrack; }
    BitmapButton* thumbWindow() const { return m_thumbWindow; }

    // Where the thumb picture goes, from the slider's left edge (thumb x, thumb y).
    ThumbOffset thumbOffset() const;
    SliderRect thumbRectangle() const;
    SliderRect channelRectangle() const { return channelRect(); }

  signals:
    // The thumb may have moved: on every paint, pointer move and change of position.
    void sliderMoveReported(int controlId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

  private:
    void updateThumb();
    int positionAt(int x) const;

    int m_controlId = 0;
    std::function<QString(int)> m_valueText;
    std::function<int(int)> m_valueNumber;
    BitmapButton* m_thumbWindow = nullptr;
    BitmapStrip m_emptyTrack;
    BitmapStrip m_filledTrack;
    bool m_dragging = false;
};

} // namespace q905
