// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The colour spectrum control: a hue-saturation field with a crosshair and a luminosity bar
// with an arrow, for mouse and keyboard. Every change the user makes is reported.

#include "lighting/SpectrumModel.h"

#include <QImage>
#include <QWidget>

namespace q905 {

class ColourSpectrum : public QWidget {
    Q_OBJECT
  public:
    // rectangle: in the parent's coordinates; the control takes its colour as setColour does.
    ColourSpectrum(QWidget* parent, const QRect& rectangle, int controlId, ColourValue initial);

    void setColour(ColourValue colour);
    ColourValue colour() const { return m_model.colour(); }
    Hsl hsl() const { return m_model.hsl(); }
    int controlId() const { return m_controlId; }
    const SpectrumModel& model() const { return m_model; }

  signals:
    // The user changed the colour (a click, a drag or a key).
    void selectionChanged(quint32 colour, int controlId);
    // A double click settled on the colour.
    void selectionEnded(quint32 colour, int controlId);

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

  private:
    void apply(const SpectrumChange& change);
    const QImage& spectrumPicture();

    SpectrumModel m_model;
    int m_controlId;
    QImage m_picture; // made on the first paint and kept
};

} // namespace q905
