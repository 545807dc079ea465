// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A tree whose whole area it paints itself: a flat dark background, white labels, a dark-red bar
// behind the selected item and small glyphs for collapsed and expanded branches instead of the
// style's branch lines.

#include <QColor>
#include <QImage>
#include <QTreeWidget>

namespace q905 {

class SkinTree : public QTreeWidget {
    Q_OBJECT
  public:
    explicit SkinTree(QWidget* parent = nullptr);

    // The bar also shows while the tree has no focus (a pre-selected item stays visible).
    void setShowSelectionAlways(bool on) { m_showSelectionAlways = on; }

    static const QColor kFlatColour;
    static const QColor kSelectionColour;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    bool m_showSelectionAlways = false;
    QImage m_collapsedGlyph;
    QImage m_expandedGlyph;
};

} // namespace q905
