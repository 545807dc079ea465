// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/SkinnedDialog.h"

#include "controls/ui/ScaledPicture.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

namespace q905 {

SkinnedDialog::SkinnedDialog(Language language, std::span<const ControlSpec> controls,
                             QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_language(language),
      m_controls(controls) {}

QWidget* SkinnedDialog::controlWidget(int id) const {
    const auto found = m_widgets.find(id);
    return found == m_widgets.end() ? nullptr : found->second;
}

void SkinnedDialog::paintBackground(QPainter& painter, const QImage& background,
                                    const QColor& fallback) {
    smoothWhenScaled(painter);
    if (background.isNull())
        painter.fillRect(rect(), fallback);
    else
        painter.drawImage(0, 0, background);
}

void SkinnedDialog::mousePressEvent(QMouseEvent* event) {
    m_focus.pointerUsed();
    if (event->button() != Qt::LeftButton)
        return QDialog::mousePressEvent(event);
    m_drag.press(*event, isBackground(event->position().toPoint()));
}

void SkinnedDialog::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    pointerMoved(point);
    m_drag.move(*event, isBackground(point));
}

void SkinnedDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mouseReleaseEvent(event);
    if (m_drag.release() == BackgroundDrag::Release::Click)
        clicked(event->position().toPoint());
}

void SkinnedDialog::keyPressEvent(QKeyEvent* event) {
    if (m_focus.handleKey(event))
        return;
    QDialog::keyPressEvent(event);
}

} // namespace q905
