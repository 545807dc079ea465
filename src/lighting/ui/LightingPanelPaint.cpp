// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting panel's drawing, in a fixed order. The main window draws the panel over the
// keyboard picture and the captions, before the "No Gaming Keyboard" warning. Controls are drawn
// at their places in the panel's control table; captions where LightingPanelTexts puts them.
#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinSlider.h"
#include "controls/ui/TextLayout.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelControls.h"
#include "lighting/PanelRules.h"
#include "lighting/ui/LightingPanelImpl.h"
#include "lighting/ui/LightingPanelTexts.h"

#include <QPainter>

namespace q905 {

namespace {
const QColor kTextColour(255, 255, 255);
const QColor kGreySquare(192, 192, 192);
const QColor kHoveredRow(80, 0, 0);
const QColor kRow(59, 59, 59);
// The scales under the response-time and report-rate sliders.
constexpr QPoint kResponseScale(25, 498);
constexpr QPoint kReportRateScale(25, 550);
// The panel's inside, within its edge lines: no text leaves it.
const QRect kPanelInside(2, 31, 267, 607);

QColor toQColor(ColourValue colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

QRect listRow(int top) {
    return QRect(kListLeft, top, kListRight - kListLeft, kListRowHeight);
}

// The on/off marks have places of their own in the skin, not the middle of their hit boxes
// (the game mode box reaches left under its caption's end).
constexpr QPoint kKeymapMark{28, 174};
constexpr QPoint kCustomMark{130, 174};
constexpr QPoint kGameModeMark{99, 578};
constexpr QPoint kWinKeyLockMark{231, 578};

// Where a picture of this size sits in a control's place: in the middle of it.
QPoint centredIn(int id, QSize size) {
    const RegionRect& place = panelControl(id).rect;
    return {place.left + (place.width() - size.width()) / 2,
            place.top + (place.height() - size.height()) / 2};
}

QRect square(int id) {
    const QSize size(kColourSquareSize, kColourSquareSize);
    return QRect(centredIn(id, size), size);
}

// A 1-pixel white outline two pixels around a colour square.
void outline(QPainter& painter, const QRect& square) {
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(square.adjusted(-2, -2, 2, 2));
}

int swatchId(int slot) {
    return slot == kMulticolourIndex ? panelRegion::kMulticolour
                                     : panelRegion::kFirstSwatch + slot - 1;
}
} // namespace

void LightingPanel::Impl::text(const panel_texts::Caption& caption) {
    text(qtText(caption.text, m_language), caption.xIn(m_language), caption.y, caption.size,
         kPanelInside);
}

void LightingPanel::Impl::text(const QString& text, int x, int y, int size, const QRect& panel) {
    m_pendingTexts.push_back({text, x, y, size, panel});
}

void LightingPanel::Impl::control(const QRect& rect) {
    if (m_layout)
        m_layout->addControl(rect);
}

void LightingPanel::Impl::picture(QPainter& painter, const char* name, QPoint at) {
    background(painter, name, at);
    control(m_skin.inkRect(QString::fromLatin1(name)).translated(at));
}

void LightingPanel::Impl::picture(QPainter& painter, const char* name, int id) {
    picture(painter, name, centredIn(id, m_skin.size(QString::fromLatin1(name))));
}

QRect LightingPanel::Impl::background(QPainter& painter, const char* name, QPoint at) {
    const QString file = QString::fromLatin1(name);
    m_skin.draw(painter, file, at.x(), at.y());
    return QRect(at, m_skin.size(file));
}

QRect LightingPanel::Impl::background(QPainter& painter, const char* name, int id) {
    return background(painter, name, centredIn(id, m_skin.size(QString::fromLatin1(name))));
}

void LightingPanel::Impl::drawSlider(QPainter& painter, int controlId) {
    const SkinSlider& slider = *slot(controlId).slider;
    const int position = slider.value();

    const QRect place = slider.geometry();
    const SliderPicture layout =
        drawSliderLayout(controlId, position, slider.thumbOffset(), place.width());
    const QImage& filled = slider.filledTrack().picture();
    const QImage& empty = slider.emptyTrack().picture();
    if (!filled.isNull())
        drawPart(painter, place.topLeft(), filled, QRect(0, 0, layout.filledWidth, place.height()));
    if (!empty.isNull())
        drawPart(painter, QPoint(place.left() + layout.emptyX, place.top()), empty,
                 QRect(layout.emptyX, 0, layout.emptyWidth, place.height()));
    const QPoint thumb(place.left() + layout.thumbX, place.top() + layout.thumbY);
    m_skin.draw(painter, QStringLiteral("Thumb.png"), thumb.x(), thumb.y());
    // The track and the thumb, not the slider's whole strip.
    control(m_skin.inkRect(QStringLiteral("Track-Empty.png")).translated(place.topLeft()));
    control(m_skin.inkRect(QStringLiteral("Thumb.png")).translated(thumb));
}

void LightingPanel::Impl::paint(QPainter& painter, const SettingsImage& image, TextLayout& layout) {
    using namespace panel_texts;
    namespace region = panelRegion;
    m_layout = &layout;
    m_pendingTexts.clear();
    painter.save();
    const std::uint8_t code = image.lightingEffect();
    followImage(image);
    updateSliderVisibility(code);

    text(kLighting);
    text(kLightEffects);
    const QRect effectBox = background(painter, "Light_Item.png", region::kEffectBox);

    if (showsSpeed(code)) {
        drawSlider(painter, slider::kSpeed);
        if (!m_lists.effectListOpen) {
            text(kSpeed);
            text(kSlow);
            text(kFast);
        }
    }

    text(kBrightness);
    text(kLow);
    text(kHigh);
    if (!m_lists.effectListOpen)
        drawSlider(painter, slider::kBrightness);

    if (showsSwatches(code)) {
        if (code != effect::kStatic)
            picture(painter, "8.png", region::kMulticolour);
        for (int slot = 1; slot <= kColourSlotCount; ++slot) {
            const QColor fill =
                isMulticolourOnly(code) ? kGreySquare : toQColor(slotColour(image, slot));
            const QRect swatch = square(swatchId(slot));
            painter.fillRect(swatch, fill);
            control(swatch);
        }
        const QRect chosen = square(swatchId(normalisedColourIndex(image)));
        outline(painter, chosen);
        control(chosen.adjusted(-2, -2, 2, 2));
    }

    if (showsDirection(code)) {
        text(kLightDirection);
        const struct {
            int id;
            std::uint8_t value;
            const char* off;
            const char* on;
        } directions[] = {
            {region::kDirectionTop, direction::kTop, "Direction-T-Disable.png",
             "Direction-T-Enable.png"},
            {region::kDirectionBottom, direction::kBottom, "Direction-B-Disable.png",
             "Direction-B-Enable.png"},
            {region::kDirectionRight, direction::kRight, "Direction-R-Disable.png",
             "Direction-R-Enable.png"},
            {region::kDirectionLeft, direction::kLeft, "Direction-L-Disable.png",
             "Direction-L-Enable.png"},
        };
        for (const auto& button : directions)
            picture(painter, button.off, button.id);
        for (const auto& button : directions)
            if (image.direction() == button.value)
                picture(painter, button.on, button.id);
    }

    if (isProfileEffect(code)) {
        const bool custom = m_view.perKeyColourMode;
        picture(painter, custom ? "Disable.png" : "Enable.png", kKeymapMark);
        picture(painter, custom ? "Enable.png" : "Disable.png", kCustomMark);
        text(kKeymap);
        text(kDiy);
    }

    text(qtText(effectName(code, m_language)), kEffectName.x, kEffectName.y, kEffectName.size,
         effectBox);

    text(kGameMode);
    picture(painter, image.gameMode() != 0 ? "Enable.png" : "Disable.png", kGameModeMark);

    text(kWindowsKey);
    text(kLock);
    picture(painter, image.winKeyLock() != 0 ? "Enable.png" : "Disable.png", kWinKeyLockMark);

    text(kResponseTime);
    drawSlider(painter, slider::kResponseTime);
    picture(painter, "responsetime_txt.png", kResponseScale);

    text(kReportRate);
    picture(painter, "responsetime_txt.png", kResponseScale);
    picture(painter, "reportRate_txt.png", kReportRateScale);
    drawSlider(painter, slider::kReportRate);

    drawSlider(painter, slider::kPalmBrightness);
    text(kPalmBrightness);
    text(kPalmLow);
    text(kPalmHigh);
    drawSlider(painter, slider::kPalmSpeed);
    text(kPalmSpeed);
    text(kPalmSlow);
    text(kPalmFast);

    const std::uint8_t palmCode = palmEffect(image);
    text(kPalmRestEffects);
    const QRect palmBox = background(painter, "Light_Item.png", region::kPalmBox);
    text(kPalmDirection);
    picture(painter, "Direction-R-Disable.png", region::kPalmRight);
    picture(painter, "Direction-L-Disable.png", region::kPalmLeft);
    if (palmCode == kPalmWave) {
        if (image.at(palm::kDirection) == palm::kDirectionRight)
            picture(painter, "Direction-R-Enable.png", region::kPalmRight);
        else if (image.at(palm::kDirection) == palm::kDirectionLeft)
            picture(painter, "Direction-L-Enable.png", region::kPalmLeft);
    }

    text(kPalmRestColour);
    if (palmColourEditable(image)) {
        const QRect swatch = square(region::kPalmColour);
        outline(painter, swatch);
        painter.fillRect(swatch, toQColor(palmColour(image)));
        control(swatch.adjusted(-2, -2, 2, 2));
    } else if (palmCode < kPalmEffectCount) {
        picture(painter, "8.png", region::kPalmColour);
    }
    text(qtText(palmEffectName(palmCode, m_language)), kPalmEffectName.x, kPalmEffectName.y,
         kPalmEffectName.size, palmBox);

    for (const PendingText& pending : m_pendingTexts)
        layout.draw(painter, pending.text, pending.x, pending.y, kTextColour, pending.size,
                    pending.panel);
    m_pendingTexts.clear();
    m_layout = nullptr;

    // The open list lies over everything; its rows fit their own texts.
    if (m_lists.effectListOpen) {
        for (int row = 0; row < kEffectCount; ++row)
            listRowPaint(painter, kEffectListTop, row, row == m_lists.effectHover,
                         qtText(EffectCatalogue[static_cast<std::size_t>(row)].name, m_language));
    } else if (m_lists.palmListOpen) {
        for (int row = 0; row < kPalmEffectCount; ++row)
            listRowPaint(painter, kPalmListTop, row, row == m_lists.palmHover,
                         qtText(palmEffectName(static_cast<std::uint8_t>(row), m_language)));
    }
    painter.restore();
}

void LightingPanel::Impl::listRowPaint(QPainter& painter, int listTop, int row, bool highlighted,
                                       const QString& name) {
    const int top = listTop + kListRowHeight * row;
    painter.fillRect(listRow(top), highlighted ? kHoveredRow : kRow);
    TextLayout rowLayout;
    rowLayout.draw(painter, name, kListLeft, top, kTextColour, panel_texts::kListRowTextSize,
                   listRow(top));
}

} // namespace q905
