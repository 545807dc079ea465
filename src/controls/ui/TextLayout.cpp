// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/TextLayout.h"

#include "controls/ui/SkinCache.h"

#include <QFontMetrics>

namespace q905 {

void TextLayout::clear() {
    m_texts.clear();
    m_controls.clear();
}

void TextLayout::addControl(const QRect& control) {
    m_controls.push_back(control);
}

bool TextLayout::fits(const QRect& box, const QRect& panel) const {
    if (!panel.contains(box))
        return false;
    for (const QRect& control : m_controls)
        if (control.intersects(box))
            return false;
    for (const PlacedText& placed : m_texts)
        if (placed.box.intersects(box))
            return false;
    return true;
}

void TextLayout::draw(QPainter& painter, const QString& text, int x, int y, const QColor& colour,
                      int givenHeight, const QRect& panel) {
    // Nothing to draw and no box to fit: shrinking it would only load fonts for nothing.
    if (text.isEmpty())
        return;
    int height = givenHeight;
    QRect box = skinTextBox(text, x, y, height);
    while (height > kSmallestHeight && !fits(box, panel)) {
        --height;
        box = skinTextBox(text, x, y, height);
    }
    drawSkinText(painter, text, x, y, colour, height);
    m_texts.push_back({text, box, panel, height, givenHeight});
}

QRect skinTextBox(const QString& text, int x, int y, int pixelHeight) {
    const QFontMetrics metrics(skinFont(pixelHeight));
    return metrics.tightBoundingRect(text).translated(x, y + metrics.ascent());
}

} // namespace q905
