// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Screen readers see a skinned window's painted controls as accessible objects of their own:
// role from the control's kind, name in the window's language, state, value and actions. Real
// child widgets keep Qt's own interfaces and appear in the table's order among them.

#include "controls/ui/PaintedControlHost.h"

#include <QAccessible>
#include <QAccessibleWidget>

#include <functional>
#include <map>
#include <optional>
#include <vector>

namespace q905 {

// Once per process; every window with a ControlFocus calls it.
void installPaintedControlAccessibility();

// Qt's own accessibility events pass here on their way to the platform's bridge while a screen
// reader listens; Qt's word that a skinned window took the focus goes out as the painted
// control that has it.
void relayQtAccessibleEvent(QAccessibleEvent* event);

// Gives the real widgets of the table (sliders, text fields, lists) their table names as
// accessible names; a window calls it once its widgets exist and whenever its language changes.
void nameControlWidgets(PaintedControlHost& host);

// Tells an active screen reader that the control took the focus or changed (state, value,
// name). The new name of the focused control is also said, where the window has a status line
// (a button that turns into its opposite). Nothing happens while none listens.
void notifyControlEvent(PaintedControlHost& host, int id, QAccessible::Event event);

// When the window gets the focus back (a dialog or message box over it closed, the desktop
// switched back to it), Qt tells screen readers only that the window took it, and they read its
// title; this tells them the painted control that has it right after. Once per window.
void announceFocusReturns(PaintedControlHost& host);

// Tells a screen reader which entry of a list control the keys are on now (its current item):
// that item takes the reader's focus and its selection is told, open list or closed.
void notifyCurrentControlItem(PaintedControlHost& host, int id);

// Tells a screen reader that the window's status line says something new; announceStatus also
// has it spoken (a running task and its result), where a count that changes with every key
// would only chatter.
void notifyStatusChanged(PaintedControlHost& host);
void announceStatus(PaintedControlHost& host);

// Every accessibility event of the controls goes out here: to the platform's bridge while a
// screen reader listens, else to the listener given (the offscreen platform has no bridge, so
// tests listen here). An empty listener ends the listening.
void sendAccessibleEvent(QAccessibleEvent& event);
void listenToAccessibleEvents(std::function<void(QAccessibleEvent&)> listener);

class PaintedControlAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
  public:
    PaintedControlAccessible(PaintedControlHost& host, int id) : m_host(host), m_id(id) {}
    ~PaintedControlAccessible() override;

    int controlId() const { return m_id; }

    bool isValid() const override;
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    // A list control's entries are its children.
    QAccessibleInterface* child(int index) const override;
    int childCount() const override;
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override;
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override;
    QAccessible::State state() const override;
    void* interface_cast(QAccessible::InterfaceType type) override;

    QStringList actionNames() const override;
    void doAction(const QString& actionName) override;
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

    PaintedControlHost& host() const { return m_host; }

  private:
    const ControlSpec* declared() const;

    PaintedControlHost& m_host;
    int m_id;
    mutable std::vector<QAccessible::Id> m_items;
};

// A read-only object without a widget or children of its own: a list entry, a notice.
class LeafAccessible : public QAccessibleInterface {
  public:
    QObject* object() const override { return nullptr; }
    QAccessibleInterface* child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    void setText(QAccessible::Text, const QString&) override {}
};

// One entry of a list control.
class ControlItemAccessible : public LeafAccessible {
  public:
    ControlItemAccessible(PaintedControlAccessible& list, int row) : m_list(list), m_row(row) {}

    int row() const { return m_row; }

    bool isValid() const override;
    QWindow* window() const override { return m_list.window(); }
    QAccessibleInterface* parent() const override { return &m_list; }
    QString text(QAccessible::Text t) const override;
    QRect rect() const override { return m_list.rect(); }
    QAccessible::Role role() const override { return QAccessible::ListItem; }
    QAccessible::State state() const override;

  private:
    std::optional<ControlItem> item() const;

    PaintedControlAccessible& m_list;
    int m_row;
};

class NoticeAccessible;

// The window's status line: its text is its name. Its one child is the notice that speaks.
class StatusAccessible : public QAccessibleInterface {
  public:
    explicit StatusAccessible(PaintedControlHost& host) : m_host(host) {}
    ~StatusAccessible() override;

    bool isValid() const override { return m_host.hasStatus(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override;
    QAccessibleInterface* parent() const override;
    QAccessibleInterface* child(int index) const override;
    int childCount() const override { return 1; }
    int indexOfChild(const QAccessibleInterface* child) const override;
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    QAccessibleInterface* focusChild() const override { return nullptr; }
    QString text(QAccessible::Text t) const override;
    void setText(QAccessible::Text, const QString&) override {}
    QRect rect() const override;
    QAccessible::Role role() const override { return QAccessible::StatusBar; }
    QAccessible::State state() const override;

    NoticeAccessible* notice() const;

  private:
    PaintedControlHost& m_host;
    mutable std::optional<QAccessible::Id> m_notice;
};

// What the window last said aloud. Qt's bridge sends a name change without the new name, which
// Orca cannot speak; a notification that shows is spoken with its name.
class NoticeAccessible : public LeafAccessible {
  public:
    explicit NoticeAccessible(StatusAccessible& status) : m_status(status) {}

    // Tells an active screen reader the words.
    void say(const QString& words);

    bool isValid() const override { return m_status.isValid(); }
    QWindow* window() const override { return m_status.window(); }
    QAccessibleInterface* parent() const override { return &m_status; }
    QString text(QAccessible::Text t) const override;
    QRect rect() const override { return m_status.rect(); }
    QAccessible::Role role() const override { return QAccessible::Notification; }
    QAccessible::State state() const override { return m_status.state(); }

  private:
    StatusAccessible& m_status;
    QString m_words;
};

// The window: its children are the table's controls in table order, then its status line, then
// any other widget.
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
    // The status line's interface, for a window with one.
    StatusAccessible* statusChild() const;

  private:
    std::vector<QAccessibleInterface*> children() const;
    QAccessibleInterface* forControl(const ControlSpec& control) const;

    PaintedControlHost& m_host;
    mutable std::map<int, QAccessible::Id> m_painted;
    mutable std::optional<QAccessible::Id> m_status;
};

} // namespace q905
