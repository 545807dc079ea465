#pragma once
// The lighting panel's six sliders: where they sit, what field of the settings image each one
// edits and how its position is stored there, and how its track and thumb are drawn.

#include "controls/SliderGeometry.h"
#include "device/SettingsImage.h"

#include <array>
#include <cstdint>
#include <optional>

namespace q905 {

namespace slider {
inline constexpr int kBrightness = 1017;
inline constexpr int kSpeed = 1007;
inline constexpr int kPalmBrightness = 1037;
inline constexpr int kPalmSpeed = 1038;
inline constexpr int kResponseTime = 1018;
inline constexpr int kReportRate = 1010;
} // namespace slider

struct PanelSliderPlace {
    int controlId;
    int x, y; // top-left in the window
    int maximum;
    int initialPosition;
};

inline constexpr std::array<PanelSliderPlace, 6> PanelSliders{{
    {slider::kBrightness, 28, 221, 50, 1},
    {slider::kSpeed, 28, 260, 9, 0},
    {slider::kPalmBrightness, 28, 395, 50, 1},
    {slider::kPalmSpeed, 28, 432, 4, 1},
    {slider::kResponseTime, 26, 483, 9, 1},
    {slider::kReportRate, 26, 534, 3, 1},
}};

const PanelSliderPlace* findPanelSlider(int controlId);

// The slider position the image's field stands for (palm speed is stored as position + 1,
// so a stored 0 gives -1, which the slider clamps).
int sliderPositionFromImage(const SettingsImage& image, int controlId);
void storeSliderPosition(SettingsImage& image, int controlId, int position);

// The slider a lighting value reported by the keyboard moves, and where to.
struct SliderMove {
    int controlId;
    int position;
};
std::optional<SliderMove> sliderForKeyboardReport(std::uint8_t field, std::uint8_t storedValue);

// The pieces of a slider picture, relative to the slider's top-left corner: the filled track's
// first filledWidth columns, the empty track's columns from emptyX on, and the thumb.
struct SliderPicture {
    int filledWidth = 0;
    int emptyX = 0;
    int emptyWidth = 0;
    int thumbX = 0, thumbY = 0;
    bool operator==(const SliderPicture&) const = default;
};
SliderPicture drawSliderLayout(int controlId, int position, ThumbOffset thumb,
                               int sliderWidth = kTrackWidth);

} // namespace q905
