// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/SkinTree.h"

#include "controls/ui/ScaledPicture.h"
#include <QHeaderView>
#include <QPainter>

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

void SkinTree::paintEvent(QPaintEvent*) {
    const QRect client = viewport()->rect();

    // At the screen's pixels, so the text stays sharp on a scaled screen.
    const qreal ratio = devicePixelRatioF();
    QImage surface(client.size() * ratio, QImage::Format_ARGB32_Premultiplied);
    surface.setDevicePixelRatio(ratio);
    QPainter painter(&surface);
    smoothWhenScaled(painter);
    painter.fillRect(client, kFlatColour);
    painter.setFont(font());
    painter.setPen(Qt::white);

    const bool barsShown = hasFocus() || m_showSelectionAlways;
    for (QTreeWidgetItem* item = itemAt(0, 0); item != nullptr; item = itemBelow(item)) {
        // Where the bar and the text of an item go.
        const QRect text = visualItemRect(item).translated(kTextShift, 0);
        if (text.top() > client.bottom())
            break;
        if (barsShown && item->isSelected())
            painter.fillRect(QRect(0, text.top(), client.width(), text.height()), kSelectionColour);
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
