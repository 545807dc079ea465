#pragma once
// The key assignment dialog: the chosen key's name in the title line and four pages ("Single/
// Combine" with keys captured as typed, "Macro", "Basic" with the function tree, "Advance" with
// the launch rows), a "Disable key" box, and Reset, Close and Save. Frameless and skinned;
// dragged by its background. It changes nothing itself: after OK the caller hands choice() to
// assignKey.

#include "base/Language.h"
#include "controls/ui/BackgroundDrag.h"
#include "controls/ui/TextLayout.h"
#include "keys/KeyDialogState.h"
#include "platform/qt/KeyCapture.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QListWidget;

namespace q905 {

class KeyboardLayout;
class MacroList;
class SkinCache;
class SkinTree;
class UserDialogs;

class KeyAssignmentDialog : public QDialog {
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
    const KeyCapture& capture() const { return m_capture; }

    QLineEdit* singleField() const { return m_single; }
    QLineEdit* combineField() const { return m_combine; }
    SkinTree* tree() const { return m_tree; }
    QListWidget* macroList() const { return m_macros; }
    // The button whose mouse-over picture shows, or KeyDialogButton::None.
    KeyDialogButton hoveredButton() const { return m_hovered; }
    int hoveredBrowseRow() const { return m_hoveredBrowseRow; }
    // The texts of the last painting, with the controls they keep clear of.
    const TextLayout& textLayout() const { return m_textLayout; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void fillTree();
    void click(int x, int y);
    void browse(int row);
    void save();
    void keyCaptured(quint8 code, bool release);
    // Shows the current page's controls and the fields' texts.
    void syncControls();
    void focusField(QLineEdit* field);
    void trackHover(int x, int y);
    void paintAdvancePage(QPainter& painter);
    void tell(const QString& text);

    SkinCache& m_skin;
    UserDialogs& m_dialogs;
    QString m_keyName; // the key being assigned, for the title line
    Language m_language;
    bool m_german; // the German layout's places
    KeyDialogState m_state;
    KeyCapture m_capture;

    QLineEdit* m_single = nullptr;
    QLineEdit* m_combine = nullptr;
    SkinTree* m_tree = nullptr;
    QListWidget* m_macros = nullptr;
    // Set while the controls change: focus moving between them is not the user's choice.
    bool m_syncing = false;
    TextLayout m_textLayout;

    KeyDialogButton m_hovered = KeyDialogButton::None;
    int m_hoveredBrowseRow = -1;
    BackgroundDrag m_drag{*this};
};

} // namespace q905
