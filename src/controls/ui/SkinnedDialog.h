// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A frameless dialog drawn from the skin, its controls declared in a control table: it hosts
// them for the focus, the keys and screen readers, is dragged by its background, and turns a
// left press and release that moved nothing into a click for the dialog to act on.

#include "base/Language.h"
#include "controls/ui/BackgroundDrag.h"
#include "controls/ui/ControlFocus.h"
#include "controls/ui/PaintedControlHost.h"
#include "controls/ui/TextLayout.h"

#include <QColor>
#include <QDialog>

#include <map>
#include <span>

class QImage;
class QPainter;

namespace q905 {

class SkinnedDialog : public QDialog, public PaintedControlHost {
    Q_OBJECT
  public:
    QWidget* hostWidget() override { return this; }
    std::span<const ControlSpec> controls() const override { return m_controls; }
    Language controlLanguage() const override { return m_language; }
    QWidget* controlWidget(int id) const override;
    std::optional<int> focusedControl() const override { return m_focus.focusedId(); }
    const ControlFocus& controlFocus() const { return m_focus; }
    // The texts of the last painting, with the controls they keep clear of.
    const TextLayout& textLayout() const { return m_textLayout; }

  protected:
    // controls: the dialog's control table, which outlives it.
    SkinnedDialog(Language language, std::span<const ControlSpec> controls, QWidget* parent);

    // The real widget (a list, a text field, a button) that is the table's control id.
    void setControlWidget(int id, QWidget* widget) { m_widgets[id] = widget; }
    // The skin's background, or a plain fill of its colour while the picture is missing.
    void paintBackground(QPainter& painter, const QImage& background, const QColor& fallback);

    // Where a press may drag the dialog: not on a control of its own.
    virtual bool isBackground(QPoint /*point*/) const { return true; }
    // The pointer moved over the dialog (for hover marks).
    virtual void pointerMoved(QPoint /*point*/) {}
    virtual void clicked(QPoint point) = 0;

    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    // The focus keys (Tab, the arrows, Space and Enter on a control), then the dialog's own.
    void keyPressEvent(QKeyEvent* event) override;
    bool focusNextPrevChild(bool next) override { return m_focus.moveFocus(!next); }

    const Language m_language;
    const std::span<const ControlSpec> m_controls;
    TextLayout m_textLayout;
    ControlFocus m_focus{*this};

  private:
    BackgroundDrag m_drag{*this};
    std::map<int, QWidget*> m_widgets;
};

} // namespace q905
