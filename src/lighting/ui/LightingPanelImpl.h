#pragma once
// The lighting panel's private state, shared by its behaviour and its painting.

#include "device/Settings.h"
#include "lighting/PanelLists.h"
#include "lighting/PanelSliders.h"
#include "lighting/ui/LightingPanel.h"

#include <QRect>
#include <QString>

#include <mutex>
#include <vector>

namespace q905 {

class SkinSlider;
class TextLayout;

class LightingPanel::Impl {
  public:
    Impl(LightingPanel& owner, Settings& settings, SkinCache& skin, ColourPicker& colours,
         PanelView& view, Language language, QWidget* window);

    struct SliderSlot {
        const PanelSliderPlace* info = nullptr;
        SkinSlider* slider = nullptr;
        int lastDrawn = 0; // the position last stored and drawn
    };

    // The window's copy of the image, edited on the window's thread only (the keyboard's
    // changes reach it as events there).
    SettingsImage& image();
    template <typename Edit> auto edit(Edit&& change) { return change(image()); }
    SliderSlot& slot(int controlId);
    void onSliderMoved(int controlId);
    // The slider's set-position with redraw; the image field gets the slider's position.
    void setSlider(int controlId, int position);
    // The sliders take the image's values without storing them back.
    void followImage(const SettingsImage& shown);
    // Rules that depend on more than one field, run whenever the image changes.
    void normalise();
    void updateSliderVisibility();
    void updateSliderVisibility(std::uint8_t effectCode);
    void requestRepaint();
    void editColour(int slot);
    void editPalmColour();

    // Painting (LightingPanelPaint.cpp). Texts wait until every control of the panel is known,
    // then are fitted in the order they were queued.
    struct PendingText {
        QString text;
        int x, y, size;
        QRect panel;
    };
    void paint(QPainter& painter, const SettingsImage& image, TextLayout& layout);
    void drawSlider(QPainter& painter, int controlId);
    void text(const char* english, const char* german, int x, int y, int size);
    void text(const QString& text, int x, int y, int size, const QRect& panel);
    // A picture the texts keep clear of (a mark, an arrow, a scale).
    void picture(QPainter& painter, const char* name, int x, int y);
    // A picture texts are drawn on; its rectangle.
    QRect background(QPainter& painter, const char* name, int x, int y);
    void control(const QRect& rect);

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
    TextLayout* m_layout = nullptr; // while painting
    std::vector<PendingText> m_pendingTexts;
};

} // namespace q905
