// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lighting panel's private state, shared by its behaviour and its painting.

#include "device/Settings.h"
#include "lighting/PanelLists.h"
#include "lighting/PanelSliders.h"
#include "lighting/ui/LightingPanel.h"
#include "lighting/ui/LightingPanelTexts.h"

#include <QPointer>
#include <QRect>
#include <QString>

#include <optional>
#include <vector>

namespace q905 {

class SkinSlider;
class TextLayout;

class LightingPanel::Impl {
  public:
    Impl(LightingPanel& owner, Settings& settings, SkinCache& skin, ColourPicker& colours,
         PanelView& view, Language language, QWidget* window);

    struct SliderSlot {
        const PanelSliderRange* info = nullptr;
        SkinSlider* slider = nullptr;
        int lastDrawn = 0; // the position last stored and drawn
    };

    // The window's copy of the image, edited on the window's thread only (the keyboard's
    // changes reach it as events there).
    SettingsImage& image();
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
    // What a click on the panel's control does (not a slider's).
    void act(int region);
    // Enter on a swatch: selects it and opens the colour dialog.
    void editSwatch(int id);
    // Up or Down on a closed list: the neighbouring effect is chosen at once.
    void stepChoice(int box, int step);
    // Keys while a list is open: they all belong to it.
    bool openListKey(QKeyEvent* event);
    // After any edit: the rules across fields, the sliders shown, screen readers told, repaint.
    void afterEdit();
    void announceChanges();
    // The entry the keys are on in each list, once it moved (a choice, a step, the highlight).
    void announceListItems();

    // Painting (LightingPanelPaint.cpp). Texts wait until every control of the panel is known,
    // then are fitted in the order they were queued.
    struct PendingText {
        QString text;
        int x, y, size;
        QRect panel;
    };
    void paint(QPainter& painter, const SettingsImage& image, TextLayout& layout);
    void drawSlider(QPainter& painter, int controlId);
    void text(const panel_texts::Caption& caption);
    void text(const QString& text, int x, int y, int size, const QRect& panel);
    // A picture the texts keep clear of (a mark, an arrow, a scale), at a point or in the middle
    // of a control's place.
    void picture(QPainter& painter, const char* name, QPoint at);
    void picture(QPainter& painter, const char* name, int id);
    // A picture texts are drawn on; its rectangle.
    QRect background(QPainter& painter, const char* name, QPoint at);
    QRect background(QPainter& painter, const char* name, int id);
    void control(const QRect& rect);
    void listRowPaint(QPainter& painter, int listTop, int row, bool highlighted,
                      const QString& name);

    LightingPanel& m_owner;
    Settings& m_settings;
    SkinCache& m_skin;
    ColourPicker& m_colours;
    PanelView& m_view;
    Language m_language;
    QWidget* m_window;
    PanelLists m_lists;
    // The list entries a screen reader was last told of (effect box, palm box).
    std::array<std::optional<int>, 2> m_announcedItems;
    std::array<SliderSlot, PanelSliders.size()> m_sliders;
    bool m_followingImage = false;
    // While the sliders take no input: the one that had the focus, and where Qt moved it.
    QPointer<QWidget> m_focusedSlider;
    QPointer<QWidget> m_focusMovedTo;
    TextLayout* m_layout = nullptr; // while painting
    std::vector<PendingText> m_pendingTexts;
};

} // namespace q905
