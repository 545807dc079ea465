#pragma once
// The colour picker of the running program: the custom colour dialog, modal.

#include "lighting/ui/ColourPicker.h"

namespace q905 {

class SkinCache;

class DialogColourPicker : public ColourPicker {
  public:
    DialogColourPicker(SkinCache& skin, int languageCode);
    std::optional<std::uint32_t> pickColour(QWidget* parent, std::uint32_t initial) override;

  private:
    SkinCache& m_skin;
    int m_languageCode;
};

} // namespace q905
