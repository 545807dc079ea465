#include "lighting/EffectCatalogue.h"

namespace q905 {

namespace {
using enum EffectColours;
}

const std::array<EffectInfo, kEffectCount> EffectCatalogue{{
    {1, "Static", "statisch", false, SlotsOnly, false},
    {2, "Breathing", "Atmung", true, SlotsAndMulticolour, false},
    {3, "Wave", "Welle", true, MulticolourOnly, true},
    {4, "Reactive", "Reaktiv", true, SlotsAndMulticolour, false},
    {5, "Sidewinder", "Sidewinder", true, SlotsAndMulticolour, false},
    {6, "Ripple", "Ripple", true, SlotsAndMulticolour, false},
    {8, "Spectrum", "Spektrum", true, MulticolourOnly, false},
    {10, "Raindrop", "Regentropfen", true, SlotsAndMulticolour, false},
    {11, "Vortex", "Wirbel", true, SlotsAndMulticolour, false},
    {12, "Spotlight", "Scheinwerfer", true, SlotsAndMulticolour, false},
    {13, "Radar", "Radar", true, SlotsAndMulticolour, true},
    {0x33, "Lighting Profile 1", "Beleuchtungs Profil 1", false, PerKeyPage, false},
    {0x34, "Lighting Profile 2", "Beleuchtungs Profil 2", false, PerKeyPage, false},
    {0x35, "Lighting Profile 3", "Beleuchtungs Profil 3", false, PerKeyPage, false},
    {0x36, "Lighting Profile 4", "Beleuchtungs Profil 4", false, PerKeyPage, false},
    {0x37, "Lighting Profile 5", "Beleuchtungs Profil 5", false, PerKeyPage, false},
}};

const EffectInfo* findEffect(std::uint8_t code) {
    for (const EffectInfo& info : EffectCatalogue) {
        if (info.code == code)
            return &info;
    }
    return nullptr;
}

std::string_view effectName(std::uint8_t code, bool german) {
    const EffectInfo* info = findEffect(code);
    if (info == nullptr)
        return {};
    return german ? info->germanName : info->englishName;
}

std::string_view palmEffectName(std::uint8_t code) {
    return code < kPalmEffectCount ? PalmEffectList[code] : std::string_view{};
}

} // namespace q905
