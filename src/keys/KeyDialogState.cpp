// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyDialogState.h"

#include "base/Utf16.h"
#include "keys/FunctionCatalogue.h"
#include "macros/ShownKeyNames.h"

#include <algorithm>

namespace q905 {

namespace {

constexpr int kMaxCombinationKeys = 3;
constexpr std::uint8_t kMacroEntryKind = 4;
constexpr std::string_view kJoin = " + ";

std::uint8_t groupByte(FunctionGroup group) {
    return static_cast<std::uint8_t>(group);
}

// The key name table's names end in a blank for the macro lists; the fields join names with
// " + " and want them bare.
std::string fieldName(std::uint8_t code, const KeyboardLayout* layout) {
    std::string name = shownKeyName(code, layout);
    while (!name.empty() && name.back() == ' ')
        name.pop_back();
    return name;
}

} // namespace

FunctionGroup launchRowGroup(int row) {
    return static_cast<FunctionGroup>(groupByte(FunctionGroup::PlayMusic) + row);
}

KeyDialogState::KeyDialogState(const KeyAssignmentRecord& record, bool enabled,
                               const KeyboardLayout* layout)
    : m_layout(layout), m_disableBox(!enabled), m_enabled(enabled) {
    const auto data = record.data();
    // Only a key that carries a catalogue function pre-selects one in the tree.
    if (record.group() == groupByte(FunctionGroup::CatalogueFunction))
        m_catalogueName = FunctionCatalogue::nameOf({data[0], data[1], data[2], data[3]});

    m_group = record.group();
    // A count of 255 would read as Reset; no stored record means that.
    m_count = record.count() == kResetCount ? 0 : record.count();
    switch (static_cast<FunctionGroup>(m_group)) {
    case FunctionGroup::SingleKey:
        std::ranges::copy(data, m_captured.begin());
        m_count = 1;
        m_singleText = fieldName(data[0], m_layout);
        m_initialField = CaptureMode::Single;
        break;
    case FunctionGroup::KeyCombination:
        std::ranges::copy(data, m_captured.begin());
        for (int i = 0; i < kMaxCombinationKeys; ++i) {
            if (data[static_cast<std::size_t>(i)] == 0)
                continue;
            if (!m_combineText.empty())
                m_combineText += kJoin;
            m_combineText += fieldName(data[static_cast<std::size_t>(i)], m_layout);
        }
        m_initialField = CaptureMode::Combine;
        break;
    case FunctionGroup::MacroKey:
        if (data[0] == kMacroEntryKind) {
            m_page = KeyDialogPage::Macro;
            m_initialMacroRow = data[2];
        }
        break;
    case FunctionGroup::CatalogueFunction:
        m_page = KeyDialogPage::Basic;
        break;
    case FunctionGroup::PlayMusic:
    case FunctionGroup::Startup:
    case FunctionGroup::OpenFile:
    case FunctionGroup::OpenFolder:
        m_page = KeyDialogPage::Advance;
        m_launchPath = utf16ToUtf8(record.launchPath());
        m_launchType = static_cast<std::uint8_t>(m_group - groupByte(FunctionGroup::PlayMusic));
        break;
    default:
        break;
    }
}

void KeyDialogState::clearCapture() {
    m_captured.fill(0);
    m_count = 0;
}

void KeyDialogState::refreshCombineText() {
    m_combineText.clear();
    for (int i = 0; i < m_count; ++i) {
        if (i > 0)
            m_combineText += kJoin;
        m_combineText += fieldName(m_captured[static_cast<std::size_t>(i)], m_layout);
    }
}

void KeyDialogState::captureKey(std::uint8_t code) {
    if (m_group == groupByte(FunctionGroup::SingleKey)) {
        m_captured[0] = code;
        m_count = 1;
        m_singleText = fieldName(code, m_layout);
    } else if (m_group == groupByte(FunctionGroup::KeyCombination)) {
        // A fourth key starts a new combination. A stored count beyond three (a damaged file)
        // starts over as well.
        if (m_count >= kMaxCombinationKeys || m_count < 0)
            clearCapture();
        m_captured[static_cast<std::size_t>(m_count++)] = code;
        refreshCombineText();
    }
}

void KeyDialogState::armCapture(CaptureMode field) {
    if (field == CaptureMode::Off)
        return disarmCapture();
    const FunctionGroup group =
        field == CaptureMode::Single ? FunctionGroup::SingleKey : FunctionGroup::KeyCombination;
    if (m_group != groupByte(group)) {
        m_group = groupByte(group);
        clearCapture();
        (field == CaptureMode::Single ? m_combineText : m_singleText).clear();
    }
    m_capture = field;
    m_taken = false;
    m_held.reset();
}

void KeyDialogState::disarmCapture() {
    m_capture = CaptureMode::Off;
    m_held.reset();
}

void KeyDialogState::capturePress(std::uint8_t code) {
    if (m_capture == CaptureMode::Off || m_held.test(code))
        return;
    m_held.set(code);
    if (m_capture == CaptureMode::Single && m_taken)
        return; // one key: the others held with it are not taken
    if (m_capture == CaptureMode::Combine && !m_taken)
        clearCapture(); // a new combination, not keys added to the stored one
    m_taken = true;
    captureKey(code);
}

bool KeyDialogState::captureRelease(std::uint8_t code) {
    if (m_capture == CaptureMode::Off || !m_held.test(code))
        return false;
    m_held.reset(code);
    if (m_held.any())
        return false;
    disarmCapture();
    return true;
}

bool KeyDialogState::showKeysPage() {
    const bool switched = m_page != KeyDialogPage::Keys;
    disarmCapture();
    if (switched) {
        // The whole buffer: bytes left behind would join the next capture's count at Save.
        clearCapture();
        m_singleText.clear();
        m_combineText.clear();
        m_group = groupByte(FunctionGroup::SingleKey);
    }
    m_page = KeyDialogPage::Keys;
    m_launchMark = kNoLaunchRow;
    m_launchType = kNoLaunchRow;
    return switched;
}

void KeyDialogState::showMacroPage() {
    showListPage(KeyDialogPage::Macro, FunctionGroup::KeyCombination);
}

void KeyDialogState::showBasicPage() {
    showListPage(KeyDialogPage::Basic, FunctionGroup::MacroKey);
}

// Until Save sets the real group, these groups only mark the page: a capture is armed on the
// "Single/Combine" page alone.
void KeyDialogState::showListPage(KeyDialogPage page, FunctionGroup group) {
    disarmCapture();
    m_page = page;
    m_group = groupByte(group);
    m_launchMark = kNoLaunchRow;
    m_launchType = kNoLaunchRow;
}

void KeyDialogState::showAdvancePage() {
    disarmCapture();
    if (m_page != KeyDialogPage::Advance) {
        clearCapture();
        m_singleText.clear();
        m_combineText.clear();
        m_group = groupByte(FunctionGroup::None);
        m_launchType = kNoLaunchRow;
    }
    m_page = KeyDialogPage::Advance;
    m_launchMark = kNoLaunchRow;
}

void KeyDialogState::markRow(int row) {
    m_launchMark = static_cast<std::uint8_t>(row);
    m_launchType = static_cast<std::uint8_t>(row);
    m_launchPath.clear();
}

void KeyDialogState::browseStarted(int row) {
    // The music and program rows take the mark before their picker opens, even if it is
    // cancelled; the file and folder rows only with a choice.
    if (row == 0 || row == 1)
        m_launchMark = static_cast<std::uint8_t>(row);
}

void KeyDialogState::launchChosen(int row, std::string path) {
    m_launchPath = std::move(path);
    m_launchType = static_cast<std::uint8_t>(row);
    m_launchMark = static_cast<std::uint8_t>(row);
    m_group = groupByte(launchRowGroup(row));
}

void KeyDialogState::advanceClickElsewhere() {
    if (m_launchType == kNoLaunchRow) {
        m_launchMark = kNoLaunchRow;
        m_group = groupByte(FunctionGroup::RestoreDefault);
    }
}

SaveOutcome KeyDialogState::save(int selectedMacroRow, const std::string& selectedFunction) {
    switch (m_page) {
    case KeyDialogPage::Keys: {
        m_enabled = !m_disableBox;
        int count = 0;
        if (m_captured[0] != 0) {
            count = 1;
            while (count < static_cast<int>(m_captured.size()) &&
                   m_captured[static_cast<std::size_t>(count)] != 0)
                ++count;
        }
        m_count = count;
        if (count == 0)
            m_group = groupByte(FunctionGroup::RestoreDefault);
        break;
    }
    case KeyDialogPage::Macro:
        m_group = groupByte(FunctionGroup::MacroKey);
        m_macroSlot = selectedMacroRow;
        if (selectedMacroRow == kMacroSlotNone) {
            m_enabled = true;
            m_group = groupByte(FunctionGroup::RestoreDefault);
        } else {
            m_enabled = !m_disableBox;
        }
        break;
    case KeyDialogPage::Basic:
        // No selection at all is refused like a group node: there is nothing to assign.
        if (selectedFunction.empty() || FunctionCatalogue::isGroupNode(selectedFunction))
            return SaveOutcome::GroupNodeChosen;
        m_catalogueName = selectedFunction;
        m_group = groupByte(FunctionGroup::CatalogueFunction);
        m_enabled = !m_disableBox;
        break;
    case KeyDialogPage::Advance:
        m_enabled = !m_disableBox;
        // A launch action without a path would do nothing while the key shows as assigned.
        if (m_launchType == kNoLaunchRow || m_launchPath.empty()) {
            m_launchMark = kNoLaunchRow;
            m_group = groupByte(FunctionGroup::RestoreDefault);
        }
        break;
    }
    return SaveOutcome::Accept;
}

AssignmentChoice KeyDialogState::choice() const {
    AssignmentChoice choice;
    choice.group = static_cast<FunctionGroup>(m_group);
    choice.captured = m_captured;
    choice.count = m_count;
    choice.catalogueName = m_catalogueName;
    choice.macroSlot = m_macroSlot;
    choice.launchPath = m_launchPath;
    choice.enabled = m_enabled;
    return choice;
}

} // namespace q905
