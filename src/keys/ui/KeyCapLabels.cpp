// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/ui/KeyCapLabels.h"

#include "keys/KeyLabelBox.h"
#include "keys/KeyLabels.h"

#include "controls/ui/TextPictures.h"

#include <QPainter>

namespace q905 {

namespace {

const QColor kLabel(178, 178, 184);
const QColor kLitLabel(255, 232, 232);
constexpr int kCharacterPixelSize = 10;
// An arrow at a letter's size shows hardly any head.
constexpr int kArrowPixelSize = 14;
constexpr int kWordPixelSize = 9;
constexpr int kSmallestPixelSize = 7;

QFont labelFont(int pixelSize) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    // Hinted glyphs stay crisp at a keycap's small sizes.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

// Condensing a little keeps a label the height of its neighbours; only then it shrinks.
QFont fittedFont(const QString& text, qreal width) {
    const bool arrow = text.size() == 1 && text[0] >= QChar(0x2190) && text[0] <= QChar(0x2193);
    QFont font = labelFont(arrow              ? kArrowPixelSize
                           : text.size() == 1 ? kCharacterPixelSize
                                              : kWordPixelSize);
    for (int size = font.pixelSize(); size >= kSmallestPixelSize; --size) {
        font.setPixelSize(size);
        for (int stretch = 100; stretch >= 80; stretch -= 10) {
            font.setStretch(stretch);
            if (sharedTextPictures().measure(font, text).advance <= width)
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
        const TextMeasure& measured = sharedTextPictures().measure(label.font, label.text);
        label.at = label.place.center() - QPointF(measured.advance, measured.height) / 2;
    }
}

void KeyCapLabels::draw(QPainter& painter, const Label& label, const QColor& colour) {
    sharedTextPictures().draw(painter, label.at, label.font, label.text, colour);
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
    draw(painter, label, colour);
    painter.restore();
}

} // namespace q905
