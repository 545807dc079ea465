// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Asks the user for a colour (the custom colour dialog); tests answer it instead.
// Colours are R | G << 8 | B << 16.

#include <cstdint>
#include <optional>

class QWidget;

namespace q905 {

class ColourPicker {
  public:
    virtual ~ColourPicker() = default;
    // nullopt when the user cancelled.
    virtual std::optional<std::uint32_t> pickColour(QWidget* parent, std::uint32_t initial) = 0;
};

} // namespace q905
