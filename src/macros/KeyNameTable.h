// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key code (Windows virtual-key code, 0..255) -> the keyboard's usage byte and a display name.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace q905 {

struct KeyNameEntry {
    std::uint8_t code = 0;
    std::uint8_t usage = 0; // 0 = no usage
    std::string name;       // UTF-8; empty for a code without one
};

class KeyNameTable {
  public:
    // The fixed table, built once.
    static const KeyNameTable& instance();

    std::uint8_t usageOf(std::uint8_t code) const { return m_entries[code].usage; }
    const std::string& nameOf(std::uint8_t code) const { return m_entries[code].name; }
    const KeyNameEntry& entry(std::uint8_t code) const { return m_entries[code]; }


  private:
    KeyNameTable();
    std::array<KeyNameEntry, 256> m_entries;
};

std::uint8_t usageOf(std::uint8_t code);
const std::string& nameOf(std::uint8_t code);

} // namespace q905
