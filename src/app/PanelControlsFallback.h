#pragma once
// The lighting panel's click regions and sliders for as long as the panel does not declare its
// own controls (LightingPanel::controls() is empty): the window hit-tests and names them from
// here. Mouse-only but for the sliders, which Tab reached before. Goes once the panel declares
// them.

#include "controls/ControlTable.h"

#include <cstdint>
#include <vector>

namespace q905 {

std::vector<ControlSpec> panelControlsFallback();

// The view switches are hit (before the swatches they overlap) only while a lighting profile is
// the effect.
bool panelFallbackReachable(int id, std::uint8_t lightingEffect);

} // namespace q905
