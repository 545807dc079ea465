// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting panel's pieces. They are drawn over the panel's (53, 53, 53), so everything but
// the slider tracks keeps a transparent surround.
#include "controls/SliderGeometry.h"
#include "lighting/PanelControls.h"
#include "lighting/PanelSliders.h"
#include "skin/SkinLayout.h"
#include "skin/SkinPaint.h"
#include "skin/SkinPictures.h"

#include <QConicalGradient>
#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <vector>

namespace q905::skin {
namespace {

// The pictures fill their controls' places.
constexpr RegionRect kDropBox = panelControl(panelRegion::kEffectBox).rect;
constexpr int kDropBoxWidth = kDropBox.width();
constexpr int kDropBoxHeight = kDropBox.height();
static_assert(kDropBox.width() == panelControl(panelRegion::kPalmBox).rect.width());
constexpr RegionRect kDirection = panelControl(panelRegion::kDirectionTop).rect;
constexpr int kDirectionWidth = kDirection.width();
constexpr int kDirectionHeight = kDirection.height();
// Neighbouring direction buttons overlap, so only the picture's left part up to two pixels short
// of the next button carries the plate; the rest stays transparent.
constexpr int kDirectionPlateWidth =
    panelControl(panelRegion::kDirectionBottom).rect.left - kDirection.left - 2;
// The on/off mark of the toggles and view switches.
constexpr int kToggleSize = 16;

QImage dropBox() {
    QImage picture = newPicture(kDropBoxWidth, kDropBoxHeight);
    QPainter painter(&picture);
    // Sunk into the panel: dark at the top where the edge shades it.
    QLinearGradient shade(0, 0, 0, kDropBoxHeight);
    shade.setColorAt(0.0, QColor(22, 22, 24));
    shade.setColorAt(1.0, QColor(34, 34, 37));
    painter.fillRect(area(picture), shade);
    painter.setPen(QColor(14, 14, 16));
    drawPixelLine(painter, 0, 0, kDropBoxWidth - 1, 0);
    drawPixelLine(painter, 0, 0, 0, kDropBoxHeight - 1);
    painter.setPen(QColor(84, 84, 88));
    drawPixelLine(painter, 1, kDropBoxHeight - 1, kDropBoxWidth - 1, kDropBoxHeight - 1);
    drawPixelLine(painter, kDropBoxWidth - 1, 1, kDropBoxWidth - 1, kDropBoxHeight - 1);

    // The arrow's own compartment at the right end.
    const int arrowLeft = kDropBoxWidth - 17;
    painter.fillRect(arrowLeft, 1, 1, kDropBoxHeight - 2, QColor(58, 58, 62));
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal cx = arrowLeft + 8.5, cy = kDropBoxHeight / 2.0 + 1;
    painter.setPen(Qt::NoPen);
    painter.setBrush(palette::kRed);
    painter.drawPolygon(QPolygonF{{cx - 4, cy - 2.5}, {cx + 4, cy - 2.5}, {cx, cy + 2}});
    return picture;
}

QImage multicolourSwatch() {
    QImage picture = newPicture(kColourSquareSize, kColourSquareSize);
    QPainter painter(&picture);
    const QPointF centre(kColourSquareSize / 2.0, kColourSquareSize / 2.0);
    QConicalGradient hues(centre, 90);
    constexpr int kSteps = 6;
    for (int step = 0; step <= kSteps; ++step)
        hues.setColorAt(step / double(kSteps),
                        QColor::fromHsvF(std::fmod(step / double(kSteps), 1.0), 0.85, 0.95));
    painter.fillRect(area(picture), hues);
    // A soft white centre: all colours at once.
    QRadialGradient centreLight(centre, kColourSquareSize / 2.0);
    centreLight.setColorAt(0.0, QColor(255, 255, 255, 150));
    centreLight.setColorAt(0.55, QColor(255, 255, 255, 0));
    painter.fillRect(area(picture), centreLight);
    return picture;
}

enum class Direction { Top, Bottom, Right, Left };

QImage directionButton(Direction direction, bool enabled) {
    QImage picture = newPicture(kDirectionWidth, kDirectionHeight);
    QPainter painter(&picture);
    const QRectF plate(0, 0, kDirectionPlateWidth, kDirectionHeight);
    if (enabled)
        drawPlate(painter, plate, 3, QColor(150, 28, 34), QColor(92, 14, 18), QColor(26, 4, 6));
    else
        drawPlate(painter, plate, 3, QColor(46, 46, 50), QColor(28, 28, 31), QColor(14, 14, 16));

    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF c = plate.center();
    QPolygonF arrow;
    switch (direction) {
    case Direction::Top:
        arrow = {{c.x() - 4.5, c.y() + 2.5}, {c.x() + 4.5, c.y() + 2.5}, {c.x(), c.y() - 3}};
        break;
    case Direction::Bottom:
        arrow = {{c.x() - 4.5, c.y() - 2.5}, {c.x() + 4.5, c.y() - 2.5}, {c.x(), c.y() + 3}};
        break;
    case Direction::Right:
        arrow = {{c.x() - 2.5, c.y() - 4.5}, {c.x() - 2.5, c.y() + 4.5}, {c.x() + 3, c.y()}};
        break;
    case Direction::Left:
        arrow = {{c.x() + 2.5, c.y() - 4.5}, {c.x() + 2.5, c.y() + 4.5}, {c.x() - 3, c.y()}};
        break;
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(enabled ? QColor(255, 236, 236) : QColor(128, 128, 134));
    painter.drawPolygon(arrow);
    return picture;
}

QImage toggleMark(bool on) {
    QImage picture = newPicture(kToggleSize, kToggleSize);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kToggleSize / 2.0, kToggleSize / 2.0);
    painter.setPen(QPen(on ? QColor(110, 24, 28) : QColor(118, 118, 124), 1.2));
    painter.setBrush(QColor(26, 26, 29));
    painter.drawEllipse(centre, 6.6, 6.6);
    if (on) {
        QRadialGradient lamp(centre - QPointF(1, 1), 5);
        lamp.setColorAt(0.0, QColor(255, 150, 150));
        lamp.setColorAt(0.45, QColor(232, 48, 54));
        lamp.setColorAt(1.0, QColor(150, 20, 26));
        painter.setPen(Qt::NoPen);
        painter.setBrush(lamp);
        painter.drawEllipse(centre, 4.2, 4.2);
    }
    return picture;
}

// Where the window draws the thumb's left edge for a slider position, relative to the slider.
int thumbPictureX(int controlId, int position, int maximum) {
    const ThumbOffset offset = thumbOffset(thumbRect(position, 0, maximum));
    return drawSliderLayout(controlId, position, offset).thumbX;
}

// One label per slider position, centred under the thumb as the window draws it there.
QImage scale(int controlId, const std::vector<QString>& labels, const QFont& font) {
    const PanelSliderRange* slider = findPanelSlider(controlId);
    if (slider == nullptr || slider->maximum + 1 != static_cast<int>(labels.size()))
        throw std::runtime_error("a scale does not match its slider");
    QImage picture = newPicture(kScaleWidth, kScaleHeight);
    QPainter painter(&picture);
    painter.setFont(font);
    painter.setPen(palette::kText);
    const QFontMetrics metrics(font);
    for (int position = 0; position <= slider->maximum; ++position) {
        const QString& label = labels[static_cast<std::size_t>(position)];
        const int width = metrics.horizontalAdvance(label);
        const int centre = panelControl(controlId).rect.left - kScaleX +
                           thumbPictureX(controlId, position, slider->maximum) + kThumbWidth / 2;
        // Labels at the ends stay inside the picture rather than centred under the thumb.
        const int left = std::clamp(centre - width / 2, 0, kScaleWidth - width);
        // The two top rows lie under the slider's track: keep them clear.
        painter.drawText(QRect(left, 2, width, kScaleHeight - 2), Qt::AlignCenter, label);
    }
    return picture;
}

QImage track(bool filled) {
    // Opaque: the window redraws a moved slider by drawing the tracks over its old thumb.
    QImage picture = newPicture(kTrackWidth, kTrackHeight, QImage::Format_ARGB32_Premultiplied);
    picture.fill(palette::kPanel);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal centreY =
        drawSliderLayout(slider::kBrightness, 0, ThumbOffset{}).thumbY + kThumbHeight / 2.0;
    const QRectF groove(1.5, centreY - 2.5, kTrackWidth - 3, 5);
    if (filled) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(QColor(200, 30, 36, 40));
        painter.drawRoundedRect(groove.adjusted(-1, -2, 1, 2), 4, 4);
        QLinearGradient lit(groove.topLeft(), groove.bottomLeft());
        lit.setColorAt(0.0, QColor(236, 70, 74));
        lit.setColorAt(1.0, QColor(150, 18, 24));
        painter.setPen(QPen(QColor(70, 8, 10), 1.0));
        painter.setBrush(lit);
    } else {
        painter.setPen(QPen(QColor(10, 10, 12), 1.0));
        painter.setBrush(palette::kGroove);
    }
    painter.drawRoundedRect(groove, 2.5, 2.5);
    // The lower lip of the groove catches the light.
    painter.setPen(QPen(QColor(78, 78, 80), 1.0));
    painter.drawLine(QPointF(groove.left() + 3, groove.bottom() + 1),
                     QPointF(groove.right() - 3, groove.bottom() + 1));
    return picture;
}

QImage thumb() {
    QImage picture = newPicture(kThumbWidth, kThumbHeight);
    QPainter painter(&picture);
    drawPlate(painter, QRectF(area(picture)), 3, QColor(178, 178, 184), QColor(96, 96, 102),
              QColor(16, 16, 18));
    painter.fillRect(7, 3, 1, kThumbHeight - 6, palette::kRed);
    return picture;
}

} // namespace

