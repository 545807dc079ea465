// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The left-hand panel of the main window: lighting effect, speed, brightness, direction,
// colours, lighting profiles, palm rest, game mode, Windows key lock, response time and report
// rate. It edits DeviceSettings in place; nothing reaches the keyboard before Apply. Its controls
// are declared in lighting/PanelControls.h; the main window puts them into its own table, owns
// the click dispatch and the keyboard focus, and calls in here with their ids.

#include "base/Language.h"
#include "controls/ui/PaintedControlHost.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <span>

class QKeyEvent;
class QPainter;
class QWidget;

namespace q905 {

class Settings;
class SettingsImage;
class SkinCache;
class ColourPicker;
class TextLayout;

// View state the panel shares with the keyboard view.
struct PanelView {
    bool perKeyColourMode = false; // 0 "Keymap", 1 "Custom"/"DIY"
};

class LightingPanel : public QObject {
    Q_OBJECT
  public:
    // window: the main window (the sliders are its children); language: of the panel's texts.
    LightingPanel(Settings& settings, SkinCache& skin, ColourPicker& colours, PanelView& view,
                  Language language, QWidget* window);
    ~LightingPanel() override;

    // Drawn over the keyboard picture and the captions, from a copy of the image: painting never
    // writes the image, and a read may be filling it meanwhile. The texts are fitted in layout
    // (with the controls the panel draws), or on their own without one.
    void paint(QPainter& painter, const SettingsImage& shown, TextLayout* layout = nullptr);

    // False while the start-up read fills the image: the sliders take no input.
    void setEditable(bool editable);

    // The effect list or the palm list is open: the next click belongs to it, and so do the
    // keys (controlKey takes Up, Down, Enter, Space and Esc for it).
    bool isListOpen() const;
    void clickOpenList(int x, int y);
    // Row hover in an open list; true when the window must be repainted.
    bool hoverOpenList(int x, int y);

    // A click on one of the panel's controls (3..17, 23..25, 33..35), found with controlAt in
    // table order. Every control takes its click whatever its status says, as it always has;
    // a click on a view switch while no lighting profile is chosen goes to the swatch beneath.
    void clickRegion(int region, int x, int y);

    // The panel's controls for the window's own table: PanelControls. The window hands each
    // call for one of their ids here.
    std::span<const ControlSpec> controls() const;
    ControlStatus controlStatus(int id) const;
    // The slider widget of a slider id, else none.
    QWidget* controlWidget(int id) const;
    // The effects of the effect box or the palm box, open or closed.
    std::vector<ControlItem> controlItems(int id) const;
    // Space or Enter on the focused control, or a screen reader's press: what a click does.
    void activateControl(int id);
    // Other keys on the focused control, and every key while a list is open: arrows in the
    // lists and the radio groups, Alt+Down opening a list, Enter on a swatch opening the colour
    // dialog. True when used.
    bool controlKey(int id, QKeyEvent* event);

    // After a read or a profile load: the sliders take the image's values.
    void refreshSliders();
    // A lighting value the keyboard changed itself (field 2..6, value as stored).
    void keyboardChanged(std::uint8_t field, std::uint8_t storedValue);

    // The per-key colour change for the selected keys (after the colour dialog's OK).
    void applyPerKeyColour(const std::array<bool, 113>& selectedKeys, std::uint32_t colour);

  signals:
    void repaintRequested();
    // Arrows moved the choice within a radio group: the keyboard focus goes along to `id`.
    void focusRequested(int id);

  private:
    class Impl;
    Impl* m_impl;
};

} // namespace q905
