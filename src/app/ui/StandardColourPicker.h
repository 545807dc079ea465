#pragma once
// The platform's colour dialog, until the skinned custom colour dialog is wired in its place.

#include "lighting/ui/ColourPicker.h"

namespace q905 {

class StandardColourPicker final : public ColourPicker {
public:
    std::optional<std::uint32_t> pickColour(QWidget* parent, std::uint32_t initial) override;
};

} // namespace q905