void addPanelPictures(PictureSet& pictures) {
    pictures.push_back({QStringLiteral("Light_Item.png"), dropBox()});
    pictures.push_back({QStringLiteral("8.png"), multicolourSwatch()});
    const struct {
        Direction direction;
        const char* letter;
    } directions[] = {{Direction::Top, "T"},
                      {Direction::Bottom, "B"},
                      {Direction::Right, "R"},
                      {Direction::Left, "L"}};
    for (const auto& entry : directions) {
        const QString stem = QStringLiteral("Direction-%1-").arg(QLatin1String(entry.letter));
        pictures.push_back(
            {stem + QStringLiteral("Enable.png"), directionButton(entry.direction, true)});
        pictures.push_back(
            {stem + QStringLiteral("Disable.png"), directionButton(entry.direction, false)});
    }
    pictures.push_back({QStringLiteral("Enable.png"), toggleMark(true)});
    pictures.push_back({QStringLiteral("Disable.png"), toggleMark(false)});

    std::vector<QString> milliseconds;
    for (int step : kResponseTimeMilliseconds)
        milliseconds.push_back(QStringLiteral("%1ms").arg(step));
    // Ten labels share the 220-pixel track: small and slightly condensed keeps a gap between them.
    QFont narrow = arialFont(8);
    narrow.setStretch(94);
    std::vector<QString> hertz;
    for (int rate : kReportRateHertz)
        hertz.push_back(QStringLiteral("%1Hz").arg(rate));
    pictures.push_back({QStringLiteral("responsetime_txt.png"),
                        scale(slider::kResponseTime, milliseconds, narrow)});
    pictures.push_back(
        {QStringLiteral("reportRate_txt.png"), scale(slider::kReportRate, hertz, arialFont(9))});

    pictures.push_back({QStringLiteral("Track-Filled.png"), track(true)});
    pictures.push_back({QStringLiteral("Track-Empty.png"), track(false)});
    pictures.push_back({QStringLiteral("Thumb.png"), thumb()});
}

} // namespace q905::skin
