// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour picker of the running program: the custom colour dialog, modal.

#include "base/Language.h"
#include "lighting/ui/ColourPicker.h"

namespace q905 {

class SkinCache;

class DialogColourPicker : public ColourPicker {
  public:
    DialogColourPicker(SkinCache& skin, Language language);
    std::optional<std::uint32_t> pickColour(QWidget* parent, std::uint32_t initial) override;

  private:
    SkinCache& m_skin;
    Language m_language;
};

} // namespace q905
