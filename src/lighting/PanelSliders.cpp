#include "lighting/PanelSliders.h"

#include "lighting/PanelRules.h"

#include <algorithm>

namespace q905 {

namespace {
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

const PanelSliderPlace* findPanelSlider(int controlId) {
    for (const PanelSliderPlace& info : PanelSliders) {
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
