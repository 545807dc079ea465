#pragma once
// The main window's fixed hit rectangles: every click is tested against them before the keys.

#include "lighting/PanelRegions.h"

#include <array>
#include <cstdint>

namespace q905 {

struct HitRect {
    int left, top, right, bottom; // window pixels, edges included

    constexpr bool contains(int x, int y) const {
        return x >= left && x <= right && y >= top && y <= bottom;
    }
};

inline constexpr int kButtonCount = 35;
inline constexpr int kNoRegion = -1;

// Region numbers with an action of the window itself; the lighting panel's are in
// lighting/PanelRegions.h.
namespace region {
inline constexpr int kHelp = 0;
inline constexpr int kHide = 1;
inline constexpr int kClose = 2;
inline constexpr int kProfiles = 18;
inline constexpr int kMacros = 19;
inline constexpr int kRevert = 21;
inline constexpr int kApply = 22;
} // namespace region

// Entries 26..32 and 34 lie inverted and are never hit; the view switches 34 and 35 are reached
// only through their own rule.
extern const std::array<HitRect, kButtonCount> ButtonTable;

// The region under the point, or kNoRegion. While a lighting profile is the effect, the two
// view switches come before the table.
int hitTestButton(int x, int y, std::uint8_t lightingEffect);

// The help menu below the help button: rows of 25 pixels.
inline constexpr HitRect kHelpMenuArea{830, 22, 996, 99};
enum class HelpMenuRow { FactoryReset, FirmwareUpdate, None };
HelpMenuRow helpMenuRowAt(int x, int y);

} // namespace q905
