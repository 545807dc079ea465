// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Screen readers see a skinned window's painted controls as accessible objects of their own:
// role from the control's kind, name in the window's language, state, value and actions. Real
// child widgets keep Qt's own interfaces and appear in the table's order among them.

#include "controls/ui/PaintedControlHost.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <map>

namespace q905 {

// Once per process; every window with a ControlFocus calls it.
void installPaintedControlAccessibility();

// Gives the real widgets of the table (sliders, text fields, lists) their table names as
// accessible names; a window calls it once its widgets exist and whenever its language changes.
void nameControlWidgets(PaintedControlHost& host);

// Tells an active screen reader that the control took the focus or changed (state, value,
// name). Nothing happens while none listens.
void notifyControlEvent(PaintedControlHost& host, int id, QAccessible::Event event);

class PaintedControlAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    PaintedControlAccessible(PaintedControlHost& host, int id) : m_host(host), m_id(id) {}

    int controlId() const { return m_id; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

  private:
    const ControlSpec* declared() const;

    PaintedControlHost& m_host;
    int m_id;
};

// The window: its children are the table's controls in table order, then any other widget.
class SkinnedWindowAccessible : public QAccessibleWidget {
  public:
    SkinnedWindowAccessible(QWidget* widget, PaintedControlHost& host);
    ~SkinnedWindowAccessible() override;

    int childCount() const override;
    QAccessibleInterface* child(int index) const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int x, int y) const override;
    QAccessibleInterface* focusChild() const override;

    // The painted control's interface (none for a control that is a real widget).
    PaintedControlAccessible* paintedChild(int id) const;

  private:
    std::vector<QAccessibleInterface*> children() const;
    QAccessibleInterface* forControl(const ControlSpec& control) const;

    PaintedControlHost& m_host;
    mutable std::map<int, QAccessible::Id> m_painted;
};

} // namespace q905
