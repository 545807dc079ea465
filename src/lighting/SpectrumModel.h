// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour spectrum control without its window: a hue-saturation field with a crosshair and
// a luminosity bar with an arrow, worked by mouse and keyboard. Each operation reports what has
// to be redrawn and which notification goes to the parent.

#include "lighting/ColourModel.h"

#include <optional>

namespace q905 {

inline constexpr ColourValue kNoColour = 0xFFFFFFFF;

struct SpectrumRect {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

enum class SpectrumKey { Left, Right, Up, Down, PageUp, PageDown, Home, End, Tab, Other };

enum class SpectrumFocusMove { Stay, NextControl, PreviousControl };

struct SpectrumChange {
    bool handled = false;
    bool spectrumRedraw = false;
    bool arrowRedraw = false;
    std::optional<ColourValue> selectionChanged; // the user changed the colour
    std::optional<ColourValue> selectionEnded;   // a double click settled on the colour
    SpectrumFocusMove focusMove = SpectrumFocusMove::Stay;
};

enum class ArrowPixel { Clear, Outline, Fill };

inline constexpr int kCrosshairSize = 19;
inline constexpr int kArrowWidth = 10;
inline constexpr int kArrowHeight = 17;
inline constexpr ColourValue kSpectrumGrey = makeColour(151, 151, 151);

class SpectrumModel {
  public:
    SpectrumModel(int width, int height, ColourValue initial);

    int width() const { return m_width; }
    int height() const { return m_height; }
    const SpectrumRect& spectrumRect() const { return m_spectrum; }

    // Takes a colour from outside: no notification.
    void setColour(ColourValue colour);
    ColourValue colour() const { return m_colour; }
    ColourValue notifiedColour() const { return m_notified; }
    Hsl hsl() const { return m_hsl; }
    int crosshairX() const { return m_crosshairX; }
    int crosshairY() const { return m_crosshairY; }
    int arrowOffset() const { return m_arrowOffset; }
    bool spectrumFocused() const { return m_spectrumFocused; }
    bool barFocused() const { return m_barFocused; }
    bool spectrumDrag() const { return m_spectrumDrag; }

    SpectrumChange buttonDown(int x, int y);
    SpectrumChange move(int x, int y, bool primaryButtonDown);
    void buttonUp();
    SpectrumChange doubleClick(int x, int y);
    SpectrumChange key(SpectrumKey key, bool ctrl, bool shift);
    void focusIn(bool shift);
    void focusOut();

    // The spectrum picture's pixel: the field at luminosity 120, grey around it.
    ColourValue picturePixel(int x, int y) const;
    // The luminosity bar's colour on window row y, none outside the bar or without a colour.
    std::optional<ColourValue> barPixelRow(int y) const;
    int barLeft() const { return m_width - 29; }
    int barRight() const { return m_width - 16; } // exclusive
    // Top-left of the arrow mask in the window.
    int arrowLeft() const { return m_width - 12; }
    int arrowTop() const;

    static bool crosshairMask(int column, int row);
    static ArrowPixel arrowMask(int column, int row);

  private:
    void placeCrosshair();
    void placeArrow();
    void takeHueSaturationFrom(int x, int y);
    void takeLuminosityFrom(int y);
    void recomputeColour();
    void notify(SpectrumChange& change);

    int m_width, m_height;
    SpectrumRect m_spectrum, m_bar;
    int m_w, m_h; // the spectrum's size
    ColourValue m_colour = kNoColour;
    ColourValue m_notified = kNoColour;
    Hsl m_hsl;
    int m_crosshairX = 0, m_crosshairY = 0;
    int m_arrowOffset = 0;
    bool m_spectrumDrag = false, m_barDrag = false;
    bool m_spectrumFocused = false, m_barFocused = false;
};

} // namespace q905
