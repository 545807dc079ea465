// Stub until the lighting page lands: compiles, draws nothing, handles nothing.
#include "lighting/ui/LightingPanel.h"

#include <QWidget>

namespace q905 {

class LightingPanel::Impl {};

LightingPanel::LightingPanel(Settings&, SkinCache&, ColourPicker&, PanelView&, int, QWidget* window)
    : QObject(window), m_impl(nullptr) {}
LightingPanel::~LightingPanel() = default;
void LightingPanel::paint(QPainter&) {}
bool LightingPanel::isListOpen() const { return false; }
void LightingPanel::clickOpenList(int, int) {}
bool LightingPanel::hoverOpenList(int, int) { return false; }
void LightingPanel::clickRegion(int, int, int) {}
void LightingPanel::refreshSliders() {}
void LightingPanel::keyboardChanged(std::uint8_t, std::uint8_t) {}
void LightingPanel::applyPerKeyColour(const std::array<bool, 113>&, std::uint32_t) {}

} // namespace q905
