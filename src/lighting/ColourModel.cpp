// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/ColourModel.h"

#include <algorithm>

namespace q905 {

namespace {
constexpr double kScale = 240.0;
constexpr double kOneThird = 1.0 / 3.0;
constexpr double kTwoThirds = 2.0 / 3.0;

std::uint8_t channelByte(double channel) {
    return static_cast<std::uint8_t>(static_cast<int>(channel * 255.0) & 0xFF);
}
} // namespace

HslReal rgbToHslReal(ColourValue colour) {
    const double r = redOf(colour) / 255.0;
    const double g = greenOf(colour) / 255.0;
    const double b = blueOf(colour) / 255.0;
    const double mx = std::max({r, g, b});
    const double mn = std::min({r, g, b});
    const double l = (mx + mn) / 2.0;
    double h = 0;
    double s = 0;
    if (mx != mn) {
        const double d = mx - mn;
        s = l < 0.5 ? d / (mx + mn) : d / (2.0 - mx - mn);
        if (mx == r)
            h = (g - b) / d;
        else if (mx == g)
            h = 2.0 + (b - r) / d;
        else
            h = 4.0 + (r - g) / d;
        h /= 6.0;
        if (h < 0)
            h += 1.0;
    }
    return {kScale * h, kScale * s, kScale * l};
}

Hsl rgbToHsl(ColourValue colour) {
    const HslReal real = rgbToHslReal(colour);
    const int hue = static_cast<int>(real.hue + 0.5);
    const int saturation = static_cast<int>(real.saturation + 0.5);
    const int luminosity = static_cast<int>(real.luminosity + 0.5);
    return {static_cast<std::uint8_t>(std::min(hue, 239)),
            static_cast<std::uint8_t>(std::min(saturation, 240)),
            static_cast<std::uint8_t>(std::min(luminosity, 240))};
}

double hueToChannel(double p, double q, double t) {
    if (t < 0)
        t += 1.0;
    if (t > 1)
        t -= 1.0;
    if (6.0 * t < 1.0)
        return p + (q - p) * 6.0 * t;
    if (2.0 * t < 1.0)
        return q;
    if (3.0 * t < 2.0)
        return p + (q - p) * (kTwoThirds - t) * 6.0;
    return p;
}

ColourValue hslToRgb(double hue, double saturation, double luminosity) {
    const double h = hue / kScale;
    const double s = saturation / kScale;
    const double l = luminosity / kScale;
    if (s == 0) {
        const auto v = static_cast<std::uint8_t>(static_cast<int>(l * 255.0));
        return makeColour(v, v, v);
    }
    const double q = l <= 0.5 ? l * (1.0 + s) : l + s - l * s;
    const double p = 2.0 * l - q;
    return makeColour(channelByte(hueToChannel(p, q, h + kOneThird)),
                      channelByte(hueToChannel(p, q, h)),
                      channelByte(hueToChannel(p, q, h - kOneThird)));
}

} // namespace q905
