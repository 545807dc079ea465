// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/DefaultKeyMap.h"

#include "keys/KeyTableData.h"
#include "macros/KeyNameData.h"

namespace q905 {

namespace {

using Entry = std::array<std::uint8_t, 4>;

constexpr void put(KeyMapBytes& map, int position, Entry entry) {
    for (int i = 0; i < 4; ++i)
        map[position * 4 + i] = entry[i];
}

constexpr KeyMapBytes buildDefaultKeyMap() {
    KeyMapBytes map{};
    for (const KeyEntry& key : kKeyTableData)
        put(map, key.matrixPosition(), {0, 0, keyUsageOf(key.keyCode), 0});

    // Keys whose codes have no usage of their own, and the Fn key.
    put(map, 11, {0, 0, 0x64, 0});
    put(map, 60, {2, 0, 0, 0});
    // The five extra left-edge keys send Left Shift with a letter usage.
    put(map, 67, {0, 0, 0xE1, 0x04});
    put(map, 74, {0, 0, 0xE1, 0x05});
    put(map, 72, {0, 0, 0xE1, 0x06});
    put(map, 79, {0, 0, 0xE1, 0x07});
    put(map, 85, {0, 0, 0xE1, 0x08});
    // Media keys send consumer-page usages (low byte, high byte).
    put(map, 113, {3, 0, 0x83, 0x01});
    put(map, 119, {3, 0, 0xCD, 0x00});
    put(map, 125, {3, 0, 0xE9, 0x00});
    put(map, 107, {3, 0, 0xEA, 0x00});
    // Factory entries at positions no key of the table uses.
    put(map, 18, {0, 0, 0x91, 0});
    put(map, 48, {0, 0, 0x90, 0});
    put(map, 126, {0, 0xE0, 0, 0});
    put(map, 127, {0, 0xE1, 0, 0});
    return map;
}

} // namespace

// Constant-initialised: the emulated keyboard and other static set-up may read it.
constexpr KeyMapBytes DefaultKeyMap = buildDefaultKeyMap();

} // namespace q905
