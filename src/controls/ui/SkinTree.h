#pragma once
// A tree whose whole area it paints itself: a background (picture, gradient or flat colour) that
// scrolls with the items, white labels, a dark-red bar behind the selected item and small
// glyphs for collapsed and expanded branches instead of the style's branch lines.

#include <QColor>
#include <QImage>
#include <QTreeWidget>

namespace q905 {

class SkinTree : public QTreeWidget {
    Q_OBJECT
  public:
    enum class Background { Picture = 0, Gradient = 1, Flat = 2 };

    explicit SkinTree(QWidget* parent = nullptr);

    void setBackground(Background mode) {
        m_background = mode;
        viewport()->update();
    }
    Background background() const { return m_background; }
    // Mode Picture; without a picture the gradient is drawn instead.
    void setBackgroundPicture(QImage picture, bool tile);
    void setGradient(QColor start, QColor end, bool horizontal);
    // The bar also shows while the tree has no focus (a pre-selected item stays visible).
    void setShowSelectionAlways(bool on) { m_showSelectionAlways = on; }

    // Where the bar and the text of an item go, in viewport pixels.
    QRect textRect(QTreeWidgetItem* item) const;

    static const QColor kFlatColour;
    static const QColor kSelectionColour;

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    void paintBackground(QPainter& painter, const QRect& extent);

    Background m_background = Background::Gradient;
    QImage m_picture;
    bool m_tile = false;
    QColor m_gradientStart{255, 255, 255};
    QColor m_gradientEnd{213, 213, 224};
    bool m_horizontal = true;
    bool m_showSelectionAlways = false;
    QImage m_collapsedGlyph;
    QImage m_expandedGlyph;
};

} // namespace q905
