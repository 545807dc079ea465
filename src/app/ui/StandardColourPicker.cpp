#include "app/ui/StandardColourPicker.h"

#include <QColorDialog>

namespace q905 {

std::optional<std::uint32_t> StandardColourPicker::pickColour(QWidget* parent,
                                                              std::uint32_t initial) {
    const QColor start(int(initial & 0xFF), int(initial >> 8 & 0xFF), int(initial >> 16 & 0xFF));
    const QColor chosen = QColorDialog::getColor(start, parent);
    if (!chosen.isValid())
        return std::nullopt;
    return std::uint32_t(chosen.red()) | std::uint32_t(chosen.green()) << 8 |
           std::uint32_t(chosen.blue()) << 16;
}

} // namespace q905
