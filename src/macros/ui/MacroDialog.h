// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The macro dialog: the list of macros, the events of the selected one, recording through the
// key capture, the Loop and "Delay between keystrokes" boxes, New, Delete, OK and Cancel. It
// edits a copy of the macro list; OK copies it back. Frameless; its controls are declared in
// the macro dialog's control table, which clicks, Tab, the keys and screen readers all go by, and
// the background drags the dialog. The rules live in WorkingMacro and the macro list functions;
// the dialog forwards clicks, menu commands and keys and redraws.

#include "macros/MacroModel.h"
#include "macros/MacroSaveResult.h"
#include "macros/WorkingMacro.h"

#include "base/Language.h"
#include "controls/ui/SkinnedDialog.h"
#include "keys/MacroBindings.h"

#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QMenu;
class QPainter;

namespace q905 {

class Clock;
class KeyCaptureControl;
class KeyboardLayout;
class SkinCache;
class SkinListBox;
class UserDialogs;
struct WindowText;

// The commands of the event list's context menu.
enum class EventMenuCommand {
    RecordBefore,
    RecordAfter,
    InsertDelay,
    LeftDown,
    LeftUp,
    LeftClick,
    RightDown,
    RightUp,
    RightClick,
    MiddleDown,
    MiddleUp,
    MiddleClick,
    DeleteEvent,
};

// Keeps the edited list (OK) or the unchanged one (the close mark) with the key changes that
// go with it.
using MacroSaver = std::function<MacroSaveResult(const MacroList& macros,
                                                 const std::vector<MacroKeyChange>& keyChanges)>;

class MacroDialog : public SkinnedDialog {
    Q_OBJECT
  public:
    // macros: the program's list, replaced by the edited copy on OK. The clock measures the gaps
    // between recorded keys; the key capture's keys arrive through keyCaptured.
    MacroDialog(SkinCache& skin, Language language, MacroList& macros, Clock& clock,
                KeyCaptureControl& capture, UserDialogs& dialogs, QWidget* parent = nullptr);
    ~MacroDialog() override;

    // The keys that play macros: a deletion names those that lose theirs and moves the others
    // with theirs. Without them keys are left alone.
    void setKeyBindings(MacroBindings bindings) { m_bindings = std::move(bindings); }
    // The event list names the keys as the user's keyboard labels them; without a layout by the
    // key name table.
    void setKeyboardLayout(const KeyboardLayout* layout);
    // Without a saver OK only replaces the program's list.
    void setSaver(MacroSaver saver) { m_saver = std::move(saver); }

    const MacroList& workingList() const { return *m_working; }
    const WorkingMacro& workingMacro() const { return *m_macro; }
    // True after OK: the list took the edits. The close mark also accepts, without them.
    bool editsSaved() const { return m_editsSaved; }

    // The context menu for the event list, as a right click opens it.
    std::unique_ptr<QMenu> buildEventMenu();
    void runMenuCommand(EventMenuCommand command);

    // The declared controls.
    ControlStatus controlStatus(int id) const override;
    void activateControl(int id) override;
    // The status line: how many events of the selected macro's room are used.
    bool hasStatus() const override { return true; }
    QString statusText() const override;

  public slots:
    // A key pressed or released while the key capture is installed.
    // msAgo: how long before now the key moved.
    void keyCaptured(quint8 code, bool release, int msAgo = 0);
    // The key pressed last is held and repeating.
    void keyRepeated(quint8 code);

  protected:
    bool isBackground(QPoint point) const override;
    void pointerMoved(QPoint point) override;
    void clicked(QPoint point) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void recordingStopped();
    // Delete in the two lists and the menu keys in the event list (F2 is the lists' own); true
    // when used.
    bool listKey(SkinListBox* list, QKeyEvent* event);
    void openEventMenu(const QPoint& at);
    // A click's, Space's or Enter's action on a painted control.
    void click(int control);
    void toggleRecording();
    void newMacro();
    void deleteMacro();
    void save();
    void closeKeepingList();
    // False when the macro file was not written; the user has been told.
    bool keep(const MacroList& macros, const std::vector<MacroKeyChange>& keyChanges,
              bool editsKept);
    QString deleteQuestion(int row) const;
    void nameSelected();
    void loopTextChanged(const QString& text);
    void storeLoop();
    void nameEdited(int startRow, int row);
    void delayEdited(int row, int ms);
    void showEvents(int selectRow = -1);
    void setHover(std::optional<int> control);
    QString text(const WindowText& text) const;
    // The painted control under the point.
    std::optional<int> paintedControlAt(const QPoint& point) const;

    // Painting.
    void paintControl(QPainter& painter, int control);
    void paintLabels(QPainter& painter);

    SkinCache& m_skin;
    MacroList& m_target;
    UserDialogs& m_dialogs;
    std::unique_ptr<MacroList> m_working;
    std::unique_ptr<WorkingMacro> m_macro;
    const KeyboardLayout* m_layout = nullptr;
    std::optional<MacroBindings> m_bindings;
    MacroSaver m_saver;
    SkinListBox* m_names = nullptr;
    SkinListBox* m_events = nullptr;
    QLineEdit* m_loopBox = nullptr;
    bool m_editsSaved = false;
    bool m_refreshing = false; // the lists are being filled: their signals are not the user's

    std::optional<int> m_hovered; // a button under the mouse
};

} // namespace q905
