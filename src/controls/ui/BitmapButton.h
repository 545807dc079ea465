// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A small child window showing one frame of a bitmap strip for its state (normal, hover,
// pressed or latched); a push button or a toggle that can pass its mouse events to its parent.

#include "controls/BitmapButtonState.h"
#include "controls/ui/BitmapStrip.h"

#include <QWidget>

namespace q905 {

class BitmapButton : public QWidget {
    Q_OBJECT
  public:
    explicit BitmapButton(QWidget* parent);

    // Resizes the window to one frame at (0, 0).
    void setStrip(const QImage& picture, int frameWidth, int frameHeight);
    const BitmapStrip& strip() const { return m_strip; }

    void setControlId(int id) { m_controlId = id; }
    int controlId() const { return m_controlId; }
    void setForwarding(bool on) { m_forward = on; }
    void setToggleMode(bool on) { m_state.setToggleMode(on); }
    void setNotifyOnDown(bool on) { m_state.setNotifyOnDown(on); }

    int state() const { return m_state.state(); }
    bool latched() const { return m_state.latched(); }

  signals:
    void clicked(int controlId);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    void finishButton(bool notify, QMouseEvent* event);
    void forwardToParent(QMouseEvent* event);

    BitmapStrip m_strip;
    BitmapButtonState m_state;
    int m_controlId = 0;
    bool m_forward = false;
};

} // namespace q905
