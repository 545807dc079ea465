#include "controls/ui/SkinSlider.h"

#include "controls/ui/BitmapButton.h"
#include "controls/ui/ScaledPicture.h"

#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>

namespace q905 {

SkinSlider::SkinSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setSingleStep(1);
    setPageStep(1);
    connect(this, &QSlider::valueChanged, this, [this] { updateThumb(); });
}

void SkinSlider::createThumbWindow(const QImage& thumb) {
    if (m_thumbWindow != nullptr)
        return;
    m_thumbWindow = new BitmapButton(this);
    m_thumbWindow->setStrip(thumb, kThumbWidth, kThumbHeight);
    m_thumbWindow->setForwarding(true);
    m_thumbWindow->hide();
}

void SkinSlider::loadTracks(const QImage& emptyTrack, const QImage& filledTrack) {
    m_emptyTrack = BitmapStrip(emptyTrack);
    m_filledTrack = BitmapStrip(filledTrack);
    // Without its pictures the slider still keeps the track's size, so clicks land alike.
    const QSize size =
        filledTrack.isNull() ? QSize(kTrackWidth, kTrackHeight) : logicalSize(filledTrack);
    resize(size);
}

SliderRect SkinSlider::thumbRectangle() const {
    return thumbRect(value(), minimum(), maximum());
}

ThumbOffset SkinSlider::thumbOffset() const {
    return q905::thumbOffset(thumbRectangle());
}

void SkinSlider::updateThumb() {
    emit sliderMoveReported(m_controlId);
    if (m_thumbWindow != nullptr)
        m_thumbWindow->hide();
}

int SkinSlider::positionAt(int x) const {
    return std::clamp(positionForClick(x, channelRectangle(), 0, minimum(), maximum()), minimum(),
                      maximum());
}

void SkinSlider::paintEvent(QPaintEvent*) {
    // The owner's drawing underneath stays visible.
    updateThumb();
}

void SkinSlider::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QSlider::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    m_dragging = true;
    setValue(positionAt(qRound(event->position().x())));
    event->accept();
}

void SkinSlider::mouseMoveEvent(QMouseEvent* event) {
    if (m_dragging && (event->buttons() & Qt::LeftButton))
        setValue(positionAt(qRound(event->position().x())));
    updateThumb();
    event->accept();
}

void SkinSlider::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        m_dragging = false;
    event->accept();
}

void SkinSlider::wheelEvent(QWheelEvent* event) {
    event->accept();
}

} // namespace q905
