// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/CommitAssignment.h"

#include "base/Utf16.h"
#include "keys/FunctionCatalogue.h"
#include "keys/KeyEnableMask.h"
#include "keys/KeyMapEntry.h"
#include "keys/KeyTable.h"
#include "keys/KeymapFile.h"
#include "macros/KeyNameTable.h"
#include "macros/MacroModel.h"

#include <algorithm>

namespace q905 {

namespace {

constexpr int kMaxCombinationKeys = 3;
// The left Windows key: bit 0 of the mask's second byte, the bit the Windows-key lock works on.
constexpr int kWindowsKeyPosition =
    static_cast<int>(layout::kWinKeyMaskByte - layout::kKeyEnableMask.offset) * kKeysPerMaskByte;

// The host record of a launch action starts with these bytes.
constexpr KeyMapEntry kLaunchRecordData{3, 0, 0x23, 0x02};

AssignResult refuse(AssignStatus status, std::string message) {
    return {status, std::move(message)};
}

// The keyboard sends the four media usages as consumer-page usages, not keyboard usages.
KeyMapEntry singleKeyEntry(std::uint8_t code) {
    const std::uint8_t usage = usageOf(code);
    switch (usage) {
    case 0x83:
        return {entry_kind::kConsumerUsage, 0, 0x83, 0x01};
    case 0xCD:
    case 0xE9:
    case 0xEA:
        return {entry_kind::kConsumerUsage, 0, usage, 0};
    default:
        return {entry_kind::kKeyUsages, 0, usage, 0};
    }
}

void writeDataStart(KeyAssignmentRecord& record, const KeyMapEntry& bytes) {
    std::copy(bytes.begin(), bytes.end(), record.data().begin());
}

// Back to the key's own function; the launch path bytes stay, inert under group 0.
void clearChoice(KeyAssignmentRecord& record) {
    record.setGroup(FunctionGroup::SingleKey);
    record.setCount(0);
    std::ranges::fill(record.data(), 0);
}

std::size_t usableMacroSlots(const MacroList& macros) {
    return std::min(macros.namedCount(), layout::kMacroSlotCount);
}

} // namespace

bool isAssignableKey(int keyIndex) {
    return keyIndex >= 0 && keyIndex < kKeyCount && !isUnplacedKey(keyIndex);
}

AssignResult checkAssignableKey(int keyIndex) {
    if (!isAssignableKey(keyIndex))
        return refuse(AssignStatus::KeyRefused,
                      "key " + std::to_string(keyIndex) + " cannot be assigned");
    if (isFixedKey(keyIndex))
        return refuse(AssignStatus::KeyRefused,
                      std::string(KeyTable[static_cast<std::size_t>(keyIndex)].label) + " (key " +
                          std::to_string(keyIndex) +
                          ") keeps its function: both Ctrl keys, Win and Fn cannot be assigned");
    return {};
}

AssignResult checkAssignment(int keyIndex, const AssignmentChoice& choice,
                             const MacroList& macros) {
    if (!isAssignableKey(keyIndex))
        return refuse(AssignStatus::KeyRefused,
                      "key " + std::to_string(keyIndex) + " cannot be assigned");
    if (choice.isReset())
        return {};
    const std::uint8_t ownCode = KeyTable[keyIndex].keyCode;
    auto checkCode = [&](std::uint8_t code) -> AssignResult {
        if (code != 0 && code != ownCode && usageOf(code) == 0)
            return refuse(AssignStatus::CodeWithoutUsage,
                          "the keyboard cannot send key code " + std::to_string(code));
        return {};
    };
    switch (choice.group) {
    case FunctionGroup::SingleKey:
        if (choice.count < 1 || choice.count >= kResetCount || choice.captured[0] == 0)
            return refuse(AssignStatus::InvalidChoice, "no key was captured");
        return checkCode(choice.captured[0]);
    case FunctionGroup::KeyCombination:
        if (choice.count < 1 || choice.captured[0] == 0)
            return refuse(AssignStatus::InvalidChoice, "no key was captured");
        if (choice.count > kMaxCombinationKeys)
            return refuse(AssignStatus::InvalidChoice, "a combination has at most three keys");
        for (int i = 0; i < kMaxCombinationKeys; ++i) {
            if (AssignResult result = checkCode(choice.captured[static_cast<std::size_t>(i)]);
                !result.ok())
                return result;
        }
        return {};
    case FunctionGroup::MacroKey:
        if (choice.macroSlot < 0 ||
            static_cast<std::size_t>(choice.macroSlot) >= usableMacroSlots(macros))
            return refuse(AssignStatus::InvalidChoice,
                          "there is no macro in slot " + std::to_string(choice.macroSlot));
        return {};
    case FunctionGroup::CatalogueFunction:
        if (!FunctionCatalogue::entryOf(choice.catalogueName))
            return refuse(AssignStatus::UnknownFunction,
                          "no function is named \"" + choice.catalogueName + "\"");
        return {};
    case FunctionGroup::PlayMusic:
    case FunctionGroup::Startup:
    case FunctionGroup::OpenFile:
    case FunctionGroup::OpenFolder:
        if (utf8ToUtf16(choice.launchPath).size() > record_layout::kMaxLaunchPathLength)
            return refuse(AssignStatus::PathTooLong,
                          "the path is longer than " +
                              std::to_string(record_layout::kMaxLaunchPathLength) + " characters");
        return {};
    case FunctionGroup::RestoreDefault:
        return {};
    case FunctionGroup::None:
        break;
    }
    return refuse(AssignStatus::InvalidChoice, "nothing was chosen");
}

AssignResult commitAssignment(KeyAssignments& keys, SettingsImage& image, const MacroList& macros,
                              int keyIndex, const AssignmentChoice& choice) {
    if (AssignResult check = checkAssignment(keyIndex, choice, macros); !check.ok())
        return check;

    const KeyEntry& key = KeyTable[keyIndex];
    const int position = key.matrixPosition();
    const std::uint8_t ownCode = key.keyCode;
    KeyAssignmentRecord& record = keys.table()[static_cast<std::size_t>(keyIndex)];
    std::uint8_t& flag = keys.flags()[static_cast<std::size_t>(keyIndex)];

    if (choice.isReset() || choice.group == FunctionGroup::RestoreDefault) {
        clearChoice(record);
        setKeyMapEntry(image, position, defaultKeyMapEntry(position));
        setKeyEnabled(image, position, true);
        flag = 0;
        return {};
    }

    switch (choice.group) {
    case FunctionGroup::SingleKey: {
        const std::uint8_t code = choice.captured[0];
        record.setGroup(FunctionGroup::SingleKey);
        std::ranges::copy(choice.captured, record.data().begin());
        record.setCount(static_cast<std::uint8_t>(choice.count));
        if (code == ownCode) {
            clearChoice(record);
            flag = 0;
            // A key whose own code has no usage (the ISO key, S1..S5) only works with its
            // factory entry; a usage entry would leave it dead.
            setKeyMapEntry(image, position,
                           usageOf(code) != 0 ? singleKeyEntry(code)
                                              : defaultKeyMapEntry(position));
        } else {
            flag = 1;
            setKeyMapEntry(image, position, singleKeyEntry(code));
        }
        break;
    }
    case FunctionGroup::KeyCombination:
        record.setGroup(FunctionGroup::KeyCombination);
        std::ranges::copy(choice.captured, record.data().begin());
        record.setCount(static_cast<std::uint8_t>(choice.count));
        setKeyMapEntry(image, position,
                       {entry_kind::kKeyUsages, usageOf(choice.captured[0]),
                        usageOf(choice.captured[1]), usageOf(choice.captured[2])});
        flag = choice.count > 1 ? 1 : 0;
        break;
    case FunctionGroup::MacroKey: {
        const KeyMapEntry call{entry_kind::kMacroCall, 1,
                               static_cast<std::uint8_t>(choice.macroSlot), 0};
        record.setGroup(FunctionGroup::MacroKey);
        writeDataStart(record, call);
        setKeyMapEntry(image, position, call);
        flag = 1;
        fillMacroSlots(macros, image);
        break;
    }
    case FunctionGroup::CatalogueFunction: {
        const KeyMapEntry entry = *FunctionCatalogue::entryOf(choice.catalogueName);
        record.setGroup(FunctionGroup::CatalogueFunction);
        writeDataStart(record, entry);
        setKeyMapEntry(image, position, entry);
        flag = 1;
        break;
    }
    default: // the four launch groups; checkAssignment let nothing else through
        record.setGroup(choice.group);
        record.setKeyCode(ownCode);
        writeDataStart(record, kLaunchRecordData);
        record.setLaunchPath(utf8ToUtf16(choice.launchPath));
        setKeyMapEntry(image, position, {entry_kind::kHostAction, 0, ownCode, 0});
        flag = 1;
        break;
    }
    return {};
}

void setKeyEnabledInStep(KeyAssignments& keys, SettingsImage& image, int keyIndex, bool enabled) {
    const int position = KeyTable[static_cast<std::size_t>(keyIndex)].matrixPosition();
    setKeyEnabled(image, position, enabled);
    if (!enabled)
        keys.flags()[static_cast<std::size_t>(keyIndex)] = 1;
    // Applying folds the Windows-key lock into this bit; keep the lock in step so the next
    // apply does not undo the choice.
    if (position == kWindowsKeyPosition)
        image.at(layout::kWinKeyLock.offset) = enabled ? 0 : 1;
}

AssignResult assignKey(KeyAssignments& keys, SettingsImage& image, const MacroList& macros,
                       int keyIndex, const AssignmentChoice& choice) {
    if (AssignResult check = checkAssignment(keyIndex, choice, macros); !check.ok())
        return check;

    const std::size_t index = static_cast<std::size_t>(keyIndex);
    keys.flags()[index] = 0;
    if (AssignResult result = commitAssignment(keys, image, macros, keyIndex, choice); !result.ok())
        return result;

    setKeyEnabledInStep(keys, image, keyIndex, choice.effectiveEnabled());
    return {};
}

void recomputeAssignedFlags(KeyAssignments& keys, const SettingsImage& image) {
    for (int keyIndex = 0; keyIndex < kKeyCount; ++keyIndex) {
        const int position = KeyTable[keyIndex].matrixPosition();
        const KeyAssignmentRecord& record = keys.table()[static_cast<std::size_t>(keyIndex)];
        // Byte 2 carries the usage of a plain key; a host action is always marked, whatever
        // its record says.
        const KeyMapEntry entry = keyMapEntryAt(image, position);
        bool assigned = entry[2] != defaultKeyMapEntry(position)[2] ||
                        entry[0] == entry_kind::kHostAction ||
                        record.group() != static_cast<std::uint8_t>(FunctionGroup::SingleKey) ||
                        (record.data()[0] != record.keyCode() && record.count() == 1);
        if (!isKeyEnabled(image, position))
            assigned = true;
        keys.flags()[static_cast<std::size_t>(keyIndex)] = assigned ? 1 : 0;
    }
    keys.flags()[kFnKeyIndex] = 0;
}

void clearAssignments(KeyAssignments& keys, SettingsImage& image) {
    keys.clearAll();
    std::ranges::fill(image.block(layout::kKeyEnableMask), 0xFF);
}

} // namespace q905
