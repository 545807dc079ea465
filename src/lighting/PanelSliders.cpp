// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/PanelSliders.h"

#include "base/WindowText.h"
#include "lighting/PanelRules.h"

#include <algorithm>

namespace q905 {

namespace {
constexpr WindowText kOutOf{" of ", " von "};
constexpr std::uint8_t kSpeedReport = 3;
constexpr std::uint8_t kBrightnessReport = 4;

std::size_t imageOffset(int controlId) {
    switch (controlId) {
    case slider::kBrightness:
        return layout::kBrightness;
    case slider::kSpeed:
        return layout::kSpeedStep;
    case slider::kPalmBrightness:
        return palm::kBrightness;
    case slider::kPalmSpeed:
        return palm::kSpeed;
    case slider::kResponseTime:
        return layout::kResponseTime.offset;
    default:
        return layout::kReportRate.offset;
    }
}

// The palm speed is kept one above the slider: the keyboard counts its speeds from 1.
int storedBias(int controlId) {
    return controlId == slider::kPalmSpeed ? 1 : 0;
}
} // namespace

const PanelSliderRange* findPanelSlider(int controlId) {
    for (const PanelSliderRange& info : PanelSliders) {
        if (info.controlId == controlId)
            return &info;
    }
    return nullptr;
}

int sliderPositionFromImage(const SettingsImage& image, int controlId) {
    return image.at(imageOffset(controlId)) - storedBias(controlId);
}

void storeSliderPosition(SettingsImage& image, int controlId, int position) {
    if (findPanelSlider(controlId) == nullptr)
        return;
    image.at(imageOffset(controlId)) = static_cast<std::uint8_t>(position + storedBias(controlId));
}

int sliderValueNumber(int controlId, int position) {
    const PanelSliderRange* range = findPanelSlider(controlId);
    if (range == nullptr)
        return position;
    const int step = std::clamp(position, 0, range->maximum);
    const auto at = static_cast<std::size_t>(step);
    switch (controlId) {
    case slider::kResponseTime:
        return kResponseTimeMilliseconds[at];
    case slider::kReportRate:
        return kReportRateHertz[at];
    case slider::kBrightness:
    case slider::kPalmBrightness:
        return step * 100 / range->maximum;
    default: // the speeds: steps counted from 1, the slowest
        return step + 1;
    }
}

std::string sliderValueText(int controlId, int position, Language language) {
    const PanelSliderRange* range = findPanelSlider(controlId);
    if (range == nullptr)
        return {};
    const std::string number = std::to_string(sliderValueNumber(controlId, position));
    switch (controlId) {
    case slider::kResponseTime:
        return number + " ms";
    case slider::kReportRate:
        return number + " Hz";
    case slider::kBrightness:
    case slider::kPalmBrightness:
        return number + " %";
    default:
        return number + std::string(kOutOf.in(language)) + std::to_string(range->maximum + 1);
    }
}

std::optional<SliderMove> sliderForKeyboardReport(std::uint8_t field, std::uint8_t storedValue) {
    if (field == kSpeedReport)
        return SliderMove{slider::kSpeed, storedValue};
    if (field == kBrightnessReport)
        return SliderMove{slider::kBrightness, storedValue};
    return std::nullopt;
}

SliderPicture drawSliderLayout(int controlId, int position, ThumbOffset thumb, int sliderWidth) {
    int tx = thumb.x;
    if (controlId == slider::kResponseTime || controlId == slider::kPalmSpeed)
        tx += 1;
    const bool nudgedAtZero =
        controlId == slider::kReportRate || controlId == slider::kResponseTime ||
        controlId == slider::kPalmBrightness || controlId == slider::kPalmSpeed;
    if (nudgedAtZero && position == 0)
        tx += 2;
    const int split = std::clamp(tx, 0, sliderWidth);
    return {split, split, sliderWidth - split, tx, thumb.y + 1};
}

} // namespace q905
