// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A layout for window tests that needs no XKB data: like a German one, Y and Z change places and
// the US ';' key types "Ö"; the other letters type themselves.

#include "macros/KeyboardLayout.h"

namespace q905::testing {

class GermanLikeLayout final : public KeyboardLayout {
  public:
    std::string typedText(std::uint8_t code) const override {
        switch (code) {
        case 'Y':
            return "Z";
        case 'Z':
            return "Y";
        case 0xBA:
            return "Ö";
        default:
            return code >= 'A' && code <= 'Z' ? std::string(1, char(code)) : std::string();
        }
    }
};

} // namespace q905::testing
