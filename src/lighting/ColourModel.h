// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Colour values and the hue/saturation/luminosity model of the colour picker. A colour value is
// R | G << 8 | B << 16; hue, saturation and luminosity run on a 0..240 scale.

#include <cstdint>

namespace q905 {

using ColourValue = std::uint32_t;

constexpr ColourValue makeColour(std::uint8_t red, std::uint8_t green, std::uint8_t blue) {
    return ColourValue{red} | ColourValue{green} << 8 | ColourValue{blue} << 16;
}
constexpr std::uint8_t redOf(ColourValue colour) {
    return colour & 0xFF;
}
constexpr std::uint8_t greenOf(ColourValue colour) {
    return (colour >> 8) & 0xFF;
}
constexpr std::uint8_t blueOf(ColourValue colour) {
    return (colour >> 16) & 0xFF;
}

// What every caller hands the colour dialog before opening it.
inline constexpr ColourValue kDialogStartColour = makeColour(12, 12, 12);

struct HslReal {
    double hue = 0, saturation = 0, luminosity = 0;
};
struct Hsl {
    std::uint8_t hue = 0;        // 0..239
    std::uint8_t saturation = 0; // 0..240
    std::uint8_t luminosity = 0; // 0..240
    bool operator==(const Hsl&) const = default;
};

HslReal rgbToHslReal(ColourValue colour);
// Rounded to the nearest step; a hue of 240 (a full turn) is kept as 239.
Hsl rgbToHsl(ColourValue colour);
ColourValue hslToRgb(double hue, double saturation, double luminosity);
double hueToChannel(double p, double q, double t);

} // namespace q905
