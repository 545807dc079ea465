// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/ui/KeyCapLabels.h"

#include "keys/KeyLabelBox.h"
#include "keys/KeyLabels.h"

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>

namespace q905 {

namespace {

const QColor kLabel(178, 178, 184);
const QColor kLitLabel(255, 232, 232);
constexpr int kCharacterPixelSize = 10;
// An arrow at a letter's size shows hardly any head.
constexpr int kArrowPixelSize = 14;
constexpr int kWordPixelSize = 9;
constexpr int kSmallestPixelSize = 7;
// Over a per-key colour.
constexpr int kColourLabelPixelSize = 10;

QFont labelFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    // Hinted glyphs stay crisp at a keycap's small sizes.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Condensing a little keeps a label the height of its neighbours; only then it shrinks.
QFont fittedFont(const QString& text, qreal width, int largest = kArrowPixelSize) {
    const bool arrow = text.size() == 1 && text[0] >= QChar(0x2190) && text[0] <= QChar(0x2193);
    QFont font = labelFont(std::min(largest, arrow              ? kArrowPixelSize
                                             : text.size() == 1 ? kCharacterPixelSize
                                                                : kWordPixelSize));
    for (int size = font.pixelSize(); size >= kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        for (int stretch = 100; stretch >= 80; stretch -= 10) {
            font.setStretch(stretch);
            if (QFontMetricsF(font).horizontalAdvance(text) <= width)
                return font;
        }
    }
    return font;
}

} // namespace

KeyCapLabels::KeyCapLabels(Language language, const KeyboardLayout* layout) {
    for (int key = 0; key < kKeyCount; ++key) {
        Label& label = m_labels[static_cast<std::size_t>(key)];
        label.text = QString::fromStdString(pictureLabel(key, language, layout));
        label.spoken = QString::fromStdString(spokenKeyName(key, language, layout));
        if (label.text.isEmpty())
            continue;
        const KeyLabelBox box = keyLabelBox(key);
        label.place =
            QRectF(kPictureOriginX + box.x, kPictureOriginY + box.y, box.width, box.height);
        label.font = fittedFont(label.text, label.place.width());
        const QFontMetricsF metrics(label.font);
        const QPointF size(metrics.horizontalAdvance(label.text), metrics.height());
        label.at = label.place.center() - size / 2;
        label.prepared.setText(label.text);
        label.prepared.setTextFormat(Qt::PlainText);
        label.prepared.prepare(QTransform(), label.font);

        // Over a per-key colour the label starts where the key table places it, at size 10
        // at most, kept on the key's face.
        const KeyEntry& entry = KeyTable[static_cast<std::size_t>(key)];
        label.colourFont = fittedFont(label.text, label.place.width(), kColourLabelPixelSize);
        const QFontMetricsF colourMetrics(label.colourFont);
        const qreal advance = colourMetrics.horizontalAdvance(label.text);
        const qreal x =
            std::clamp<qreal>(kLabelOriginX + entry.labelX, label.place.left(),
                              std::max(label.place.left(), label.place.right() - advance));
        // Kept as the baseline's start: the label's box starts at the table's y.
        label.colourAt = QPointF(x, kLabelOriginY + entry.labelY + colourMetrics.ascent());
    }
}

void KeyCapLabels::draw(QPainter& painter, const Label& label, const QColor& colour) {
    painter.setFont(label.font);
    painter.setPen(colour);
    painter.drawStaticText(label.at, label.prepared);
}

void KeyCapLabels::paint(QPainter& painter, const std::array<bool, kKeyCount>& lit) const {
    const QRectF shown = painter.hasClipping() ? painter.clipBoundingRect() : QRectF();
    painter.save();
    for (std::size_t key = 0; key < m_labels.size(); ++key) {
        const Label& label = m_labels[key];
        if (!label.text.isEmpty() && (shown.isNull() || shown.intersects(label.place)))
            draw(painter, label, lit[key] ? kLitLabel : kLabel);
    }
    painter.restore();
}

void KeyCapLabels::paint(QPainter& painter, int key, const QColor& colour) const {
    const Label& label = m_labels[static_cast<std::size_t>(key)];
    if (label.text.isEmpty())
        return;
    painter.save();
    painter.setFont(label.colourFont);
    painter.setPen(colour);
    painter.drawText(label.colourAt, label.text);
    painter.restore();
}

} // namespace q905
