// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a skinned window tells the shared focus and accessibility code about its controls. The
// window declares them in a ControlTable; this interface adds what changes while it runs:
// whether a control can be used, its state and value, and what activating it does.

#include "base/Language.h"
#include "controls/ControlTable.h"

#include <QString>

#include <optional>
#include <span>
#include <vector>

class QKeyEvent;
class QWidget;

namespace q905 {

struct ControlStatus {
    bool enabled = true;
    bool visible = true;  // false on a page not shown, or in a list that is closed
    bool checked = false; // a toggle that is on, the chosen radio button or tab
    bool selected = false;
    // False for the buttons of a radio group that are not chosen: Tab stops at the chosen one and
    // the arrow keys move within the group.
    bool tabStop = true;
    QString name;  // replaces the table's name when not empty (keys, rows, swatches)
    QString value; // a slider's or a list's value, with its unit ("4 ms", "1000 Hz")
};

// One entry of a list control, as a screen reader reads it.
struct ControlItem {
    QString name;
    bool selected = false; // the entry chosen
    bool current = false;  // the entry the keys are on: the highlighted row of an open list,
                           // else the chosen one
};

class PaintedControlHost {
  public:
    virtual ~PaintedControlHost() = default;

    // The window itself.
    virtual QWidget* hostWidget() = 0;
    virtual std::span<const ControlSpec> controls() const = 0;
    virtual Language controlLanguage() const = 0;
    virtual ControlStatus controlStatus(int id) const = 0;
    // The real widget that is this control (a slider, a text field), or none for a painted one.
    virtual QWidget* controlWidget(int /*id*/) const { return nullptr; }
    // A click's action: Space or Enter on the focused control, or a screen reader's press.
    virtual void activateControl(int id) = 0;
    // The control with the keyboard focus: the window's ControlFocus::focusedId().
    virtual std::optional<int> focusedControl() const = 0;
    // Other keys on the focused painted control (arrows in a list or a radio group); true when
    // the control used the key.
    virtual bool controlKey(int /*id*/, QKeyEvent* /*event*/) { return false; }
    // The entries of a list control, open or closed, in the list's order.
    virtual std::vector<ControlItem> controlItems(int /*id*/) const { return {}; }
    // A window with a status line (a running task and its result, a count) tells screen readers
    // what it says now; notifyStatusChanged tells them it changed.
    virtual bool hasStatus() const { return false; }
    virtual QString statusText() const { return {}; }
};

// The text of a control's table name in the window's language.
QString controlName(const PaintedControlHost& host, const ControlSpec& control);

} // namespace q905
