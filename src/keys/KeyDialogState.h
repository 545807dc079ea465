// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The key assignment dialog without its window: what it shows for the key being edited, how
// captured keys, tabs, the disable box, the Advance rows and Save change that, and the choice
// it hands to assignKey. The window translates clicks, keys and painting into these calls.

#include "keys/AssignmentChoice.h"
#include "keys/KeyAssignmentTable.h"

#include <array>
#include <bitset>
#include <cstdint>
#include <string>

namespace q905 {

class KeyboardLayout;

enum class KeyDialogPage { Keys = 0, Macro = 1, Basic = 2, Advance = 3 };

// The launch group a row of the Advance page chooses (rows 0..3).
FunctionGroup launchRowGroup(int row);
inline constexpr std::uint8_t kNoLaunchRow = 255;

// Which field a key capture fills: one key ("Single") or a combination of up to three
// ("Combine"); Off while no capture is armed.
enum class CaptureMode : std::uint8_t { Off, Single, Combine };

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
    // The field that holds the key's stored keys and has the focus at opening; Off for neither.
    CaptureMode initialField() const { return m_initialField; }

    // Key capture runs only while armed, so that Tab, Enter and Esc work everywhere else.
    // Arming a field chooses it: the other field's keys are dropped unless it is already the
    // chosen one. The next key pressed replaces the field's keys; the capture ends once every
    // key pressed since is up again (a combination: up to three keys held together, a fourth
    // starting a new one).
    void armCapture(CaptureMode field);
    void disarmCapture();
    CaptureMode captureMode() const { return m_capture; }
    // Armed and no key pressed yet: the field asks for one.
    bool awaitingKey() const { return m_capture != CaptureMode::Off && !m_taken; }
    void capturePress(std::uint8_t code);
    // True when this release ended the capture.
    bool captureRelease(std::uint8_t code);

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
    // The macro and function pages: no capture, no launch row.
    void showListPage(KeyDialogPage page, FunctionGroup group);
    void captureKey(std::uint8_t code);
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
    std::string m_singleText;
    std::string m_combineText;
    CaptureMode m_initialField = CaptureMode::Off;
    CaptureMode m_capture = CaptureMode::Off;
    bool m_taken = false;    // a key went down since the capture was armed
    std::bitset<256> m_held; // keys down since then: a press of one of them is a repeat
};

} // namespace q905
