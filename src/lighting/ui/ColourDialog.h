// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The custom colour dialog: fixed colour cells printed on its background, a colour spectrum
// control, a preview and the colour as R, G, B and H, S, L numbers. Frameless; dragged by its
// background. The chosen colour is currentColour, read by the caller after OK. With the
// keyboard the cells are one stop whose arrows choose a colour; Enter is OK, Esc is Cancel.

#include "base/Language.h"
#include "controls/ui/SkinnedDialog.h"
#include "lighting/ColourModel.h"

#include <array>

class QLineEdit;
class QPushButton;

namespace q905 {

class SkinCache;
class ColourSpectrum;

class ColourDialog : public SkinnedDialog {
    Q_OBJECT
  public:
    ColourDialog(SkinCache& skin, Language language, ColourValue currentColour,
                 QWidget* parent = nullptr);

    ColourValue currentColour() const { return m_currentColour; }

    ControlStatus controlStatus(int id) const override;
    void activateControl(int id) override;
    bool controlKey(int id, QKeyEvent* event) override;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void clicked(QPoint point) override;

  private:
    // A cell, or -1 for none: the spectrum, the fields and the preview follow.
    void selectCell(int cell);
    void spectrumChanged(quint32 colour);
    void refreshFields();

    SkinCache& m_skin;
    ColourValue m_currentColour;
    int m_selectedCell = -1;
    // Where the arrows start while no cell is selected.
    int m_cursorCell = 0;
    ColourSpectrum* m_spectrum = nullptr;
    // In the order of the table's ids kHue..kBlue.
    std::array<QLineEdit*, 6> m_fields{};
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace q905
