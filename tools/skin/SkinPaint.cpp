// SPDX-License-Identifier: GPL-3.0-or-later
#include "skin/SkinPaint.h"

#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace q905::skin {

namespace {
int gPictureScale = 1;
} // namespace

void setPictureScale(int scale) {
    gPictureScale = scale;
}

int pictureScale() {
    return gPictureScale;
}

QImage newPicture(int width, int height, QImage::Format format) {
    QImage picture(width * gPictureScale, height * gPictureScale, format);
    picture.setDevicePixelRatio(gPictureScale);
    picture.fill(Qt::transparent);
    return picture;
}

QRect area(const QImage& picture) {
    return QRect(QPoint(0, 0), picture.deviceIndependentSize().toSize());
}

QFont arialFont(int pixelSize, int weight) {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(pixelSize);
    font.setWeight(static_cast<QFont::Weight>(weight));
    // Hinted glyphs stay crisp at the small sizes of key labels and scales.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

void drawPixelLine(QPainter& painter, const QPoint& from, const QPoint& to) {
    painter.fillRect(QRect(from, to).normalized(), painter.pen().color());
}

void drawPixelLine(QPainter& painter, int x1, int y1, int x2, int y2) {
    drawPixelLine(painter, QPoint(x1, y1), QPoint(x2, y2));
}

void drawPixelRect(QPainter& painter, const QRect& rect) {
    drawPixelRect(painter, rect.x(), rect.y(), rect.width(), rect.height());
}

void drawPixelRect(QPainter& painter, int x, int y, int width, int height) {
    drawPixelLine(painter, x, y, x + width, y);
    drawPixelLine(painter, x, y + height, x + width, y + height);
    drawPixelLine(painter, x, y, x, y + height);
    drawPixelLine(painter, x + width, y, x + width, y + height);
}

void drawFittedText(QPainter& painter, const QRectF& rect, const QString& text, int pixelSize,
                    int minPixelSize, const QColor& colour) {
    // Condensing a little keeps a label the same height as its neighbours; only then shrink.
    QFont font = arialFont(pixelSize);
    bool fits = false;
    for (int size = pixelSize; size >= minPixelSize && !fits; --size) {
        font.setPixelSize(size);
        for (int stretch = 100; stretch >= 80 && !fits; stretch -= 10) {
            font.setStretch(stretch);
            fits = QFontMetricsF(font).horizontalAdvance(text) <= rect.width();
        }
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(rect, Qt::AlignCenter, text);
    painter.restore();
}

void drawPlate(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
               const QColor& bottom, const QColor& rim) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF outer = rect.adjusted(0.5, 0.5, -0.5, -0.5);
    QLinearGradient shade(outer.topLeft(), outer.bottomLeft());
    shade.setColorAt(0.0, top);
    shade.setColorAt(1.0, bottom);
    painter.setPen(QPen(rim, 1.0));
    painter.setBrush(shade);
    painter.drawRoundedRect(outer, radius, radius);
    // The highlight catches the light from above, so the plate reads as raised.
    QColor highlight = top.lighter(135);
    highlight.setAlpha(150);
    painter.setPen(QPen(highlight, 1.0));
    painter.drawLine(QPointF(outer.left() + radius, outer.top() + 1.0),
                     QPointF(outer.right() - radius, outer.top() + 1.0));
    painter.restore();
}

void drawFadingLine(QPainter& painter, qreal x1, qreal x2, qreal y, const QColor& colour) {
    QColor clear = colour;
    clear.setAlpha(0);
    QLinearGradient fade(QPointF(x1, y), QPointF(x2, y));
    fade.setColorAt(0.0, clear);
    fade.setColorAt(0.15, colour);
    fade.setColorAt(0.85, colour);
    fade.setColorAt(1.0, clear);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(x1, y, x2 - x1, 1.0), fade);
    painter.restore();
}

void drawCross(QPainter& painter, const QRectF& mark, const QColor& colour) {
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(colour, 1.4, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(mark.topLeft() + QPointF(0.5, 0.5), mark.bottomRight() - QPointF(0.5, 0.5));
    painter.drawLine(QPointF(mark.right() - 0.5, mark.top() + 0.5),
                     QPointF(mark.left() + 0.5, mark.bottom() - 0.5));
    painter.restore();
}

void drawCloseMark(QPainter& painter, const QRectF& mark) {
    drawPlate(painter, mark.adjusted(-4, -3, 4, 3), 3, QColor(48, 48, 53), QColor(27, 27, 30),
              QColor(6, 6, 8));
    drawCross(painter, mark, QColor(232, 88, 88));
}

} // namespace q905::skin
