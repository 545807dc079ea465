// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/ui/DialogColourPicker.h"

#include "lighting/ui/ColourDialog.h"

namespace q905 {

DialogColourPicker::DialogColourPicker(SkinCache& skin, Language language)
    : m_skin(skin), m_language(language) {}

std::optional<std::uint32_t> DialogColourPicker::pickColour(QWidget* parent,
                                                            std::uint32_t initial) {
    ColourDialog dialog(m_skin, m_language, initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.currentColour();
}

} // namespace q905
