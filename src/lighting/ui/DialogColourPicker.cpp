#include "lighting/ui/DialogColourPicker.h"

#include "lighting/ui/ColourDialog.h"

namespace q905 {

DialogColourPicker::DialogColourPicker(SkinCache& skin, int languageCode)
    : m_skin(skin), m_languageCode(languageCode) {}

std::optional<std::uint32_t> DialogColourPicker::pickColour(QWidget* parent,
                                                            std::uint32_t initial) {
    ColourDialog dialog(m_skin, m_languageCode, initial, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.currentColour();
}

} // namespace q905
