// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/SpectrumModel.h"

#include <algorithm>
#include <cstdlib>

namespace q905 {

namespace {
constexpr int kMaxHue = 239;
constexpr int kMaxLevel = 240;
constexpr int kSpectrumTop = 10;
constexpr int kSpectrumRightMargin = 35;
} // namespace

SpectrumModel::SpectrumModel(int width, int height, ColourValue initial)
    : m_width(width), m_height(height), m_spectrum{0, kSpectrumTop, width - kSpectrumRightMargin,
                                                   height - kSpectrumTop},
      m_bar{width - 29, 2, width - 2, height - 2},
      // A degenerate size still divides by at least 1.
      m_w(std::max(2, m_spectrum.width())), m_h(std::max(2, m_spectrum.height())) {
    setColour(initial);
}

void SpectrumModel::setColour(ColourValue colour) {
    m_colour = colour;
    m_notified = colour;
    m_hsl = rgbToHsl(colour);
    placeCrosshair();
    placeArrow();
}

void SpectrumModel::placeCrosshair() {
    m_crosshairX = std::min(m_w * m_hsl.hue / kMaxHue, m_width - 36);
    m_crosshairY = std::min((m_height - 10) - m_hsl.saturation * m_h / kMaxLevel, m_height - 11);
}

void SpectrumModel::placeArrow() {
    m_arrowOffset = std::clamp(m_h - m_hsl.luminosity * m_h / kMaxLevel, 0, m_h - 1);
}

void SpectrumModel::takeHueSaturationFrom(int x, int y) {
    const int hue = std::max(0, x) * kMaxHue / (m_w - 1);
    const int saturation = std::max(0, m_h + 9 - y) * kMaxLevel / (m_h - 1);
    m_hsl.hue = static_cast<std::uint8_t>(std::min(hue, kMaxHue));
    m_hsl.saturation = static_cast<std::uint8_t>(std::min(saturation, kMaxLevel));
}

void SpectrumModel::takeLuminosityFrom(int y) {
    const int a = std::clamp(y - kSpectrumTop, 0, m_h - 1);
    const int luminosity = kMaxLevel * (m_h - 1 - a) / (m_h - 1);
    m_hsl.luminosity = static_cast<std::uint8_t>(std::min(luminosity, kMaxLevel));
    placeArrow();
    recomputeColour();
}

void SpectrumModel::recomputeColour() {
    m_colour = hslToRgb(m_hsl.hue, m_hsl.saturation, m_hsl.luminosity);
}

void SpectrumModel::notify(SpectrumChange& change) {
    if (m_colour == kNoColour)
        return;
    m_notified = m_colour;
    change.selectionChanged = m_colour;
}

SpectrumChange SpectrumModel::buttonDown(int x, int y) {
    SpectrumChange change;
    change.handled = true;
    if (m_spectrum.contains(x, y)) {
        takeHueSaturationFrom(x, y);
        recomputeColour();
        m_crosshairX = x;
        m_crosshairY = y;
        m_spectrumFocused = true;
        m_barFocused = false;
        m_spectrumDrag = true;
    } else if (m_bar.contains(x, y)) {
        takeLuminosityFrom(y);
        m_barFocused = true;
        m_spectrumFocused = false;
        m_barDrag = true;
    } else {
        return change;
    }
    change.spectrumRedraw = true;
    change.arrowRedraw = true;
    notify(change);
    return change;
}

SpectrumChange SpectrumModel::move(int x, int y, bool primaryButtonDown) {
    SpectrumChange change;
    change.handled = true;
    if (!primaryButtonDown) {
        m_spectrumDrag = false;
        m_barDrag = false;
        return change;
    }
    if (m_barDrag && m_bar.contains(x, y)) {
        takeLuminosityFrom(y);
        change.arrowRedraw = true;
        notify(change);
    } else if (m_spectrumDrag && m_spectrum.contains(x, y)) {
        m_crosshairX = x;
        m_crosshairY = y;
        takeHueSaturationFrom(x, y);
        recomputeColour();
        change.spectrumRedraw = true;
        notify(change);
    }
    return change;
}

void SpectrumModel::buttonUp() {
    m_spectrumDrag = false;
    m_barDrag = false;
}

SpectrumChange SpectrumModel::doubleClick(int x, int y) {
    SpectrumChange change;
    change.handled = true;
    if ((m_spectrum.contains(x, y) || m_bar.contains(x, y)) && m_colour != kNoColour)
        change.selectionEnded = m_colour;
    return change;
}

SpectrumChange SpectrumModel::key(SpectrumKey key, bool ctrl, bool shift) {
    SpectrumChange change;
    change.handled = true;
    if (key == SpectrumKey::Tab) {
        if (!shift && m_spectrumFocused) {
            m_spectrumFocused = false;
            m_barFocused = true;
            change.spectrumRedraw = change.arrowRedraw = true;
        } else if (shift && m_barFocused) {
            m_barFocused = false;
            m_spectrumFocused = true;
            change.spectrumRedraw = change.arrowRedraw = true;
        } else {
            change.focusMove =
                shift ? SpectrumFocusMove::PreviousControl : SpectrumFocusMove::NextControl;
        }
        return change;
    }

    const int step = ctrl ? 1 : (shift ? 10 : 5);
    int hue = m_hsl.hue;
    int saturation = m_hsl.saturation;
    int luminosity = m_hsl.luminosity;
    bool spectrumPart = !m_barFocused;
    switch (key) {
    case SpectrumKey::Left:
    case SpectrumKey::Right:
        if (!m_spectrumFocused) {
            change.handled = m_barFocused;
            return change;
        }
        hue += key == SpectrumKey::Left ? -step : step;
        break;
    case SpectrumKey::Up:
        (m_barFocused ? luminosity : saturation) += step;
        break;
    case SpectrumKey::Down:
        (m_barFocused ? luminosity : saturation) -= step;
        break;
    case SpectrumKey::PageUp:
        (m_barFocused ? luminosity : saturation) = kMaxLevel;
        break;
    case SpectrumKey::PageDown:
        (m_barFocused ? luminosity : saturation) = 0;
        break;
    case SpectrumKey::Home:
    case SpectrumKey::End:
        if (m_spectrumFocused) {
            hue = key == SpectrumKey::Home ? 0 : kMaxHue;
        } else if (m_barFocused) {
            luminosity = key == SpectrumKey::Home ? kMaxLevel : 0;
        } else {
            change.handled = false;
            return change;
        }
        spectrumPart = m_spectrumFocused;
        break;
    default:
        change.handled = false;
        return change;
    }

    m_hsl.hue = static_cast<std::uint8_t>(std::clamp(hue, 0, kMaxHue));
    m_hsl.saturation = static_cast<std::uint8_t>(std::clamp(saturation, 0, kMaxLevel));
    m_hsl.luminosity = static_cast<std::uint8_t>(std::clamp(luminosity, 0, kMaxLevel));
    recomputeColour();
    if (spectrumPart) {
        placeCrosshair();
        change.spectrumRedraw = true;
    } else {
        placeArrow();
        change.arrowRedraw = true;
    }
    notify(change);
    return change;
}

void SpectrumModel::focusIn(bool shift) {
    m_barFocused = shift;
    m_spectrumFocused = !shift;
}

void SpectrumModel::focusOut() {
    m_barFocused = false;
    m_spectrumFocused = false;
}

ColourValue SpectrumModel::picturePixel(int x, int y) const {
    if (y < kSpectrumTop || y > m_height - 11 || x < 0 || x > m_width - 36)
        return kSpectrumGrey;
    return hslToRgb(240.0 * x / (m_w - 1), 240.0 * (m_height - 11 - y) / (m_h - 1), 120.0);
}

std::optional<ColourValue> SpectrumModel::barPixelRow(int y) const {
    const int i = m_height - 11 - y;
    if (m_colour == kNoColour || i < 0 || i >= m_h)
        return std::nullopt;
    return hslToRgb(m_hsl.hue, m_hsl.saturation, kMaxLevel * i / (m_h - 1));
}

int SpectrumModel::arrowTop() const {
    return std::min(m_arrowOffset, m_bar.height() - kArrowHeight) + 2;
}

bool SpectrumModel::crosshairMask(int column, int row) {
    if (column < 0 || column >= kCrosshairSize || row < 0 || row >= kCrosshairSize)
        return false;
    const bool middleColumn = column >= 8 && column <= 10;
    const bool middleRow = row >= 8 && row <= 10;
    const bool outerRow = row <= 4 || row >= 14;
    const bool outerColumn = column <= 4 || column >= 14;
    return (outerRow && middleColumn) || (middleRow && outerColumn);
}

ArrowPixel SpectrumModel::arrowMask(int column, int row) {
    if (column < 0 || column >= kArrowWidth || row < 0 || row >= kArrowHeight)
        return ArrowPixel::Clear;
    const int d = std::abs(row - 8);
    if (column == d || column == 8)
        return ArrowPixel::Outline;
    if (column > d && column < 8)
        return ArrowPixel::Fill;
    return ArrowPixel::Clear;
}

} // namespace q905
