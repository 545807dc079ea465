// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment dialog: the chosen key's name in the title line and four pages ("Single/
// Combine" with keys captured as typed, "Macro", "Basic" with the function tree, "Advance" with
// the launch rows), a "Disable key" box, and Reset, Close and Save. Frameless and skinned;
// dragged by its background. Its controls are declared in keys/KeyDialogControls.h. It changes
// nothing itself: after OK the caller hands choice() to assignKey.

#include "base/Language.h"
#include "controls/ui/SkinnedDialog.h"
#include "keys/KeyDialogState.h"
#include "platform/qt/KeyCapture.h"

#include <optional>

class QLineEdit;
class QListWidget;

namespace q905 {

class KeyboardLayout;
class MacroList;
class SkinCache;
class SkinTree;
class UserDialogs;

class KeyAssignmentDialog : public SkinnedDialog {
    Q_OBJECT
  public:
    // skin: the language's skin folder; the macro page lists the macros up to the first free
    // record; layout: the keys are named as the user's keyboard labels them (nullptr: the key
    // name table's names).
    KeyAssignmentDialog(SkinCache& skin, UserDialogs& dialogs, std::uint8_t keyCode,
                        const KeyAssignmentRecord& record, bool enabled, const MacroList& macros,
                        Language language, const KeyboardLayout* layout, QWidget* parent = nullptr);
    ~KeyAssignmentDialog() override;

    // What OK hands over.
    AssignmentChoice choice() const { return m_state.choice(); }
    const KeyDialogState& state() const { return m_state; }

    ControlStatus controlStatus(int id) const override;
    void activateControl(int id) override;
    bool controlKey(int id, QKeyEvent* event) override;

  protected:
    bool isBackground(QPoint point) const override;
    void pointerMoved(QPoint point) override;
    void clicked(QPoint point) override;
    void paintEvent(QPaintEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fillTree();
    // The control a click at (x, y) lands on, of those the page shows.
    const ControlSpec* controlAt(int x, int y) const;
    void showPage(KeyDialogPage page, bool focusPage);
    bool switchPageKey(QKeyEvent* event);
    void browse(int row);
    void save();
    void armCapture(CaptureMode field);
    void disarmCapture();
    void keyCaptured(quint8 code, bool release);
    // Shows the current page's controls and the fields' texts.
    void syncControls();
    void focusField(QLineEdit* field);
    void trackHover(int x, int y);
    void paintAdvancePage(QPainter& painter);
    void drawCaption(QPainter& painter, int id, const QColor& colour, int height);
    void tell(const QString& text);

    SkinCache& m_skin;
    UserDialogs& m_dialogs;
    QString m_keyName; // the key being assigned, for the title line
    KeyDialogState m_state;
    KeyCapture m_capture{nullptr, this};

    QLineEdit* m_single = nullptr;
    QLineEdit* m_combine = nullptr;
    SkinTree* m_tree = nullptr;
    QListWidget* m_macros = nullptr;

    std::optional<int> m_hovered; // the control under the pointer
};

} // namespace q905
