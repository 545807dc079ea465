#pragma once
// The lighting panel's private state, shared by its behaviour and its painting.

#include "lighting/PanelLists.h"
#include "lighting/PanelSliders.h"
#include "lighting/ui/LightingPanel.h"

#include <QString>

namespace q905 {

class SkinSlider;
class SettingsImage;

class LightingPanel::Impl {
  public:
    Impl(LightingPanel& owner, Settings& settings, SkinCache& skin, ColourPicker& colours,
         PanelView& view, Language language, QWidget* window);

    struct SliderSlot {
        const PanelSliderPlace* info = nullptr;
        SkinSlider* slider = nullptr;
        int lastDrawn = 0; // the position last stored and drawn
    };

    SettingsImage& image();
    SliderSlot& slot(int controlId);
    void onSliderMoved(int controlId);
    // The slider's set-position with redraw; the image field gets the slider's position.
    void setSlider(int controlId, int position);
    // A field changed behind the sliders' backs (revert, profile, keyboard) moves the slider.
    void followImage();
    void updateSliderVisibility();
    void requestRepaint();
    void editColour(int slot);
    void editPalmColour();

    // Painting (LightingPanelPaint.cpp).
    void paint(QPainter& painter);
    void drawSlider(QPainter& painter, int controlId);
    void text(QPainter& painter, const char* english, const char* german, int x, int y,
              int size) const;
    void picture(QPainter& painter, const char* name, int x, int y);

    LightingPanel& m_owner;
    Settings& m_settings;
    SkinCache& m_skin;
    ColourPicker& m_colours;
    PanelView& m_view;
    bool m_german;
    QWidget* m_window;
    PanelLists m_lists;
    std::array<SliderSlot, PanelSliders.size()> m_sliders;
    bool m_followingImage = false;
};

} // namespace q905
