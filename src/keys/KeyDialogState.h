#pragma once
// The key assignment dialog without its window: what it shows for the key being edited, how
// captured keys, tabs, the disable box, the Advance rows and Save change that, and the choice
// it hands to assignKey. The window translates clicks, keys and painting into these calls.

#include "keys/AssignmentChoice.h"
#include "keys/KeyAssignmentTable.h"

#include <array>
#include <cstdint>
#include <string>

namespace q905 {

class KeyboardLayout;

enum class KeyDialogPage { Keys = 0, Macro = 1, Basic = 2, Advance = 3 };

// The dialog's hit rectangles, in the order they are tested (the disable box first).
enum class KeyDialogButton : std::uint8_t {
    CloseMark = 0,
    KeysTab = 1,
    MacroTab = 2,
    BasicTab = 3,
    AdvanceTab = 4,
    TabStrip = 5, // between the tabs; does nothing
    DisableBox = 6,
    Reset = 7,
    Close = 8,
    Save = 9,
    None = 255,
};
KeyDialogButton keyDialogButtonAt(int x, int y);

// The Advance page's four rows: "Play music", "Startup", "Open file", "Open folder".
inline constexpr int kLaunchRowCount = 4;
inline constexpr std::uint8_t kNoLaunchRow = 255;
// Row r's pictures, hit rectangles and texts start at y = kLaunchRowTop + r * kLaunchRowPitch.
inline constexpr int kLaunchRowTop = 79;
inline constexpr int kLaunchRowPitch = 62;

enum class LaunchRowPart { Mark, Label, PathBox, Browse, None };
struct LaunchRowHit {
    int row = -1;
    LaunchRowPart part = LaunchRowPart::None;
};
LaunchRowHit launchRowAt(int x, int y);

// The launch group a row chooses.
FunctionGroup launchRowGroup(int row);

enum class SaveOutcome {
    Accept,          // close with OK; choice() holds the result
    GroupNodeChosen, // Basic page: a group node is selected; tell the user and stay open
};

class KeyDialogState {
  public:
    // record: the key's host record; enabled: its enable bit; layout: names the keys in the
    // fields as the user's keyboard labels them (the key name table's names without one).
    KeyDialogState(const KeyAssignmentRecord& record, bool enabled,
                   const KeyboardLayout* layout = nullptr);

    KeyDialogPage page() const { return m_page; }
    std::uint8_t group() const { return m_group; }
    int count() const { return m_count; }
    const std::array<std::uint8_t, 255>& captured() const { return m_captured; }
    // The function the tree pre-selects; empty for a key that carries none.
    const std::string& catalogueName() const { return m_catalogueName; }
    // The macro list row shown selected at opening, or kMacroSlotNone.
    int initialMacroRow() const { return m_initialMacroRow; }
    const std::string& launchPath() const { return m_launchPath; }
    std::uint8_t launchType() const { return m_launchType; }
    // The row whose radio mark is on, or kNoLaunchRow.
    std::uint8_t launchMarkRow() const { return m_launchMark; }
    bool disableBox() const { return m_disableBox; }

    // The texts of the "Single" and "Combine" fields (UTF-8 key names, in the layout).
    const std::string& singleText() const { return m_singleText; }
    const std::string& combineText() const { return m_combineText; }
    // Which field has the focus at opening: 0 "Single", 1 "Combine", -1 neither.
    int initialField() const { return m_initialField; }

    // A key reported by the capture while the dialog is open.
    void captureKey(std::uint8_t code);
    void singleFocused();
    void combineFocused();

    // Tabs; a tab that switches to the "Single/Combine" page wants the focus in "Single":
    // returns true then.
    bool showKeysPage();
    void showMacroPage();
    void showBasicPage();
    void showAdvancePage();
    void toggleDisableBox() { m_disableBox = !m_disableBox; }

    // Advance rows.
    void markRow(int row);
    // The browse button was pressed, before the picker shows.
    void browseStarted(int row);
    // The picker of that row chose a path.
    void launchChosen(int row, std::string path);
    // A click on the Advance page that hit no row part.
    void advanceClickElsewhere();

    // Save. selectedMacroRow: the macro list's selection (or kMacroSlotNone); selectedFunction:
    // the tree's selected item text, empty without one.
    SaveOutcome save(int selectedMacroRow, const std::string& selectedFunction);
    void reset() { m_count = kResetCount; }

    AssignmentChoice choice() const;

  private:
    void clearCapture();
    void refreshCombineText();

    const KeyboardLayout* m_layout;
    KeyDialogPage m_page = KeyDialogPage::Keys;
    std::uint8_t m_group = 0;
    std::array<std::uint8_t, 255> m_captured{};
    int m_count = 0;
    std::string m_catalogueName;
    int m_macroSlot = kMacroSlotNone;
    int m_initialMacroRow = kMacroSlotNone;
    std::string m_launchPath;
    std::uint8_t m_launchType = kNoLaunchRow;
    std::uint8_t m_launchMark = kNoLaunchRow;
    bool m_disableBox = false;
    bool m_enabled = true;
    bool m_restored = false;
    std::string m_singleText;
    std::string m_combineText;
    int m_initialField = -1;
};

} // namespace q905
