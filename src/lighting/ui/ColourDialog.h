#pragma once
// The custom colour dialog: fixed colour cells printed on its background, a colour spectrum
// control, a preview and the colour as R, G, B and H, S, L numbers. Frameless; dragged by its
// background. The chosen colour is currentColour, read by the caller after OK.

#include "base/Language.h"
#include "controls/ui/BackgroundDrag.h"
#include "controls/ui/TextLayout.h"
#include "lighting/ColourModel.h"

#include <QDialog>

#include <array>

class QLineEdit;
class QPushButton;

namespace q905 {

class SkinCache;
class ColourSpectrum;

class ColourDialog : public QDialog {
    Q_OBJECT
  public:
    ColourDialog(SkinCache& skin, Language language, ColourValue currentColour,
                 QWidget* parent = nullptr);

    ColourValue currentColour() const { return m_currentColour; }
    // -1 when no cell is selected.
    int selectedCell() const { return m_selectedCell; }
    ColourSpectrum* spectrum() const { return m_spectrum; }
    // The six number fields: R, G, B, H, S, L.
    QString fieldText(int index) const;
    // The texts of the last painting, with the controls they keep clear of.
    const TextLayout& textLayout() const { return m_textLayout; }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void clickBackground(int x, int y);
    void spectrumChanged(quint32 colour);
    void refreshFields();

    SkinCache& m_skin;
    bool m_german;
    ColourValue m_currentColour;
    int m_selectedCell = -1;
    ColourSpectrum* m_spectrum = nullptr;
    std::array<QLineEdit*, 6> m_fields{};
    std::array<QPushButton*, 2> m_buttons{};
    TextLayout m_textLayout;
    BackgroundDrag m_drag{*this};
};

} // namespace q905
