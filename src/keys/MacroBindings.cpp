// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/MacroBindings.h"

#include "keys/CommitAssignment.h"
#include "keys/KeyMapEntry.h"
#include "keys/KeyTable.h"

#include <algorithm>

namespace q905 {

namespace {

// Byte 2 of a macro call names the slot.
constexpr std::size_t kSlotByte = 2;

} // namespace

MacroBindings::MacroBindings(const SettingsImage& image, std::size_t macroCount) {
    for (int key = 0; key < kKeyCount; ++key) {
        if (isUnplacedKey(key))
            continue;
        const KeyMapEntry entry = keyMapEntryAt(image, KeyTable[key].matrixPosition());
        if (entry[0] == entry_kind::kMacroCall && entry[kSlotByte] < macroCount)
            m_bindings.push_back({key, entry[kSlotByte], entry[kSlotByte]});
    }
}

std::vector<int> MacroBindings::keysOf(int slot) const {
    std::vector<int> keys;
    for (const Binding& binding : m_bindings)
        if (binding.slot == slot)
            keys.push_back(binding.keyIndex);
    return keys;
}

void MacroBindings::macroDeleted(int slot) {
    for (Binding& binding : m_bindings) {
        if (!binding.slot)
            continue;
        if (*binding.slot == slot)
            binding.slot.reset();
        else if (*binding.slot > slot)
            --*binding.slot;
    }
}

std::vector<MacroKeyChange> MacroBindings::changes() const {
    std::vector<MacroKeyChange> changes;
    for (const Binding& binding : m_bindings)
        if (binding.slot != binding.oldSlot)
            changes.push_back({binding.keyIndex, binding.oldSlot, binding.slot});
    return changes;
}

void applyMacroKeyChanges(KeyAssignments& keys, SettingsImage& image,
                          const std::vector<MacroKeyChange>& changes) {
    for (const MacroKeyChange& change : changes) {
        const int position = KeyTable[static_cast<std::size_t>(change.keyIndex)].matrixPosition();
        KeyAssignmentRecord& record = keys.table()[static_cast<std::size_t>(change.keyIndex)];
        if (change.newSlot) {
            const KeyMapEntry call{entry_kind::kMacroCall, 1,
                                   static_cast<std::uint8_t>(*change.newSlot), 0};
            setKeyMapEntry(image, position, call);
            record.setGroup(FunctionGroup::MacroKey);
            std::ranges::copy(call, record.data().begin());
        } else {
            setKeyMapEntry(image, position, defaultKeyMapEntry(position));
            record.setGroup(FunctionGroup::SingleKey);
            record.setCount(0);
            std::ranges::fill(record.data(), 0);
        }
    }
    if (!changes.empty())
        recomputeAssignedFlags(keys, image);
}

} // namespace q905
