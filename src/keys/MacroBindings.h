// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Which keys play which macro, followed through deletions. A macro's device slot is its place in
// the list, so deleting one moves every later macro up a slot: the keys that play a later macro
// must move with it, and the keys that played the deleted one lose it, or they would silently
// play another macro.

#include "device/SettingsImage.h"
#include "keys/KeyAssignmentTable.h"

#include <optional>
#include <vector>

namespace q905 {

struct MacroKeyChange {
    int keyIndex = 0;
    int oldSlot = 0;
    std::optional<int> newSlot; // none: the key gets its default function
};

class MacroBindings {
  public:
    // The keys whose key map entry plays one of the first macroCount slots. A key bound to a
    // slot past the named macros plays no macro of the list and is left alone.
    MacroBindings(const SettingsImage& image, std::size_t macroCount);

    // The keys that play the macro now in slot, by key index.
    std::vector<int> keysOf(int slot) const;
    // The macro in slot was deleted and the later ones moved up one slot.
    void macroDeleted(int slot);
    // Every key whose macro moved or went, in key order.
    std::vector<MacroKeyChange> changes() const;

  private:
    struct Binding {
        int keyIndex;
        int oldSlot;
        std::optional<int> slot;
    };
    std::vector<Binding> m_bindings;
};

// Writes the changes into the keys' key map entries and records: a moved key plays its macro's
// new slot, a key that lost its macro gets its default entry and an empty record (its enable bit
// stays). The marks follow. The keyboard gets the key map with the next apply.
void applyMacroKeyChanges(KeyAssignments& keys, SettingsImage& image,
                          const std::vector<MacroKeyChange>& changes);

} // namespace q905
