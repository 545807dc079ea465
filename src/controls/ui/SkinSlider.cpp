// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/SkinSlider.h"

#include "controls/ui/BitmapButton.h"
#include "controls/ui/ScaledPicture.h"

#include <QAccessibleValueInterface>
#include <QAccessibleWidget>
#include <QMouseEvent>
#include <QWheelEvent>

#include <algorithm>
#include <cstdlib>

namespace q905 {

namespace {
// A slider with its value said in its unit. Qt's bridge hands screen readers only a number as
// the value (no value text, no "valuetext" attribute), and Orca reads it before the
// description: the number is the unit's ("4" of "4 ms"), the words with the unit follow as the
// description. The hidden thumb window is no child of its own.
class SkinSliderAccessible : public QAccessibleWidget, public QAccessibleValueInterface {
  public:
    explicit SkinSliderAccessible(SkinSlider* slider)
        : QAccessibleWidget(slider, QAccessible::Slider) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value ||
            (t == QAccessible::Description && slider()->accessibleDescription().isEmpty()))
            return slider()->valueText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QVariant currentValue() const override { return number(slider()->value()); }
    // The step whose number is nearest.
    void setCurrentValue(const QVariant& value) override {
        const int wanted = value.toInt();
        int best = slider()->minimum();
        for (int position = slider()->minimum(); position <= slider()->maximum(); ++position)
            if (std::abs(number(position) - wanted) < std::abs(number(best) - wanted))
                best = position;
        slider()->setValue(best);
    }
    QVariant maximumValue() const override { return number(slider()->maximum()); }
    QVariant minimumValue() const override { return number(slider()->minimum()); }
    // Whole numbers: Orca reads as many decimals as the step asks for.
    QVariant minimumStepSize() const override { return 1; }

  private:
    SkinSlider* slider() const { return static_cast<SkinSlider*>(widget()); }
    int number(int position) const { return slider()->valueNumber(position); }
};

QAccessibleInterface* skinSliderFactory(const QString&, QObject* object) {
    if (auto* slider = qobject_cast<SkinSlider*>(object))
        return new SkinSliderAccessible(slider);
    return nullptr;
}
} // namespace

SkinSlider::SkinSlider(QWidget* parent) : QSlider(Qt::Horizontal, parent) {
    [[maybe_unused]] static const bool factoryInstalled = [] {
        QAccessible::installFactory(skinSliderFactory);
        return true;
    }();
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

int SkinSlider::valueNumber(int position) const {
    return m_valueNumber ? m_valueNumber(position) : position;
}

QString SkinSlider::valueText() const {
    return m_valueText ? m_valueText(value()) : QString::number(value());
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
