// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/InPlaceEditor.h"

#include <QKeyEvent>

namespace q905 {

namespace {
bool isEnter(int key) {
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}
} // namespace

InPlaceEditor::InPlaceEditor(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("inPlaceEditor"));
}

void InPlaceEditor::keyPressEvent(QKeyEvent* event) {
    if (isEnter(event->key()) || event->key() == Qt::Key_Escape) {
        event->accept(); // acted on at the release
        return;
    }
    QLineEdit::keyPressEvent(event);
}

void InPlaceEditor::keyReleaseEvent(QKeyEvent* event) {
    if (!event->isAutoRepeat() && isEnter(event->key())) {
        event->accept();
        emit endRequested(true);
        return;
    }
    if (!event->isAutoRepeat() && event->key() == Qt::Key_Escape) {
        event->accept();
        emit endRequested(false);
        return;
    }
    QLineEdit::keyReleaseEvent(event);
}

void InPlaceEditor::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    emit endRequested(true);
}

} // namespace q905
