#include "app/ButtonTable.h"

#include "lighting/EffectCatalogue.h"

namespace q905 {

namespace {
// A rectangle no point lies in.
constexpr HitRect kNever{0, 179, 0, 20};
constexpr HitRect kViewSwitchKeymap{28, 175, 42, 189};
constexpr HitRect kViewSwitchCustom{130, 175, 144, 189};
} // namespace

constinit const std::array<HitRect, kButtonCount> ButtonTable{{
    {936, 5, 952, 20},    // 0 help
    {957, 5, 973, 20},    // 1 hide
    {978, 5, 994, 20},    // 2 close
    {28, 133, 248, 148},  // 3 effect list
    {116, 152, 151, 167}, // 4 direction top
    {148, 152, 183, 167}, // 5 direction bottom
    {179, 152, 214, 167}, // 6 direction right
    {211, 152, 246, 167}, // 7 direction left
    {28, 179, 48, 199},   // 8..14 colour swatches 1..7
    {53, 179, 73, 199},
    {78, 179, 98, 199},
    {103, 179, 123, 199},
    {128, 179, 148, 199},
    {153, 179, 173, 199},
    {178, 179, 198, 199},
    {202, 179, 222, 199}, // 15 multicolour
    {94, 578, 114, 598},  // 16 game mode
    {231, 578, 251, 598}, // 17 Windows key lock
    {25, 610, 83, 633},   // 18 profiles
    {107, 610, 164, 632}, // 19 macros
    {800, 605, 857, 635}, // 20 nothing
    {0, 0, 0, 0},         // 21 revert: the single top-left pixel
    {868, 610, 926, 633}, // 22 apply
    {28, 317, 248, 332},  // 23 palm list
    {116, 337, 151, 352}, // 24 palm direction right
    {148, 337, 183, 352}, // 25 palm direction left
    kNever,
    kNever,
    kNever,
    kNever,
    kNever,
    kNever,
    kNever,               // 26..32
    {125, 360, 145, 380}, // 33 palm colour
    {42, 175, 28, 189},   // 34 Keymap view, by the rule only (35, Custom view, has no entry)
}};

int hitTestButton(int x, int y, std::uint8_t lightingEffect) {
    if (lightingEffect >= effect::kFirstProfile) {
        if (kViewSwitchKeymap.contains(x, y))
            return panelRegion::kKeymapView;
        if (kViewSwitchCustom.contains(x, y))
            return panelRegion::kCustomView;
    }
    for (int index = 0; index < kButtonCount; ++index)
        if (ButtonTable[static_cast<std::size_t>(index)].contains(x, y))
            return index;
    return kNoRegion;
}

HelpMenuRow helpMenuRowAt(int x, int y) {
    if (!kHelpMenuArea.contains(x, y))
        return HelpMenuRow::None;
    switch ((y - kHelpMenuArea.top) / 25) {
    case 0:
        return HelpMenuRow::FactoryReset;
    case 1:
        return HelpMenuRow::FirmwareUpdate;
    default:
        return HelpMenuRow::None;
    }
}

} // namespace q905
