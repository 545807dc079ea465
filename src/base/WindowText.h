// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A text of the program's own in both languages (UTF-8): every window, dialog and message uses
// this one type, so a text and its translation are always written side by side.

#include "base/Language.h"

#include <string_view>

namespace q905 {

struct WindowText {
    std::string_view english;
    std::string_view german;
    constexpr std::string_view in(Language language) const {
        return language == Language::German ? german : english;
    }
};

} // namespace q905
