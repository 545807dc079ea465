// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment dialog: the chosen key's name in the title line and four pages ("Single/
// Combine" with keys captured as typed, "Macro", "Basic" with the function tree, "Advance" with
// the launch rows), a "Disable key" box, and Reset, Close and Save. Frameless and skinned;
// dragged by its background. Its controls are declared in keys/KeyDialogControls.h. It changes
// nothing itself: after OK the caller hands choice() to assignKey.

#include "base/Language.h"
#include "controls/ui/BackgroundDrag.h"
#include "controls/ui/ControlFocus.h"
#include "controls/ui/PaintedControlHost.h"
#include "controls/ui/TextLayout.h"
#include "keys/KeyDialogState.h"
#include "platform/qt/KeyCapture.h"

#include <QDialog>

#include <optional>

class QLineEdit;
class QListWidget;

namespace q905 {

class KeyboardLayout;
class MacroList;
class SkinCache;
class SkinTree;
class UserDialogs;

class KeyAssignmentDialog : public QDialog, public PaintedControlHost {
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
    const ControlFocus& controlFocus() const { return m_focus; }
    // The texts of the last painting, with the controls they keep clear of.
    const TextLayout& textLayout() const { return m_textLayout; }

    QWidget* hostWidget() override { return this; }
    std::span<const ControlSpec> controls() const override;
    Language controlLanguage() const override { return m_language; }
    ControlStatus controlStatus(int id) const override;
    QWidget* controlWidget(int id) const override;
    void activateControl(int id) override;
    std::optional<int> focusedControl() const override { return m_focus.focusedId(); }
    bool controlKey(int id, QKeyEvent* event) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool focusNextPrevChild(bool next) override { return m_focus.moveFocus(!next); }

  private:
    void fillTree();
    // The control a click at (x, y) lands on, of those the page shows.
    const ControlSpec* controlAt(int x, int y) const;
    void click(int x, int y);
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
    Language m_language;
    KeyDialogState m_state;
    KeyCapture m_capture{nullptr, this};

    QLineEdit* m_single = nullptr;
    QLineEdit* m_combine = nullptr;
    SkinTree* m_tree = nullptr;
    QListWidget* m_macros = nullptr;
    TextLayout m_textLayout;

    std::optional<int> m_hovered; // the control under the pointer
    BackgroundDrag m_drag{*this};
    ControlFocus m_focus{*this};
};

} // namespace q905
