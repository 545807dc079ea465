// SPDX-License-Identifier: GPL-3.0-or-later
// The key assignment dialog's pictures in "Custom/": its background with the tabs, the
// disable/enable box, the Reset/Close and Save plates, and the Advance rows' path box and browse
// button. They are drawn at the places of the dialog's controls table and carry no words: the
// dialog writes every caption itself.
#include "keys/KeyDialogControls.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>

#include <array>

namespace q905::skin {
namespace {

using namespace key_dialog;

constexpr int kWidth = 388;
constexpr int kHeight = 378;
constexpr int kHeaderHeight = 24;
const QRect kContent(4, 57, 380, 284);

QRect placeOf(int id) {
    const RegionRect& r = controlById(kControls, id)->rect;
    return QRect(QPoint(r.left, r.top), QPoint(r.right, r.bottom));
}

void drawInset(QPainter& painter, const QRect& rect, const QColor& fill) {
    painter.fillRect(rect, fill);
    painter.setPen(QColor(6, 6, 8));
    drawPixelLine(painter, rect.topLeft(), rect.topRight());
    drawPixelLine(painter, rect.topLeft(), rect.bottomLeft());
    painter.setPen(QColor(64, 64, 70));
    drawPixelLine(painter, rect.bottomLeft(), rect.bottomRight());
    drawPixelLine(painter, rect.topRight(), rect.bottomRight());
}

QImage background() {
    QImage picture = newPicture(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    QLinearGradient body(0, 0, 0, kHeight);
    body.setColorAt(0.0, QColor(26, 26, 29));
    body.setColorAt(1.0, QColor(15, 15, 17));
    painter.fillRect(area(picture), body);

    // Header band for the title line, with the window's red hairline and the close mark.
    QLinearGradient header(0, 0, 0, kHeaderHeight);
    header.setColorAt(0.0, QColor(38, 38, 42));
    header.setColorAt(1.0, QColor(24, 24, 27));
    painter.fillRect(0, 0, kWidth, kHeaderHeight, header);
    painter.fillRect(0, kHeaderHeight, kWidth, 1, QColor(6, 6, 8));
    drawFadingLine(painter, -120, kWidth + 120, kHeaderHeight - 1, palette::kRedDim);
    skin::drawCloseMark(painter, QRectF(placeOf(kCloseMark)));

    // Tabs: the labels are the dialog's (the current one in red); a red rule under each.
    for (int tab = kKeysTab; tab <= kAdvanceTab; ++tab) {
        const QRectF rect(placeOf(tab));
        drawPlate(painter, rect, 3, QColor(46, 46, 51), QColor(26, 26, 29), QColor(6, 6, 8));
        painter.fillRect(QRectF(rect.left() + 6, rect.bottom() - 6, rect.width() - 12, 1),
                         palette::kRedDim);
    }

    // The page: the tree and the macro list cover its top; the fields and rows are the dialog's.
    drawInset(painter, kContent, QColor(20, 20, 22));

    // Bottom strip with the disable box and the three buttons.
    drawFadingLine(painter, 0, kWidth, kContent.bottom() + 3, QColor(64, 64, 70));
    painter.setPen(QColor(4, 4, 5));
    painter.setBrush(Qt::NoBrush);
    drawPixelRect(painter, 0, 0, kWidth - 1, kHeight - 1);
    return picture;
}

// The disable box, also the Advance rows' radio marks.
QImage box(bool ticked) {
    const QSize size =
        placeOf(kDisableBox)
            .adjusted(kDisableBoxSlack, kDisableBoxSlack, -kDisableBoxSlack, -kDisableBoxSlack)
            .size();
    QImage picture = newPicture(size.width(), size.height());
    QPainter painter(&picture);
    painter.fillRect(area(picture), QColor(12, 12, 14));
    painter.setPen(QColor(140, 140, 146));
    drawPixelRect(painter, 0, 0, size.width() - 1, size.height() - 1);
    if (ticked)
        painter.fillRect(2, 2, size.width() - 4, size.height() - 4, palette::kRedGlow);
    return picture;
}

QImage plate(bool save, bool over) {
    const QSize size = placeOf(save ? kSave : kReset).size();
    QImage picture = newPicture(size.width(), size.height());
    QPainter painter(&picture);
    if (save)
        drawPlate(painter, QRectF(area(picture)), 3,
                  over ? QColor(196, 40, 46) : QColor(150, 28, 34),
                  over ? QColor(128, 20, 26) : QColor(92, 14, 18), QColor(26, 4, 6));
    else
        drawPlate(painter, QRectF(area(picture)), 3,
                  over ? QColor(98, 98, 106) : QColor(70, 70, 76),
                  over ? QColor(58, 58, 64) : QColor(38, 38, 42), QColor(14, 14, 16));
    return picture;
}

QImage pathBox() {
    const QSize size = placeOf(kLaunchPath).size();
    QImage picture = newPicture(size.width(), size.height());
    QPainter painter(&picture);
    drawInset(painter, area(picture).adjusted(0, 2, -1, -3), QColor(8, 8, 10));
    return picture;
}

QImage browseButton(bool over) {
    const QSize size = placeOf(kLaunchBrowse).size();
    QImage picture = newPicture(size.width(), size.height());
    QPainter painter(&picture);
    drawPlate(painter, QRectF(area(picture)).adjusted(2, 1, -2, -2), 3,
              over ? QColor(98, 98, 106) : QColor(62, 62, 68),
              over ? QColor(58, 58, 64) : QColor(34, 34, 38), QColor(8, 8, 10));
    // Three dots: "choose ...".
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(over ? palette::kRedGlow : palette::kText);
    const qreal y = size.height() / 2.0 - 0.5;
    for (int i = -1; i <= 1; ++i)
        painter.drawEllipse(QPointF(size.width() / 2.0 + i * 7, y), 2, 2);
    return picture;
}

} // namespace

void addKeyDialogPictures(PictureSet& pictures) {
    pictures.push_back({QStringLiteral("Custom/Custom_BK.png"), background()});
    pictures.push_back({QStringLiteral("Custom/Disable.png"), box(false)});
    pictures.push_back({QStringLiteral("Custom/Enable.png"), box(true)});
    pictures.push_back({QStringLiteral("Custom/button-cancel-normal.png"), plate(false, false)});
    pictures.push_back({QStringLiteral("Custom/button-cancel-over.png"), plate(false, true)});
    pictures.push_back({QStringLiteral("Custom/button-save-normal.png"), plate(true, false)});
    pictures.push_back({QStringLiteral("Custom/button-save-over.png"), plate(true, true)});
    pictures.push_back({QStringLiteral("Custom/Advanced.png"), pathBox()});
    pictures.push_back({QStringLiteral("Custom/view.png"), browseButton(false)});
    pictures.push_back({QStringLiteral("Custom/view02.png"), browseButton(true)});
}

} // namespace q905::skin
