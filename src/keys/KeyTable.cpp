// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyTable.h"

#include "keys/KeyTableData.h"

namespace q905 {

namespace {

// Every per-key block is indexed by matrix offset, so two keys on one offset would share their
// key map entry and colour.
constexpr bool matrixOffsetsAreSound() {
    std::array<bool, 128> used{};
    for (const KeyEntry& key : kKeyTableData) {
        if (key.matrixOffset % 4 != 0 || key.matrixOffset >= 512)
            return false;
        if (used[key.matrixPosition()])
            return false;
        used[key.matrixPosition()] = true;
    }
    return true;
}
static_assert(matrixOffsetsAreSound());

} // namespace

// Constant-initialised, so other translation units may read it during their static set-up.
constinit const std::array<KeyEntry, kKeyCount> KeyTable = kKeyTableData;

std::optional<int> keyIndexAtMatrixPosition(int position) {
    for (int index = 0; index < kKeyCount; ++index) {
        if (KeyTable[index].matrixPosition() == position)
            return index;
    }
    return std::nullopt;
}

} // namespace q905
