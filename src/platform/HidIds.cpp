// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidIds.h"

#include <charconv>

namespace q905 {

namespace {
std::string_view trim(std::string_view text) {
    const auto isSpace = [](char c) { return c == ' ' || c == '\n' || c == '\r' || c == '\t'; };
    while (!text.empty() && isSpace(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back()))
        text.remove_suffix(1);
    return text;
}

// The whole of text as a number no larger than limit, or nothing.
std::optional<unsigned long> parseNumber(std::string_view text, int base, unsigned long limit) {
    if (text.empty())
        return std::nullopt;
    unsigned long value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc{} || end != text.data() + text.size() || value > limit)
        return std::nullopt;
    return value;
}

std::optional<HidId> hidIdFromFields(std::string_view bus, std::string_view vendor,
                                     std::string_view product) {
    const auto busValue = parseNumber(bus, 16, 0xFFFF);
    const auto vendorValue = parseNumber(vendor, 16, 0xFFFF);
    const auto productValue = parseNumber(product, 16, 0xFFFF);
    if (!busValue || !vendorValue || !productValue)
        return std::nullopt;
    return HidId{static_cast<std::uint16_t>(*busValue), static_cast<std::uint16_t>(*vendorValue),
                 static_cast<std::uint16_t>(*productValue)};
}
} // namespace

std::optional<HidId> parseHidId(std::string_view value) {
    value = trim(value);
    const std::size_t first = value.find(':');
    if (first == std::string_view::npos)
        return std::nullopt;
    const std::size_t second = value.find(':', first + 1);
    if (second == std::string_view::npos)
        return std::nullopt;
    return hidIdFromFields(value.substr(0, first), value.substr(first + 1, second - first - 1),
                           value.substr(second + 1));
}

std::optional<HidId> hidIdFromDevicePath(std::string_view devicePath) {
    // The hid core names its devices "%04X:%04X:%04X.%04X"; the innermost such component is
    // the device the hidraw node belongs to.
    std::optional<HidId> found;
    while (!devicePath.empty()) {
        const std::size_t slash = devicePath.find('/');
        const std::string_view component = devicePath.substr(0, slash);
        devicePath =
            slash == std::string_view::npos ? std::string_view{} : devicePath.substr(slash + 1);
        if (component.size() != 19 || component[4] != ':' || component[9] != ':' ||
            component[14] != '.' || !parseNumber(component.substr(15), 16, 0xFFFF))
            continue;
        if (auto id = hidIdFromFields(component.substr(0, 4), component.substr(5, 4),
                                      component.substr(10, 4)))
            found = id;
    }
    return found;
}

std::optional<int> interfaceNumberFromPhys(std::string_view phys) {
    constexpr std::string_view kMarker = "/input";
    phys = trim(phys);
    const std::size_t at = phys.rfind(kMarker);
    if (at == std::string_view::npos)
        return std::nullopt;
    const auto number = parseNumber(phys.substr(at + kMarker.size()), 10, 0xFF);
    if (!number)
        return std::nullopt;
    return static_cast<int>(*number);
}

std::optional<int> parseInterfaceNumber(std::string_view text) {
    const auto number = parseNumber(trim(text), 16, 0xFF);
    if (!number)
        return std::nullopt;
    return static_cast<int>(*number);
}

} // namespace q905
