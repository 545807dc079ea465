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
// A slider with its value said in its unit. Qt's bridge gives screen readers a value only as a
// number and carries no "valuetext" attribute, and Orca reads a slider's number alone when it
// changes ("4", never "4 ms"). A spin button it reads by its text, the value in its unit first,
// and its arrow keys step it as this slider's do. The number stays for a reader that sets one.
// The hidden thumb window is no child of its own.
class SkinSliderAccessible : public QAccessibleWidget,
                             public QAccessibleValueInterface,
                             public QAccessibleTextInterface {
  public:
    explicit SkinSliderAccessible(SkinSlider* slider)
        : QAccessibleWidget(slider, QAccessible::SpinBox) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value)
            return slider()->valueText();
        return QAccessibleWidget::text(t);
    }
    int childCount() const override { return 0; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface)
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    // The text: the value in its unit, read-only, no caret or selection.
    QString text(int start, int end) const override {
        return slider()->valueText().mid(start, end - start);
    }
    int characterCount() const override { return static_cast<int>(slider()->valueText().size()); }
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QRect characterRect(int) const override { return {}; }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
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
