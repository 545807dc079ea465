// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's frame: background, window buttons, help menu and the plates of the Apply,
// Profile and Macro buttons. Every caption is written by the program; the pictures carry none.
#include "app/MainWindowControls.h"
#include "keys/KeyTable.h"
#include "skin/SkinLayout.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>

#include <array>

namespace q905::skin {
namespace {

const QString kWindowTitle = QStringLiteral("Korvane Mirex Keyboard Q905 UK");

QRect placeOf(int id) {
    const RegionRect& rect = controlById(kMainWindowControls, id)->rect;
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

// Tops of the panel's section titles, where a small red mark sits to their left.
constexpr std::array<int, 5> kSectionTitleY{85, 302, 460, 518, 576};
constexpr int kSectionTitleHeight = 15;
// Quiet rules between the panel's sections, in the gaps the program's texts leave.
constexpr std::array<int, 3> kSectionRuleY{295, 515, 567};

void drawBackdrop(QPainter& painter) {
    painter.fillRect(0, 0, kWindowWidth, kWindowHeight, palette::kBackdrop);
    // A soft pool of light behind the keyboard; the corners fall away into black.
    const QPointF keyboardCentre(kPictureOriginX + kKeyboardWidth / 2.0,
                                 kPictureOriginY + kKeyboardHeight * 0.65);
    QRadialGradient pool(keyboardCentre, 470);
    pool.setColorAt(0.0, QColor(38, 38, 42));
    pool.setColorAt(0.6, QColor(24, 24, 27));
    pool.setColorAt(1.0, palette::kBackdrop);
    painter.fillRect(QRect(kPanelRight + 1, kTitleStripHeight, kWindowWidth - kPanelRight - 1,
                           kBottomStripTop - kTitleStripHeight),
                     pool);
    // The red light the keys throw on the desk in front of the keyboard.
    const QPointF floor(keyboardCentre.x(), kPictureOriginY + kKeyboardHeight + 6);
    QRadialGradient glow(floor, 300);
    glow.setColorAt(0.0, QColor(150, 20, 26, 60));
    glow.setColorAt(1.0, QColor(150, 20, 26, 0));
    painter.save();
    painter.translate(floor);
    painter.scale(1.0, 0.12);
    painter.translate(-floor);
    painter.fillRect(QRectF(floor.x() - 300, floor.y() - 300, 600, 600), glow);
    painter.restore();

    // The model's name, barely lifted from the dark, in the empty floor under the keyboard.
    QFont model = arialFont(120, QFont::Black);
    model.setItalic(true);
    painter.setFont(model);
    painter.setPen(QColor(255, 255, 255, 5));
    painter.drawText(
        QRect(kPanelRight + 1, 420, kWindowWidth - kPanelRight - 30, kBottomStripTop - 420),
        Qt::AlignRight | Qt::AlignBottom, QStringLiteral("Q905"));
}

void drawTitleStrip(QPainter& painter) {
    QLinearGradient strip(0, 0, 0, kTitleStripHeight);
    strip.setColorAt(0.0, QColor(36, 36, 40));
    strip.setColorAt(1.0, QColor(21, 21, 24));
    painter.fillRect(0, 0, kWindowWidth, kTitleStripHeight, strip);
    painter.fillRect(0, kTitleStripHeight - 1, kWindowWidth, 1, QColor(6, 6, 8));
    drawFadingLine(painter, -200, kWindowWidth + 200, kTitleStripHeight - 2, palette::kRedDim);

    painter.fillRect(10, 10, 3, 11, palette::kRed);
    painter.setFont(arialFont(12));
    painter.setPen(palette::kText);
    painter.drawText(QRect(19, 0, 400, kTitleStripHeight - 1), Qt::AlignLeft | Qt::AlignVCenter,
                     kWindowTitle);
}

void drawPanel(QPainter& painter) {
    const QRect panel(0, kTitleStripHeight, kPanelRight + 1, kWindowHeight - kTitleStripHeight);
    painter.fillRect(panel, palette::kPanel);
    // Lit from the top left: light edges there, dark ones at the right and bottom.
    painter.fillRect(panel.left(), panel.top(), panel.width(), 1, palette::kPanelEdgeLight);
    painter.fillRect(panel.left(), panel.top(), 1, panel.height(), palette::kPanelEdgeLight);
    painter.fillRect(panel.right(), panel.top(), 1, panel.height(), palette::kPanelEdgeDark);
    painter.fillRect(panel.left(), panel.bottom(), panel.width(), 1, palette::kPanelEdgeDark);
    painter.fillRect(panel.right() - 1, panel.top() + 1, 1, panel.height() - 2, QColor(60, 60, 60));

    // The maker's mark fills the panel's head, above the first section (texts start at y 85).
    QFont mark = arialFont(11, QFont::DemiBold);
    mark.setLetterSpacing(QFont::AbsoluteSpacing, 4.0);
    painter.setFont(mark);
    painter.setPen(QColor(112, 112, 116));
    painter.drawText(QRect(27, 46, 200, 16), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("KORVANE"));
    painter.fillRect(27, 66, 24, 2, palette::kRed);
    drawFadingLine(painter, 51, kPanelRight - 10, 66, QColor(70, 70, 72));

    for (int y : kSectionTitleY)
        painter.fillRect(17, y + 3, 2, kSectionTitleHeight - 4, palette::kRed);
    for (int y : kSectionRuleY)
        drawFadingLine(painter, 10, kPanelRight - 10, y, QColor(78, 78, 80));
    drawFadingLine(painter, 10, kPanelRight - 10, kBottomStripTop, QColor(40, 40, 40));
}

void drawBottomStrip(QPainter& painter) {
    const QRect strip(kPanelRight + 1, kBottomStripTop, kWindowWidth - kPanelRight - 1,
                      kWindowHeight - kBottomStripTop);
    QLinearGradient shade(0, strip.top(), 0, strip.bottom());
    shade.setColorAt(0.0, QColor(28, 28, 31));
    shade.setColorAt(1.0, QColor(18, 18, 20));
    painter.fillRect(strip, shade);
    painter.fillRect(strip.left(), strip.top(), strip.width(), 1, QColor(6, 6, 8));
    painter.fillRect(strip.left(), strip.top() + 1, strip.width(), 1, palette::kStripEdge);
    drawFadingLine(painter, placeOf(mainControl::kApply).left() - 260, kWindowWidth + 60, strip.top() + 1,
                   palette::kRedDim);
}

QImage mainBackground() {
    QImage picture = newPicture(kWindowWidth, kWindowHeight, QImage::Format_RGB32);
    QPainter painter(&picture);
    drawBackdrop(painter);
    drawTitleStrip(painter);
    drawPanel(painter);
    drawBottomStrip(painter);
    // A hairline frame: the window has no border of its own.
    painter.setPen(QColor(4, 4, 5));
    drawPixelRect(painter, 0, 0, kWindowWidth - 1, kWindowHeight - 1);
    return picture;
}

enum class Glyph { Help, Minimise, Close };

QImage windowButton(Glyph glyph) {
    const QSize size = placeOf(mainControl::kHelp).size();
    QImage picture = newPicture(size.width(), size.height());
    QPainter painter(&picture);
    drawPlate(painter, QRectF(area(picture)), 3, QColor(48, 48, 53), QColor(27, 27, 30),
              QColor(6, 6, 8));
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(size.width() / 2.0, size.height() / 2.0);
    switch (glyph) {
    case Glyph::Help:
        painter.setFont(arialFont(12, QFont::Bold));
        painter.setPen(palette::kText);
        painter.drawText(QRectF(QPointF(0, 0), QSizeF(size)), Qt::AlignCenter,
                         QStringLiteral("?"));
        break;
    case Glyph::Minimise:
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.fillRect(QRect(5, 10, 7, 2), palette::kText);
        break;
    case Glyph::Close:
        painter.setPen(QPen(QColor(232, 88, 88), 1.6, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(centre + QPointF(-3, -3), centre + QPointF(3, 3));
        painter.drawLine(centre + QPointF(-3, 3), centre + QPointF(3, -3));
        break;
    }
    return picture;
}

QImage helpMenu() {
    const int width = kHelpMenuBox.width();
    const int rowHeight = placeOf(mainControl::kFactoryReset).height();
    QImage picture = newPicture(width, kHelpMenuBox.height());
    QPainter painter(&picture);
    drawPlate(painter, QRectF(area(picture)), 3, QColor(34, 34, 38), QColor(22, 22, 25),
              QColor(4, 4, 5));
    painter.fillRect(3, 1, width - 6, 1, palette::kRed);
    // Rules between the three rows: the two items and the version.
    for (int row = 1; row < 3; ++row)
        drawFadingLine(painter, 6, width - 6, row * rowHeight, QColor(64, 64, 70));
    return picture;
}

QImage buttonPlate(const QRect& place, bool primary) {
    QImage picture = newPicture(place.width(), place.height());
    QPainter painter(&picture);
    if (primary) {
        drawPlate(painter, QRectF(area(picture)), 3, QColor(150, 28, 34), QColor(92, 14, 18),
                  QColor(26, 4, 6));
    } else {
        drawPlate(painter, QRectF(area(picture)), 3, QColor(70, 70, 76), QColor(38, 38, 42),
                  QColor(14, 14, 16));
        painter.fillRect(4, place.height() - 2, place.width() - 8, 1, palette::kRedDim);
    }
    return picture;
}

} // namespace

void addWindowPictures(PictureSet& pictures) {
    pictures.push_back({QStringLiteral("main.png"), mainBackground()});
    pictures.push_back({QStringLiteral("button-help-normal.png"), windowButton(Glyph::Help)});
    pictures.push_back({QStringLiteral("button-min-normal.png"), windowButton(Glyph::Minimise)});
    pictures.push_back({QStringLiteral("button-close-normal.png"), windowButton(Glyph::Close)});
    pictures.push_back({QStringLiteral("HelpWindow.png"), helpMenu()});
    pictures.push_back(
        {QStringLiteral("apply.png"), buttonPlate(placeOf(mainControl::kApply), true)});
    pictures.push_back(
        {QStringLiteral("Config.png"), buttonPlate(placeOf(mainControl::kProfiles), false)});
    pictures.push_back(
        {QStringLiteral("MacroButton3.png"), buttonPlate(placeOf(mainControl::kMacros), false)});
}

} // namespace q905::skin
