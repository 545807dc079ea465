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

// A transparent ARGB picture of that size.
QImage newPicture(int width, int height);

// "Arial" at a pixel height, as the program's own texts are set.
QFont arialFont(int pixelSize, int weight = QFont::Normal);

// Text centred in the rectangle; shrunk (down to minPixelSize, then condensed) until it fits
// the rectangle's width.
void drawFittedText(QPainter& painter, const QRectF& rect, const QString& text, int pixelSize,
                    int minPixelSize, const QColor& colour);

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
