// SPDX-License-Identifier: GPL-3.0-or-later
// The custom colour dialog's background, drawn at the places of the dialog's controls: the
// printed colour cells, the close mark, the plates under the number fields, the spectrum and
// the buttons. The dialog draws its selection box around a cell, so the grid sits exactly there.
#include "lighting/BasicColourTable.h"
#include "lighting/ColourDialogControls.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>

namespace q905::skin {
namespace {

using namespace colour_dialog;

QRect placeOf(int id) {
    const RegionRect& place = controlById(kControls, id)->rect;
    return {place.left, place.top, place.width(), place.height()};
}

const QColor kGroupFill{34, 34, 38};
const QColor kCellRing{112, 112, 118}; // the dialog's selection box turns it black
const QColor kInsetDark{8, 8, 10};
const QColor kInsetLight{72, 72, 78};

// A raised group box for the grid and the value fields.
void drawGroup(QPainter& painter, const QRect& rect) {
    painter.fillRect(rect, kGroupFill);
    painter.setPen(QColor(58, 58, 64));
    drawPixelLine(painter, rect.topLeft(), rect.topRight());
    drawPixelLine(painter, rect.topLeft(), rect.bottomLeft());
    painter.setPen(QColor(10, 10, 12));
    drawPixelLine(painter, rect.bottomLeft(), rect.bottomRight());
    drawPixelLine(painter, rect.topRight(), rect.bottomRight());
}

// A frame sunk into the dialog, one pixel outside `inner`.
void drawInset(QPainter& painter, const QRect& inner, const QColor& fill) {
    painter.fillRect(inner, fill);
    const QRect frame = inner.adjusted(-1, -1, 0, 0);
    painter.setPen(kInsetDark);
    drawPixelLine(painter, frame.topLeft(), frame.topRight());
    drawPixelLine(painter, frame.topLeft(), frame.bottomLeft());
    painter.setPen(kInsetLight);
    drawPixelLine(painter, frame.bottomLeft() + QPoint(1, 1), frame.bottomRight() + QPoint(1, 1));
    drawPixelLine(painter, frame.topRight() + QPoint(1, 1), frame.bottomRight() + QPoint(1, 1));
}

void drawColourCells(QPainter& painter) {
    for (int index = 0; index < kPrintedCells; ++index) {
        const ColourCell& cell = BasicColourTable[static_cast<std::size_t>(index)];
        // The dialog's selection box runs through (x - 1, y - 1) and (x + 12, y + 11).
        painter.setPen(kCellRing);
        painter.setBrush(Qt::NoBrush);
        drawPixelRect(painter, cell.x - 1, cell.y - 1, 13, 12);
        painter.fillRect(cell.x, cell.y, 12, 11,
                         QColor(redOf(cell.colour), greenOf(cell.colour), blueOf(cell.colour)));
    }
}

void drawCloseMark(QPainter& painter) {
    skin::drawCloseMark(painter, QRectF(placeOf(kCloseMark)));
}

QImage colourDialogBackground() {
    QImage picture = newPicture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient body(0, 0, 0, kHeight);
    body.setColorAt(0.0, QColor(26, 26, 29));
    body.setColorAt(1.0, QColor(16, 16, 18));
    painter.fillRect(area(picture), body);

    // Header band behind the dialog's title, with the window's red hairline.
    QLinearGradient header(0, 0, 0, 24);
    header.setColorAt(0.0, QColor(38, 38, 42));
    header.setColorAt(1.0, QColor(24, 24, 27));
    painter.fillRect(0, 0, kWidth, 24, header);
    painter.fillRect(0, 24, kWidth, 1, QColor(6, 6, 8));
    drawFadingLine(painter, -120, kWidth + 120, 23, palette::kRedDim);
    drawCloseMark(painter);

    // The basic colours, and below them the preview with the H, S, L and R, G, B fields.
    drawGroup(painter, QRect(5, 33, 162, 104));
    drawColourCells(painter);
    drawGroup(painter, QRect(5, 143, 162, 59));
    const QRect preview(QPoint(kPreview.left, kPreview.top),
                        QPoint(kPreview.right, kPreview.bottom));
    drawInset(painter, preview, QColor(12, 12, 12));
    for (int field : {kHue, kSaturation, kLuminosity, kRed, kGreen, kBlue})
        drawInset(painter, placeOf(field).adjusted(0, 0, 0, -1), QColor(18, 18, 20));

    drawInset(painter, placeOf(kSpectrum), QColor(12, 12, 14));

    drawPlate(painter, QRectF(placeOf(kOk)), 3, QColor(150, 28, 34), QColor(92, 14, 18),
              QColor(26, 4, 6));
    drawPlate(painter, QRectF(placeOf(kCancel)), 3, QColor(70, 70, 76), QColor(38, 38, 42),
              QColor(14, 14, 16));

    painter.setPen(QColor(4, 4, 5));
    painter.setBrush(Qt::NoBrush);
    drawPixelRect(painter, 0, 0, kWidth - 1, kHeight - 1);
    return picture;
}

} // namespace

void addColourDialogPictures(PictureSet& pictures) {
    pictures.push_back({QStringLiteral("Color_BK.png"), colourDialogBackground()});
}

} // namespace q905::skin
