#pragma once
// The macro dialog: the list of macros, the events of the selected one, recording through the
// key capture, the Loop and "Delay between keystrokes" boxes, New, Delete, OK and Cancel. It
// edits a copy of the macro list; OK copies it back. Frameless; clicks are hit-tested against
// fixed regions, and the background drags the dialog. The rules live in WorkingMacro and the
// macro list functions; the dialog forwards clicks, menu commands and keys and redraws.

#include "macros/MacroModel.h"
#include "macros/WorkingMacro.h"

#include "app/MacroSave.h"
#include "base/Language.h"
#include "controls/ui/BackgroundDrag.h"
#include "controls/ui/TextLayout.h"

#include <QDialog>

#include <array>
#include <functional>
#include <memory>
#include <optional>

class QLineEdit;
class QMenu;
class QPainter;

namespace q905 {

class Clock;
class HookLibrary;
class KeyboardLayout;
class SkinCache;
class SkinListBox;
class UserDialogs;
struct WindowText;

// The commands of the event list's context menu.
enum MacroMenuCommand : int {
    kMenuRecordBefore = 32790,
    kMenuRecordAfter = 32791,
    kMenuInsertDelay = 32793,
    kMenuLeftDown = 32800,
    kMenuLeftUp = 32801,
    kMenuLeftClick = 32802,
    kMenuRightDown = 32804,
    kMenuRightUp = 32806,
    kMenuRightClick = 32807,
    kMenuMiddleDown = 32811,
    kMenuMiddleUp = 32812,
    kMenuMiddleClick = 32813,
    kMenuDeleteEvent = 32815,
};

// Keeps the edited list (OK) or the unchanged one (the close mark) with the key changes that
// go with it.
using MacroSaver = std::function<MacroSaveResult(const MacroList& macros,
                                                 const std::vector<MacroKeyChange>& keyChanges)>;

class MacroDialog : public QDialog {
    Q_OBJECT
  public:
    // macros: the program's list, replaced by the edited copy on OK. The clock measures the gaps
    // between recorded keys; the hook is the key capture, whose keys arrive through hookKey.
    MacroDialog(SkinCache& skin, Language language, MacroList& macros, Clock& clock,
                HookLibrary& hook, UserDialogs& dialogs, QWidget* parent = nullptr);
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
    SkinListBox* nameList() const { return m_names; }
    SkinListBox* eventList() const { return m_events; }
    QLineEdit* loopBox() const { return m_loopBox; }
    // True after OK: the list took the edits. The close mark also accepts, without them.
    bool editsSaved() const { return m_editsSaved; }
    // The texts of the last painting, with the controls they keep clear of.
    const TextLayout& textLayout() const { return m_textLayout; }

    // The context menu for the event list, as a right click opens it.
    std::unique_ptr<QMenu> buildEventMenu();
    void runMenuCommand(int command);

  public slots:
    // A key pressed or released while the key capture is installed.
    void hookKey(quint8 code, bool release);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    void click(int region);
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
    void setHover(int region);
    QString text(const WindowText& text) const;

    // Painting.
    void paintRegion(QPainter& painter, int region);
    void paintLabels(QPainter& painter);

    SkinCache& m_skin;
    Language m_language;
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
    TextLayout m_textLayout;

    std::array<bool, 7> m_hover{};
    int m_lastRegion = -1;
    BackgroundDrag m_drag{*this};
};

} // namespace q905
