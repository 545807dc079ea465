// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ControlTable.h"

#include <algorithm>

namespace q905 {

const ControlSpec* controlAt(std::span<const ControlSpec> controls, Language language, int x,
                             int y, const std::function<bool(int id)>& reachable) {
    for (const ControlSpec& control : controls)
        if (control.rectIn(language).contains(x, y) && (!reachable || reachable(control.id)))
            return &control;
    return nullptr;
}

const ControlSpec* controlById(std::span<const ControlSpec> controls, int id) {
    for (const ControlSpec& control : controls)
        if (control.id == id)
            return &control;
    return nullptr;
}

std::vector<int> tabChain(std::span<const ControlSpec> controls) {
    std::vector<const ControlSpec*> stops;
    for (const ControlSpec& control : controls)
        if (control.isTabStop())
            stops.push_back(&control);
    std::stable_sort(stops.begin(), stops.end(), [](const ControlSpec* a, const ControlSpec* b) {
        return a->tabOrder < b->tabOrder;
    });
    std::vector<int> ids;
    ids.reserve(stops.size());
    for (const ControlSpec* control : stops)
        ids.push_back(control->id);
    return ids;
}

std::optional<int> nextTabStop(std::span<const ControlSpec> controls, std::optional<int> current,
                               bool backwards, const std::function<bool(int id)>& canFocus) {
    const std::vector<int> chain = tabChain(controls);
    const int count = static_cast<int>(chain.size());
    if (count == 0)
        return std::nullopt;
    int start = backwards ? count : -1; // one step from here lands on the first or last stop
    if (current) {
        const auto found = std::find(chain.begin(), chain.end(), *current);
        if (found != chain.end())
            start = static_cast<int>(found - chain.begin());
    }
    const int step = backwards ? -1 : 1;
    for (int i = 1; i <= count; ++i) {
        const int at = ((start + step * i) % count + count) % count;
        if (!canFocus || canFocus(chain[static_cast<std::size_t>(at)]))
            return chain[static_cast<std::size_t>(at)];
    }
    return std::nullopt;
}

} // namespace q905
