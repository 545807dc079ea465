// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A window's controls, declared once: where each one is, what it is, what it is called and
// where it stands in the Tab order. Hit-testing, painting, keyboard focus, accessibility and
// the skin generator all read the same table, so a control's place is written in one line.

#include "base/Language.h"
#include "base/WindowText.h"
#include "controls/RegionTable.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

namespace q905 {

enum class ControlKind : std::uint8_t {
    Button,
    Toggle,
    Radio,
    List,
    Slider,
    Swatch,
    Key,
    TextField,
    Tab,
    Tree,
    MenuItem,
};

// A control the mouse reaches but Tab passes by (a close mark that a Close button repeats).
inline constexpr int kNoTabStop = -1;

struct ControlSpec {
    // The window's own enum value. Activating the control (a click, Space or Enter, a screen
    // reader's action) runs the window's action for this id.
    int id;
    ControlKind kind;
    RegionRect rect; // window pixels, edges included
    WindowText name; // what a screen reader calls it; also the caption where one is painted
    int tabOrder = kNoTabStop;
    // Where the German texts need the control elsewhere; none means the same place.
    std::optional<RegionRect> germanRect{};

    constexpr const RegionRect& rectIn(Language language) const {
        return language == Language::German && germanRect ? *germanRect : rect;
    }
    constexpr bool isTabStop() const { return tabOrder != kNoTabStop; }
};

// The first control in table order whose rectangle holds the point, of those `reachable`
// accepts (all when it is empty).
const ControlSpec* controlAt(std::span<const ControlSpec> controls, Language language, int x,
                             int y, const std::function<bool(int id)>& reachable = {});

const ControlSpec* controlById(std::span<const ControlSpec> controls, int id);

// The ids of the tab stops, in Tab order (ties keep table order).
std::vector<int> tabChain(std::span<const ControlSpec> controls);

// The tab stop after `current` (before it when `backwards`), wrapping around and skipping those
// `canFocus` refuses. With no current control it is the first (last) one. None when no stop
// can take the focus.
std::optional<int> nextTabStop(std::span<const ControlSpec> controls, std::optional<int> current,
                               bool backwards, const std::function<bool(int id)>& canFocus);

} // namespace q905
