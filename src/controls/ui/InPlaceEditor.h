// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The single-line editor a skinned list opens over one of its rows. Enter commits, Esc cancels,
// losing the focus commits; the keys stay with the editor, so they neither reach nor close the
// dialog around the list.

#include <QLineEdit>

namespace q905 {

class InPlaceEditor final : public QLineEdit {
    Q_OBJECT
  public:
    explicit InPlaceEditor(QWidget* parent);

  signals:
    void endRequested(bool commit);

  protected:
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

} // namespace q905
