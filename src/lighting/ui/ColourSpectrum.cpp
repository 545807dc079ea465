// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/ui/ColourSpectrum.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace q905 {

namespace {
QRgb toRgb(ColourValue colour) {
    return qRgb(redOf(colour), greenOf(colour), blueOf(colour));
}

SpectrumKey spectrumKey(int key) {
    switch (key) {
    case Qt::Key_Left:
        return SpectrumKey::Left;
    case Qt::Key_Right:
        return SpectrumKey::Right;
    case Qt::Key_Up:
        return SpectrumKey::Up;
    case Qt::Key_Down:
        return SpectrumKey::Down;
    case Qt::Key_PageUp:
        return SpectrumKey::PageUp;
    case Qt::Key_PageDown:
        return SpectrumKey::PageDown;
    case Qt::Key_Home:
        return SpectrumKey::Home;
    case Qt::Key_End:
        return SpectrumKey::End;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return SpectrumKey::Tab;
    default:
        return SpectrumKey::Other;
    }
}
} // namespace

ColourSpectrum::ColourSpectrum(QWidget* parent, const QRect& rectangle, int controlId,
                               ColourValue initial)
    : QWidget(parent), m_model(rectangle.width(), rectangle.height(), initial),
      m_controlId(controlId) {
    setGeometry(rectangle);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void ColourSpectrum::setColour(ColourValue colour) {
    m_model.setColour(colour);
    update();
}

const QImage& ColourSpectrum::spectrumPicture() {
    if (m_picture.isNull()) {
        m_picture = QImage(m_model.width(), m_model.height(), QImage::Format_RGB32);
        for (int y = 0; y < m_model.height(); ++y)
            for (int x = 0; x < m_model.width(); ++x)
                m_picture.setPixel(x, y, toRgb(m_model.picturePixel(x, y)));
    }
    return m_picture;
}

void ColourSpectrum::paintEvent(QPaintEvent*) {
    const int width = m_model.width();
    const int height = m_model.height();
    QImage frame = spectrumPicture().copy();
    const QRgb text = palette().color(QPalette::WindowText).rgb();
    const QRgb window = palette().color(QPalette::Base).rgb();
    const QRgb shadow = palette().color(QPalette::Dark).rgb();

    const QRgb crosshair = m_model.spectrumFocused() ? text : window;
    const SpectrumRect& spectrum = m_model.spectrumRect();
    for (int row = 0; row < kCrosshairSize; ++row) {
        for (int column = 0; column < kCrosshairSize; ++column) {
            const int x = m_model.crosshairX() - kCrosshairSize / 2 + column;
            const int y = m_model.crosshairY() - kCrosshairSize / 2 + row;
            if (SpectrumModel::crosshairMask(column, row) && spectrum.contains(x, y))
                frame.setPixel(x, y, crosshair);
        }
    }

    for (int y = 0; y < height; ++y) {
        if (const auto colour = m_model.barPixelRow(y))
            for (int x = m_model.barLeft(); x < m_model.barRight(); ++x)
                frame.setPixel(x, y, toRgb(*colour));
    }

    const QRgb fill = m_model.barFocused() ? text : shadow;
    for (int row = 0; row < kArrowHeight; ++row) {
        for (int column = 0; column < kArrowWidth; ++column) {
            const int x = m_model.arrowLeft() + column;
            const int y = m_model.arrowTop() + row;
            if (x < 0 || x >= width || y < 0 || y >= height)
                continue;
            const ArrowPixel pixel = SpectrumModel::arrowMask(column, row);
            if (pixel == ArrowPixel::Outline)
                frame.setPixel(x, y, text);
            else if (pixel == ArrowPixel::Fill)
                frame.setPixel(x, y, fill);
        }
    }

    QPainter painter(this);
    painter.drawImage(0, 0, frame);
}

void ColourSpectrum::apply(const SpectrumChange& change) {
    if (change.spectrumRedraw || change.arrowRedraw)
        update();
    if (change.selectionChanged)
        emit selectionChanged(*change.selectionChanged, m_controlId);
    if (change.selectionEnded)
        emit selectionEnded(*change.selectionEnded, m_controlId);
}

void ColourSpectrum::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    if (!hasFocus())
        setFocus(Qt::MouseFocusReason);
    const QPoint point = event->position().toPoint();
    apply(m_model.buttonDown(point.x(), point.y()));
    update();
}

void ColourSpectrum::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    apply(m_model.move(point.x(), point.y(), event->buttons() & Qt::LeftButton));
}

void ColourSpectrum::mouseReleaseEvent(QMouseEvent*) {
    m_model.buttonUp();
}

void ColourSpectrum::mouseDoubleClickEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return;
    const QPoint point = event->position().toPoint();
    apply(m_model.doubleClick(point.x(), point.y()));
}

bool ColourSpectrum::event(QEvent* event) {
    // Tab first walks from the spectrum to the bar, so it must arrive before focus handling.
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            const bool shift =
                key->key() == Qt::Key_Backtab || key->modifiers().testFlag(Qt::ShiftModifier);
            const SpectrumChange change = m_model.key(SpectrumKey::Tab, false, shift);
            apply(change);
            if (change.focusMove == SpectrumFocusMove::NextControl)
                focusNextPrevChild(true);
            else if (change.focusMove == SpectrumFocusMove::PreviousControl)
                focusNextPrevChild(false);
            return true;
        }
    }
    return QWidget::event(event);
}

void ColourSpectrum::keyPressEvent(QKeyEvent* event) {
    const SpectrumKey key = spectrumKey(event->key());
    const SpectrumChange change =
        key == SpectrumKey::Other
            ? SpectrumChange{}
            : m_model.key(key, event->modifiers().testFlag(Qt::ControlModifier),
                          event->modifiers().testFlag(Qt::ShiftModifier));
    if (!change.handled)
        return QWidget::keyPressEvent(event);
    apply(change);
}

void ColourSpectrum::focusInEvent(QFocusEvent* event) {
    const bool backwards = event->reason() == Qt::BacktabFocusReason ||
                           QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier);
    m_model.focusIn(backwards);
    update();
}

void ColourSpectrum::focusOutEvent(QFocusEvent*) {
    m_model.focusOut();
    update();
}

} // namespace q905
