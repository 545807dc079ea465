#include "app/PanelControlsFallback.h"

#include "controls/SliderGeometry.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRegions.h"
#include "lighting/PanelSliders.h"

namespace q905 {

namespace {
ControlSpec region(int id, RegionRect rect, WindowText name) {
    return {id, ControlKind::Button, rect, name};
}
} // namespace

std::vector<ControlSpec> panelControlsFallback() {
    using namespace panelRegion;
    std::vector<ControlSpec> controls{
        region(kKeymapView, {28, 175, 42, 189}, {"Keymap view", "Tastenbelegung"}),
        region(kCustomView, {130, 175, 144, 189}, {"Custom view", "Eigene Farben"}),
        region(kEffectBox, {28, 133, 248, 148}, {"Effect", "Effekt"}),
        region(kDirectionTop, {116, 152, 151, 167}, {"Up", "Oben"}),
        region(kDirectionBottom, {148, 152, 183, 167}, {"Down", "Unten"}),
        region(kDirectionRight, {179, 152, 214, 167}, {"Right", "Rechts"}),
        region(kDirectionLeft, {211, 152, 246, 167}, {"Left", "Links"}),
    };
    static constexpr std::array<WindowText, 7> kSwatchNames{{{"Colour 1", "Farbe 1"},
                                                             {"Colour 2", "Farbe 2"},
                                                             {"Colour 3", "Farbe 3"},
                                                             {"Colour 4", "Farbe 4"},
                                                             {"Colour 5", "Farbe 5"},
                                                             {"Colour 6", "Farbe 6"},
                                                             {"Colour 7", "Farbe 7"}}};
    for (int slot = 0; slot < 7; ++slot)
        controls.push_back(region(kFirstSwatch + slot, {28 + 25 * slot, 179, 48 + 25 * slot, 199},
                                  kSwatchNames[static_cast<std::size_t>(slot)]));
    // The multicolour box sits one pixel closer than the swatches' pitch.
    controls.push_back(region(kMulticolour, {202, 179, 222, 199}, {"Multicolour", "Mehrfarbig"}));
    controls.push_back(region(kGameMode, {94, 578, 114, 598}, {"Game mode", "Spielmodus"}));
    controls.push_back(
        region(kWinKeyLock, {231, 578, 251, 598}, {"Windows key lock", "Windows-Tastensperre"}));
    controls.push_back(region(kPalmBox, {28, 317, 248, 332}, {"Palm rest effect", "Handballenauflage"}));
    controls.push_back(region(kPalmRight, {116, 337, 151, 352}, {"Right", "Rechts"}));
    controls.push_back(region(kPalmLeft, {148, 337, 183, 352}, {"Left", "Links"}));
    controls.push_back(region(kPalmColour, {125, 360, 145, 380}, {"Palm rest colour", "Farbe der Handballenauflage"}));

    static constexpr std::array<WindowText, 6> kSliderNames{{{"Brightness", "Helligkeit"},
                                                             {"Speed", "Geschwindigkeit"},
                                                             {"Palm rest brightness", "Helligkeit der Handballenauflage"},
                                                             {"Palm rest speed", "Geschwindigkeit der Handballenauflage"},
                                                             {"Response time", "Reaktionszeit"},
                                                             {"Report rate", "Abfragerate"}}};
    // Tab reached the sliders in the order the window created them.
    for (std::size_t i = 0; i < PanelSliders.size(); ++i) {
        const PanelSliderPlace& place = PanelSliders[i];
        controls.push_back({place.controlId, ControlKind::Slider,
                            {place.x, place.y, place.x + kTrackWidth - 1,
                             place.y + kTrackHeight - 1},
                            kSliderNames[i], 100 + static_cast<int>(i)});
    }
    return controls;
}

bool panelFallbackReachable(int id, std::uint8_t lightingEffect) {
    if (id == panelRegion::kKeymapView || id == panelRegion::kCustomView)
        return lightingEffect >= effect::kFirstProfile;
    return true;
}

} // namespace q905
