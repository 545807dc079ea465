// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting panel's six sliders: their range, what field of the settings image each one
// edits and how its position is stored there, what a position means, and how the track and
// thumb are drawn. Their places are in the panel's control table.

#include "base/Language.h"
#include "controls/SliderGeometry.h"
#include "device/SettingsImage.h"
#include "lighting/PanelControls.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

namespace q905 {

struct PanelSliderRange {
    int controlId;
    int maximum; // the minimum is 0
    int initialPosition;
};

inline constexpr std::array<PanelSliderRange, 6> PanelSliders{{
    {slider::kBrightness, 50, 1},
    {slider::kSpeed, 9, 0},
    {slider::kPalmBrightness, 50, 1},
    {slider::kPalmSpeed, 4, 1},
    {slider::kResponseTime, 9, 1},
    {slider::kReportRate, 3, 1},
}};

const PanelSliderRange* findPanelSlider(int controlId);

// What the response-time and report-rate positions stand for.
inline constexpr std::array<int, 10> kResponseTimeMilliseconds{2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
inline constexpr std::array<int, 4> kReportRateHertz{125, 250, 500, 1000};

// A position as a screen reader says it, with its unit: "4 ms", "1000 Hz", "60 %", "3 of 10".
std::string sliderValueText(int controlId, int position, Language language);
// The number of that text (4, 1000, 60, 3): what a screen reader reads as the slider's value.
int sliderValueNumber(int controlId, int position);

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
