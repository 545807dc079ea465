#include "controls/ui/SkinTree.h"

#include "controls/ui/ScaledPicture.h"
#include <QHeaderView>
#include <QLinearGradient>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>

namespace q905 {

namespace {

constexpr int kTextShift = 7;
constexpr int kGlyphSize = 9;
constexpr int kGlyphGap = 2;
constexpr int kGlyphTop = 4;

// A 9 x 9 box with a minus, and with a plus for a collapsed branch.
QImage drawGlyph(bool expanded) {
    QImage glyph(kGlyphSize, kGlyphSize, QImage::Format_RGB32);
    glyph.fill(QColor(30, 30, 30));
    QPainter painter(&glyph);
    painter.setPen(QColor(150, 150, 156));
    painter.drawRect(0, 0, kGlyphSize - 1, kGlyphSize - 1);
    painter.setPen(QColor(255, 255, 255));
    painter.drawLine(2, 4, 6, 4);
    if (!expanded)
        painter.drawLine(4, 2, 4, 6);
    return glyph;
}

} // namespace

const QColor SkinTree::kFlatColour{30, 30, 30};
const QColor SkinTree::kSelectionColour{102, 46, 47};

SkinTree::SkinTree(QWidget* parent)
    : QTreeWidget(parent), m_collapsedGlyph(drawGlyph(false)), m_expandedGlyph(drawGlyph(true)) {
    header()->hide();
    setFrameShape(QFrame::NoFrame);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setSelectionMode(QAbstractItemView::SingleSelection);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette colours = palette();
    colours.setColor(QPalette::Text, Qt::white);
    setPalette(colours);
}

void SkinTree::setBackgroundPicture(QImage picture, bool tile) {
    m_picture = std::move(picture);
    m_tile = tile;
    viewport()->update();
}

void SkinTree::setGradient(QColor start, QColor end, bool horizontal) {
    m_gradientStart = start;
    m_gradientEnd = end;
    m_horizontal = horizontal;
    viewport()->update();
}

QRect SkinTree::textRect(QTreeWidgetItem* item) const {
    return visualItemRect(item).translated(kTextShift, 0);
}

void SkinTree::paintBackground(QPainter& painter, const QRect& extent) {
    if (m_background == Background::Flat) {
        painter.fillRect(viewport()->rect(), kFlatColour);
        return;
    }
    if (m_background == Background::Picture && !m_picture.isNull()) {
        if (!m_tile) {
            painter.drawImage(extent, m_picture);
            return;
        }
        const QSize tile = logicalSize(m_picture);
        for (int column = 0; column <= extent.width() / tile.width(); ++column) {
            for (int row = 0; row <= extent.height() / tile.height(); ++row)
                painter.drawImage(extent.x() + column * tile.width(),
                                  extent.y() + row * tile.height(), m_picture);
        }
        return;
    }
    const QPointF end = m_horizontal ? QPointF(extent.right() + 1, extent.top())
                                     : QPointF(extent.left(), extent.bottom() + 1);
    QLinearGradient gradient(extent.topLeft(), end);
    gradient.setColorAt(0, m_gradientStart);
    gradient.setColorAt(1, m_gradientEnd);
    painter.fillRect(extent, gradient);
}

void SkinTree::paintEvent(QPaintEvent*) {
    const QRect client = viewport()->rect();
    // The background covers the whole content and scrolls with it.
    const QScrollBar* horizontal = horizontalScrollBar();
    const QScrollBar* vertical = verticalScrollBar();
    const int rowHeight = topLevelItemCount() > 0
                              ? std::max(1, visualItemRect(topLevelItem(0)).height())
                              : fontMetrics().height();
    QRect extent = client;
    if (horizontal->maximum() > 0) {
        extent.setLeft(-horizontal->value());
        extent.setWidth(std::max(horizontal->maximum() + client.width(), client.width()));
    }
    if (vertical->maximum() > 0) {
        extent.setTop(-rowHeight * vertical->value());
        extent.setHeight(std::max(
            (rowHeight + 1) * (vertical->maximum() + vertical->pageStep() + 1), client.height()));
    }

    // At the screen's pixels, so the text stays sharp on a scaled screen.
    const qreal ratio = devicePixelRatioF();
    QImage surface(client.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    QPainter painter(&surface);
    smoothWhenScaled(painter);
    paintBackground(painter, extent);
    painter.setFont(font());
    painter.setPen(Qt::white);

    const bool barsShown = hasFocus() || m_showSelectionAlways;
    for (QTreeWidgetItem* item = itemAt(0, 0); item != nullptr; item = itemBelow(item)) {
        const QRect text = textRect(item);
        if (text.top() > client.bottom())
            break;
        if (barsShown && item->isSelected())
            painter.fillRect(QRect(0, text.top(), extent.x() + extent.width(), text.height()),
                             kSelectionColour);
        if (item->childCount() > 0)
            painter.drawImage(text.left() - kGlyphSize - kGlyphGap, text.top() + kGlyphTop,
                              item->isExpanded() ? m_expandedGlyph : m_collapsedGlyph);
        painter.drawText(text.adjusted(0, 1, 0, -1), Qt::AlignLeft | Qt::AlignTop, item->text(0));
    }
    painter.end();

    QPainter window(viewport());
    window.drawImage(client.topLeft(), surface);
}

} // namespace q905
