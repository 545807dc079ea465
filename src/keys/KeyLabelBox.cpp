// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyLabelBox.h"

#include "keys/KeyTable.h"

namespace q905 {

namespace {

// The key left of the Enter key's lower arm: the arm starts one pixel after it.
constexpr int kEnterLowerNeighbour = 74;

} // namespace

KeyLabelBox keyLabelBox(int keyIndex) {
    const KeyEntry& key = KeyTable[static_cast<std::size_t>(keyIndex)];
    if (keyIndex == kMainEnterKeyIndex) {
        const int armLeft = KeyTable[kEnterLowerNeighbour].right + 1;
        return {armLeft + 2, key.top + 1, key.right - armLeft - 4, key.bottom - key.top - 4};
    }
    // Inset from the key: two pixels at the sides, one at the back, three at the front where the
    // keycap's skirt shows.
    return {key.left + 2, key.top + 1, key.right - key.left - 4, key.bottom - key.top - 4};
}

} // namespace q905
