// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard picture is drawn from the key table itself, so every keycap lies exactly where
// the window hit-tests and where it copies highlighted keys from "kb_hl.png". The keycaps are
// blank: the window writes the labels of the user's layout and language onto them.
#include "keys/KeyLabelBox.h"
#include "keys/KeyTable.h"
#include "skin/SkinLayout.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <stdexcept>

namespace q905::skin {
namespace {

// The keys whose edges shape the L of the main Enter key: the upper arm ends where the row of
// "]" ends, the lower arm starts after "\" of the row below.
constexpr int kEnterUpperNeighbour = 53;
constexpr int kEnterLowerNeighbour = 74;

constexpr int kCaseMargin = 12;
constexpr int kCaseTopMargin = 19; // room for the maker's mark and the lock lights
constexpr int kWellMargin = 4;

struct KeycapLook {
    QColor skirtTop, skirtBottom;
    QColor faceTop, faceBottom;
    QColor faceRim; // the highlight along the face's back edge
};

const KeycapLook kDarkKeycap{
    {60, 60, 66}, {24, 24, 27}, {47, 47, 52}, {37, 37, 41}, {72, 72, 78, 120}};
const KeycapLook kLitKeycap{
    {214, 48, 54}, {96, 12, 16}, {132, 22, 28}, {96, 14, 19}, {255, 96, 96, 170}};

// A key covers [left, right) x [top, bottom): the right and bottom pixels of a table rectangle
// are the gap to the next key, which is also what the window fills and copies.
struct KeyShape {
    QPainterPath body;
    QPainterPath face;
};

QRectF keyArea(const KeyEntry& key) {
    return QRectF(key.left, key.top, key.right - key.left, key.bottom - key.top);
}

// The face is where the window writes the label.
KeyShape rectangularKey(int index) {
    KeyShape shape;
    shape.body.addRect(keyArea(KeyTable[static_cast<std::size_t>(index)]));
    const KeyLabelBox face = keyLabelBox(index);
    shape.face.addRoundedRect(QRectF(face.x, face.y, face.width, face.height), 2, 2);
    return shape;
}

KeyShape enterKey() {
    const KeyEntry& enter = KeyTable[kMainEnterKeyIndex];
    const qreal left = enter.left, top = enter.top, right = enter.right, bottom = enter.bottom;
    const qreal notchX = KeyTable[kEnterLowerNeighbour].right + 1;
    const qreal notchY = KeyTable[kEnterUpperNeighbour].bottom;
    KeyShape shape;
    shape.body.addPolygon(QPolygonF{{left, top},
                                    {right, top},
                                    {right, bottom},
                                    {notchX, bottom},
                                    {notchX, notchY},
                                    {left, notchY}});
    shape.body.closeSubpath();
    // The same insets as a rectangular key, taken at each edge of the L.
    QPainterPath face;
    face.addPolygon(QPolygonF{{left + 2, top + 1},
                              {right - 2, top + 1},
                              {right - 2, bottom - 3},
                              {notchX + 2, bottom - 3},
                              {notchX + 2, notchY - 3},
                              {left + 2, notchY - 3}});
    face.closeSubpath();
    shape.face = face;
    return shape;
}

void drawKeycap(QPainter& painter, const KeyShape& shape, const KeycapLook& look) {
    const QRectF bounds = shape.body.boundingRect();
    QLinearGradient skirt(bounds.topLeft(), bounds.bottomLeft());
    skirt.setColorAt(0.0, look.skirtTop);
    skirt.setColorAt(1.0, look.skirtBottom);
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillPath(shape.body, skirt);

    painter.setRenderHint(QPainter::Antialiasing, true);
    const QRectF faceBounds = shape.face.boundingRect();
    QLinearGradient face(faceBounds.topLeft(), faceBounds.bottomLeft());
    face.setColorAt(0.0, look.faceTop);
    face.setColorAt(1.0, look.faceBottom);
    painter.fillPath(shape.face, face);
    // A highlight along the back edge of the face: light falls from above.
    painter.setPen(QPen(look.faceRim, 1.0));
    painter.drawLine(QPointF(faceBounds.left() + 2, faceBounds.top() + 0.5),
                     QPointF(faceBounds.right() - 2, faceBounds.top() + 0.5));
}

QRect keysBounds() {
    int left = kKeyboardWidth, top = kKeyboardHeight, right = 0, bottom = 0;
    for (const KeyEntry& key : KeyTable) {
        if (!key.isPlaced())
            continue;
        left = std::min(left, key.left);
        top = std::min(top, key.top);
        right = std::max(right, key.right);
        bottom = std::max(bottom, key.bottom);
    }
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

void drawCase(QPainter& painter, const QRect& keys) {
    const QRectF caseRect =
        QRectF(keys).adjusted(-kCaseMargin, -kCaseTopMargin, kCaseMargin, kCaseMargin);
    if (!QRectF(0, 0, kKeyboardWidth, kKeyboardHeight).contains(caseRect.adjusted(0, 0, 0, 5)))
        throw std::runtime_error("the keys do not fit the keyboard picture");

    painter.setRenderHint(QPainter::Antialiasing, true);
    // A soft shadow under the front edge lifts the keyboard off the window.
    for (int step = 0; step < 5; ++step) {
        const QRectF shadow = caseRect.adjusted(6 - step, 3, -6 + step, 1 + step);
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(0, 0, 0, 34));
        painter.drawRoundedRect(shadow, 12, 12);
    }

    drawPlate(painter, caseRect, 10, QColor(44, 44, 48), QColor(25, 25, 28), QColor(6, 6, 8));

    const QRectF well =
        QRectF(keys).adjusted(-kWellMargin, -kWellMargin, kWellMargin + 1, kWellMargin + 1);
    painter.setPen(QPen(QColor(52, 52, 57), 1.0));
    painter.setBrush(QColor(12, 12, 14));
    painter.drawRoundedRect(well.adjusted(0.5, 0.5, -0.5, -0.5), 3, 3);
    painter.setPen(QPen(QColor(4, 4, 5), 1.0));
    painter.drawLine(QPointF(well.left() + 3, well.top() + 1.5),
                     QPointF(well.right() - 3, well.top() + 1.5));

    // Maker's mark and the three lock lights in the band above the keys.
    const qreal bandTop = caseRect.top() + 4;
    painter.setFont(arialFont(8, QFont::DemiBold));
    QFont mark = painter.font();
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 2.0);
    painter.setFont(mark);
    painter.setPen(QColor(104, 104, 110));
    painter.drawText(QRectF(keys.left(), bandTop, 120, 10), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KORVANE"));
    painter.setPen(palette::kRed);
    painter.drawText(QRectF(keys.left() + 58, bandTop, 40, 10), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Q905"));
    for (int light = 0; light < 3; ++light) {
        const qreal x = keys.right() - 62 + 24 * light;
        painter.setPen(QPen(QColor(6, 6, 8), 1.0));
        painter.setBrush(light == 0 ? QColor(150, 26, 32) : QColor(58, 20, 22));
        painter.drawEllipse(QPointF(x, bandTop + 5), 2.2, 2.2);
    }

    // A faint red underglow along the front edge.
    drawFadingLine(painter, caseRect.left() + 30, caseRect.right() - 30, caseRect.bottom() - 2,
                   palette::kRedDim);
}

QImage drawKeyboard(const KeycapLook& look) {
    QImage picture = newPicture(kKeyboardWidth, kKeyboardHeight);
    QPainter painter(&picture);
    drawCase(painter, keysBounds());
    for (int index = 0; index < kKeyCount; ++index) {
        const KeyEntry& key = KeyTable[static_cast<std::size_t>(index)];
        if (!key.isPlaced())
            continue;
        drawKeycap(painter, index == kMainEnterKeyIndex ? enterKey() : rectangularKey(index), look);
    }
    return picture;
}

} // namespace

void addKeyboardPictures(PictureSet& pictures) {
    pictures.push_back({QStringLiteral("kb_BK.png"), drawKeyboard(kDarkKeycap)});
    pictures.push_back({QStringLiteral("kb_hl.png"), drawKeyboard(kLitKeycap)});
}

} // namespace q905::skin
