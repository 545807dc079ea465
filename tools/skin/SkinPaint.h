// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skin's palette and the drawing pieces the pictures share, so every picture keeps one look.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>

class QPainter;

namespace q905::skin {

namespace palette {
inline const QColor kBackdrop{16, 16, 18};
inline const QColor kPanel{53, 53, 53}; // the program's text background on the left panel
inline const QColor kPanelEdgeLight{74, 74, 78};
inline const QColor kPanelEdgeDark{12, 12, 14};
inline const QColor kStrip{24, 24, 27};
inline const QColor kStripEdge{44, 44, 48};
inline const QColor kRed{196, 30, 38};
inline const QColor kRedDim{112, 22, 28};
inline const QColor kRedGlow{255, 70, 70};
inline const QColor kText{182, 182, 188};
inline const QColor kTextDim{120, 120, 126};
inline const QColor kGroove{20, 20, 22};
} // namespace palette

// The scale the pictures are drawn at: 1, or 2 for the "@2x" set. Drawing code works in the
// pixels of the 1x picture either way; the painter scales.
void setPictureScale(int scale);
int pictureScale();

// A transparent ARGB picture of that size (opaque formats are for pictures painted whole), at
// the picture scale.
QImage newPicture(int width, int height,
                  QImage::Format format = QImage::Format_ARGB32_Premultiplied);
// The picture's rectangle in drawing units.
QRect area(const QImage& picture);

// "Arial" at a pixel height, as the program's own texts are set.
QFont arialFont(int pixelSize, int weight = QFont::Normal);

// Text centred in the rectangle; shrunk (down to minPixelSize, then condensed) until it fits
// the rectangle's width.
void drawFittedText(QPainter& painter, const QRectF& rect, const QString& text, int pixelSize,
                    int minPixelSize, const QColor& colour);

// One-pixel lines and outlines in the pen's colour, covering the same pixels at every picture
// scale (an unsmoothed stroke straddles its line at 2x, where at 1x it lies right of and below
// it). The line runs from one pixel to the other, both included, across or down the picture;
// the outline covers what drawRect(rect) covers at 1x.
void drawPixelLine(QPainter& painter, const QPoint& from, const QPoint& to);
void drawPixelLine(QPainter& painter, int x1, int y1, int x2, int y2);
void drawPixelRect(QPainter& painter, const QRect& rect);
void drawPixelRect(QPainter& painter, int x, int y, int width, int height);

// A rounded plate with a soft top-to-bottom shade, a dark rim and a one-pixel highlight along
// the top: the shape of every button of the skin.
void drawPlate(QPainter& painter, const QRectF& rect, qreal radius, const QColor& top,
               const QColor& bottom, const QColor& rim);

// A thin horizontal line that fades out towards both ends.
void drawFadingLine(QPainter& painter, qreal x1, qreal x2, qreal y, const QColor& colour);

// A cross drawn into the rectangle with round ends.
void drawCross(QPainter& painter, const QRectF& mark, const QColor& colour);

// A dialog's close mark: a red cross on a small plate around the rectangle.
void drawCloseMark(QPainter& painter, const QRectF& mark);

} // namespace q905::skin
