// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/BitmapButton.h"

#include "controls/ui/ScaledPicture.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>

namespace q905 {

BitmapButton::BitmapButton(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setGeometry(0, 0, 0, 0);
    // The frame is the background: nothing is erased first, so a frame the strip lacks leaves
    // the old pixels.
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void BitmapButton::setStrip(const QImage& picture, int frameWidth, int frameHeight) {
    m_strip = BitmapStrip(picture, frameWidth, frameHeight);
    m_state.setFrameCount(m_strip.frameCount());
    setGeometry(0, 0, m_strip.frameSize().width(), m_strip.frameSize().height());
    update();
}

void BitmapButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    smoothWhenScaled(painter);
    m_strip.drawFrame(painter, m_state.state());
}

void BitmapButton::mouseMoveEvent(QMouseEvent* event) {
    // Hover notice comes after 1 ms of rest; the first move stands for it.
    if (m_state.startTracking()) {
        m_state.hover();
        update();
    }
    if (m_forward)
        forwardToParent(event);
    event->accept();
}

void BitmapButton::leaveEvent(QEvent*) {
    m_state.leave();
    update();
}

void BitmapButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    finishButton(m_state.buttonDown(), event);
}

void BitmapButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    finishButton(m_state.buttonUp(), event);
}

// Repaint, report a click when the state says so, and pass the event on when forwarding.
void BitmapButton::finishButton(bool notify, QMouseEvent* event) {
    update();
    if (notify)
        emit clicked(m_controlId);
    if (m_forward)
        forwardToParent(event);
    event->accept();
}

void BitmapButton::forwardToParent(QMouseEvent* event) {
    QWidget* parent = parentWidget();
    if (parent == nullptr)
        return;
    QMouseEvent forwarded(event->type(), mapToParent(event->position()), event->globalPosition(),
                          event->button(), event->buttons(), event->modifiers());
    QCoreApplication::sendEvent(parent, &forwarded);
}

} // namespace q905
