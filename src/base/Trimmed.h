// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The blanks the line-based files read here (desktop entries, /etc/default/keyboard) allow
// around their lines, keys and values.

#include <string_view>

namespace q905 {

// The text without the spaces, tabs and carriage returns at either end.
inline std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos)
        return {};
    const auto last = text.find_last_not_of(" \t\r");
    return text.substr(first, last - first + 1);
}

} // namespace q905
