// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/KeyNameTable.h"

#include "macros/KeyNameData.h"

#include <utility>

namespace q905 {

const KeyNameTable& KeyNameTable::instance() {
    static const KeyNameTable table;
    return table;
}

KeyNameTable::KeyNameTable() {
    for (int code = 0; code < 256; ++code)
        m_entries[code].code = static_cast<std::uint8_t>(code);

    auto fill = [this](std::uint8_t code, std::string name) {
        m_entries[code].usage = keyUsageOf(code);
        m_entries[code].name = std::move(name);
    };
    for (int code = kFirstLetterCode; code <= kLastLetterCode; ++code)
        fill(static_cast<std::uint8_t>(code), std::string(1, static_cast<char>(code)));
    for (int code = kFirstDigitCode; code <= kLastDigitCode; ++code)
        fill(static_cast<std::uint8_t>(code), std::string(1, static_cast<char>(code)));
    for (int code = kFirstFunctionKeyCode; code <= kLastFunctionKeyCode; ++code)
        fill(static_cast<std::uint8_t>(code),
             "F" + std::to_string(code - kFirstFunctionKeyCode + 1));
    for (const KeyNameRow& row : kNamedKeyRows)
        fill(row.code, std::string(row.name));
}

std::uint8_t usageOf(std::uint8_t code) {
    return KeyNameTable::instance().usageOf(code);
}

const std::string& nameOf(std::uint8_t code) {
    return KeyNameTable::instance().nameOf(code);
}

} // namespace q905
