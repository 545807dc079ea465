// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/EffectCatalogue.h"

namespace q905 {

namespace {
using enum EffectColours;
}

const std::array<EffectInfo, kEffectCount> EffectCatalogue{{
    {1, {"Static", "statisch"}, "static", false, SlotsOnly, false},
    {2, {"Breathing", "Atmung"}, "breathing", true, SlotsAndMulticolour, false},
    {3, {"Wave", "Welle"}, "wave", true, MulticolourOnly, true},
    {4, {"Reactive", "Reaktiv"}, "reactive", true, SlotsAndMulticolour, false},
    {5, {"Sidewinder", "Sidewinder"}, "sidewinder", true, SlotsAndMulticolour, false},
    {6, {"Ripple", "Ripple"}, "ripple", true, SlotsAndMulticolour, false},
    {8, {"Spectrum", "Spektrum"}, "spectrum", true, MulticolourOnly, false},
    {10, {"Raindrop", "Regentropfen"}, "raindrop", true, SlotsAndMulticolour, false},
    {11, {"Vortex", "Wirbel"}, "vortex", true, SlotsAndMulticolour, false},
    {12, {"Spotlight", "Scheinwerfer"}, "spotlight", true, SlotsAndMulticolour, false},
    {13, {"Radar", "Radar"}, "radar", true, SlotsAndMulticolour, true},
    {0x33, {"Lighting Profile 1", "Beleuchtungs Profil 1"}, "profile1", false, PerKeyPage, false},
    {0x34, {"Lighting Profile 2", "Beleuchtungs Profil 2"}, "profile2", false, PerKeyPage, false},
    {0x35, {"Lighting Profile 3", "Beleuchtungs Profil 3"}, "profile3", false, PerKeyPage, false},
    {0x36, {"Lighting Profile 4", "Beleuchtungs Profil 4"}, "profile4", false, PerKeyPage, false},
    {0x37, {"Lighting Profile 5", "Beleuchtungs Profil 5"}, "profile5", false, PerKeyPage, false},
}};

const EffectInfo* findEffect(std::uint8_t code) {
    for (const EffectInfo& info : EffectCatalogue) {
        if (info.code == code)
            return &info;
    }
    return nullptr;
}

std::optional<int> effectPosition(std::uint8_t code) {
    const EffectInfo* info = findEffect(code);
    if (info == nullptr)
        return std::nullopt;
    return static_cast<int>(info - EffectCatalogue.data());
}

std::string_view effectName(std::uint8_t code, Language language) {
    const EffectInfo* info = findEffect(code);
    if (info == nullptr)
        return {};
    return info->name.in(language);
}

std::optional<int> effectPositionNamed(std::string_view cliName) {
    for (int position = 0; position < kEffectCount; ++position)
        if (EffectCatalogue[static_cast<std::size_t>(position)].cliName == cliName)
            return position;
    return std::nullopt;
}

std::string_view palmEffectName(std::uint8_t code, Language language) {
    if (code >= kPalmEffectCount)
        return {};
    return PalmEffectList[code].name.in(language);
}

std::optional<int> palmEffectNamed(std::string_view cliName) {
    for (int code = 0; code < kPalmEffectCount; ++code)
        if (PalmEffectList[static_cast<std::size_t>(code)].cliName == cliName)
            return code;
    return std::nullopt;
}

} // namespace q905
