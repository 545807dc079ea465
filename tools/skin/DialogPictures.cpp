// SPDX-License-Identifier: GPL-3.0-or-later
// The macro dialog's and the profile dialog's pictures. Both dialogs hit-test and place their
// controls by tables in the core, so the plates, boxes and list panels here are drawn from the
// same numbers.
#include "macros/MacroDialogControls.h"
#include "profiles/ProfileDialogControls.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>

namespace q905::skin {
namespace {

QRect toRect(const RegionRect& region) {
    return {region.left, region.top, region.width(), region.height()};
}

// A dialog body: dark gradient, a header band with the red hairline, a black rim.
QImage dialogBody(int width, int height) {
    QImage picture = newPicture(width, height, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient body(0, 0, 0, height);
    body.setColorAt(0.0, QColor(28, 28, 31));
    body.setColorAt(1.0, QColor(15, 15, 17));
    painter.fillRect(area(picture), body);
    QLinearGradient header(0, 0, 0, 30);
    header.setColorAt(0.0, QColor(40, 40, 44));
    header.setColorAt(1.0, QColor(24, 24, 27));
    painter.fillRect(0, 0, width, 30, header);
    painter.fillRect(0, 30, width, 1, QColor(6, 6, 8));
    drawFadingLine(painter, -120, width + 120, 29, palette::kRedDim);
    painter.setPen(QColor(4, 4, 5));
    drawPixelRect(painter, 0, 0, width - 1, height - 1);
    return picture;
}

// A list panel sunk into the dialog: the list draws its rows straight on this picture.
void drawListPanel(QPainter& painter, const QRect& place) {
    QLinearGradient fill(0, place.top(), 0, place.bottom());
    fill.setColorAt(0.0, QColor(20, 20, 23));
    fill.setColorAt(1.0, QColor(12, 12, 14));
    painter.fillRect(place, fill);
    const QRect frame = place.adjusted(-1, -1, 0, 0);
    painter.setPen(QColor(6, 6, 8));
    drawPixelLine(painter, frame.topLeft(), frame.topRight());
    drawPixelLine(painter, frame.topLeft(), frame.bottomLeft());
    painter.setPen(QColor(66, 66, 72));
    drawPixelLine(painter, frame.bottomLeft() + QPoint(1, 1), frame.bottomRight() + QPoint(1, 1));
    drawPixelLine(painter, frame.topRight() + QPoint(1, 1), frame.bottomRight() + QPoint(1, 1));
}

QImage plate(int width, int height, bool over, bool primary = false) {
    QImage picture = newPicture(width, height);
    QPainter painter(&picture);
    if (primary || over)
        drawPlate(painter, QRectF(area(picture)), 3,
                  over ? QColor(190, 40, 46) : QColor(150, 28, 34),
                  over ? QColor(120, 20, 26) : QColor(92, 14, 18), QColor(26, 4, 6));
    else
        drawPlate(painter, QRectF(area(picture)), 3, QColor(70, 70, 76), QColor(38, 38, 42),
                  QColor(14, 14, 16));
    return picture;
}

QImage tickBox(bool ticked) {
    using namespace macro_dialog;
    const RegionRect& box = placeOf(kDelayBox);
    QImage picture = newPicture(box.width(), box.height());
    QPainter painter(&picture);
    painter.fillRect(area(picture), QColor(14, 14, 16));
    painter.setPen(QColor(120, 120, 126));
    drawPixelRect(painter, area(picture).adjusted(0, 0, -1, -1));
    if (ticked) {
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(0, 230, 230), 2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        painter.drawPolyline(QPolygonF{{3.5, 7.5}, {6.0, 10.5}, {11.5, 3.5}});
    }
    return picture;
}

QImage macroBackground() {
    using namespace macro_dialog;
    QImage picture = dialogBody(kWidth, kHeight);
    QPainter painter(&picture);
    drawListPanel(painter, toRect(placeOf(kNameList)));
    drawListPanel(painter, toRect(placeOf(kEventList)));
    // The loop count's frame, and the close mark that is part of the background.
    painter.fillRect(toRect(placeOf(kLoopCount)).adjusted(-1, -1, 1, 1), QColor(6, 6, 8));
    const QRectF close(toRect(placeOf(kCloseMark)));
    drawPlate(painter, close.adjusted(-3, -3, 3, 3), 3, QColor(48, 48, 53), QColor(27, 27, 30),
              QColor(6, 6, 8));
    drawCross(painter, close.adjusted(1, 1, -1, -1), QColor(232, 88, 88));
    // The right-hand column: a hairline under the record button and above the loop.
    drawFadingLine(painter, 252, kWidth - 6, 140, QColor(70, 70, 76));
    drawFadingLine(painter, 252, kWidth - 6, 292, QColor(70, 70, 76));
    drawFadingLine(painter, 6, kWidth - 6, 364, QColor(50, 50, 56));
    return picture;
}

QImage profileBackground() {
    using namespace profile_dialog;
    const auto place = [](int id) { return toRect(controlById(kControls, id)->rect); };
    QImage picture = dialogBody(kWidth, kHeight);
    QPainter painter(&picture);
    drawListPanel(painter, place(kList));
    for (int button : {kImport, kExport}) {
        const QRect band = place(button);
        drawPlate(painter, QRectF(band), 4, QColor(70, 70, 76), QColor(38, 38, 42),
                  QColor(14, 14, 16));
        painter.fillRect(band.left() + 8, band.bottom() - 5, band.width() - 16, 2,
                         palette::kRedDim);
    }
    // The close area at the bottom left carries a cross of its own.
    const QRect closeArea = place(kCloseArea);
    drawPlate(painter, QRectF(closeArea), 3, QColor(70, 70, 76), QColor(38, 38, 42),
              QColor(14, 14, 16));
    const QPointF centre = QRectF(closeArea).center();
    drawCross(painter, QRectF(centre.x() - 4, centre.y() - 4, 8, 8), QColor(232, 88, 88));
    return picture;
}

QImage profileCloseButton() {
    QImage picture = newPicture(7, 8);
    QPainter painter(&picture);
    drawCross(painter, QRectF(0.5, 1, 6, 6), QColor(232, 88, 88));
    return picture;
}

} // namespace

void addDialogPictures(PictureSet& pictures) {
    using namespace macro_dialog;
    const QString macro = QStringLiteral("MacroManagement/");
    const RegionRect& record = placeOf(kRecord);
    const RegionRect& button = placeOf(kNew);
    pictures.push_back({macro + "MacroManagement.png", macroBackground()});
    pictures.push_back(
        {macro + "Record-normal.png", plate(record.width(), record.height(), false)});
    pictures.push_back({macro + "Record-over.png", plate(record.width(), record.height(), true)});
    pictures.push_back({macro + "Pane.png", tickBox(false)});
    pictures.push_back({macro + "PaneMakingTick.png", tickBox(true)});
    pictures.push_back(
        {macro + "button-new-normal.png", plate(button.width(), button.height(), false)});
    pictures.push_back(
        {macro + "button-new-over.png", plate(button.width(), button.height(), true)});

    const QString config = QStringLiteral("Config/");
    pictures.push_back({config + "Profile_BK.png", profileBackground()});
    pictures.push_back({config + "button-close-normal.png", profileCloseButton()});
}

} // namespace q905::skin
