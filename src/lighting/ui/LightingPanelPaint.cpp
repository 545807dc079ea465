// The lighting panel's drawing, in a fixed order. The main window draws the panel over the
// keyboard picture and the captions, before the "No Gaming Keyboard" warning.
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinSlider.h"
#include "controls/ui/TextLayout.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"
#include "lighting/ui/LightingPanelImpl.h"

#include <QPainter>

namespace q905 {

namespace {
const QColor kTextColour(255, 255, 255);
const QColor kGreySquare(192, 192, 192);
const QColor kHoveredRow(80, 0, 0);
const QColor kRow(59, 59, 59);
constexpr int kSwatchTop = 178;
constexpr int kSwatchSize = 20;
// The panel's inside, within its edge lines: no text leaves it.
const QRect kPanelInside(2, 31, 267, 607);

QColor toQColor(ColourValue colour) {
    return QColor(redOf(colour), greenOf(colour), blueOf(colour));
}

QString fromView(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QRect listRow(int top) {
    return QRect(kListLeft, top, kListRight - kListLeft, kListRowHeight);
}

// A 1-pixel outline through both corners, edges included.
void outline(QPainter& painter, int left, int top, int right, int bottom) {
    painter.setPen(QPen(Qt::white, 1));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRect(left, top, right - left, bottom - top));
}
} // namespace

void LightingPanel::Impl::text(const char* english, const char* german, int x, int y, int size) {
    text(QString::fromUtf8(m_german ? german : english), x, y, size, kPanelInside);
}

void LightingPanel::Impl::text(const QString& text, int x, int y, int size, const QRect& panel) {
    m_pendingTexts.push_back({text, x, y, size, panel});
}

void LightingPanel::Impl::control(const QRect& rect) {
    if (m_layout)
        m_layout->addControl(rect);
}

void LightingPanel::Impl::picture(QPainter& painter, const char* name, int x, int y) {
    background(painter, name, x, y);
    control(m_skin.inkRect(QString::fromLatin1(name)).translated(x, y));
}

QRect LightingPanel::Impl::background(QPainter& painter, const char* name, int x, int y) {
    const QString file = QString::fromLatin1(name);
    m_skin.draw(painter, file, x, y);
    return QRect(QPoint(x, y), m_skin.size(file));
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
    m_layout = &layout;
    m_pendingTexts.clear();
    painter.save();
    const std::uint8_t code = image.lightingEffect();
    followImage(image);
    updateSliderVisibility(code);

    text("Lighting", "Licht", 27, 85, 15);
    text("Light effects", "Lichteffekte", 28, 112, 15);
    const QRect effectBox = background(painter, "Light_Item.png", 28, 133);

    if (showsSpeed(code)) {
        drawSlider(painter, slider::kSpeed);
        if (!m_lists.effectListOpen) {
            text("Speed", "Effekt geschwindigkeit", 28, 248, 13);
            text("Slow", "Langsam", 28, 275, 13);
            text("Fast", "Schnell", 230, 275, 13);
        }
    }

    text("Brightness", "Helligkeit", 28, 206, 13);
    text("Low", "niedrig", 28, 235, 13);
    text("High", "hoch", 230, 235, 13);
    if (!m_lists.effectListOpen)
        drawSlider(painter, slider::kBrightness);

    if (showsSwatches(code)) {
        if (code != effect::kStatic)
            picture(painter, "8.png", 203, 178);
        for (int slot = 1; slot <= kColourSlotCount; ++slot) {
            const QColor fill =
                isMulticolourOnly(code) ? kGreySquare : toQColor(slotColour(image, slot));
            const QRect swatch(28 + 25 * (slot - 1), kSwatchTop, kSwatchSize, kSwatchSize);
            painter.fillRect(swatch, fill);
            control(swatch);
        }
        const int x = 26 + 25 * (normalisedColourIndex(image) - 1);
        outline(painter, x, 176, x + 23, 199);
        control(QRect(QPoint(x, 176), QPoint(x + 23, 199)));
    }

    if (showsDirection(code)) {
        text("Light Direction", "Effekt Richtung", 29, 152, 15);
        picture(painter, "Direction-T-Disable.png", 116, 152);
        picture(painter, "Direction-B-Disable.png", 148, 152);
        picture(painter, "Direction-R-Disable.png", 179, 152);
        picture(painter, "Direction-L-Disable.png", 211, 152);
        switch (image.direction()) {
        case direction::kLeft:
            picture(painter, "Direction-L-Enable.png", 211, 152);
            break;
        case direction::kRight:
            picture(painter, "Direction-R-Enable.png", 179, 152);
            break;
        case direction::kTop:
            picture(painter, "Direction-T-Enable.png", 116, 152);
            break;
        case direction::kBottom:
            picture(painter, "Direction-B-Enable.png", 148, 152);
            break;
        default:
            break;
        }
    }

    if (isProfileEffect(code)) {
        const bool custom = m_view.perKeyColourMode;
        picture(painter, custom ? "Disable.png" : "Enable.png", 28, 174);
        picture(painter, custom ? "Enable.png" : "Disable.png", 130, 174);
        // Beside their marks: one line lower they would run into the "Brightness" caption.
        text("Keymap", "Belegung", 45, 174, 15);
        text("DIY", "Eigene", 147, 174, 15);
    }

    text(fromView(effectName(code, m_german)), 28, 133, 14, effectBox);

    const QRect macroButton = background(painter, "MacroButton3.png", 107, 610);
    text(m_german ? QStringLiteral("Makro") : QStringLiteral("Macro"), 112, 612, 20, macroButton);

    text("Game Mode", "Spielmodus", 26, 576, 16);
    picture(painter, image.gameMode() != 0 ? "Enable.png" : "Disable.png", 99, 578);

    text("Windows Key", "Windowstasten", 133, 571, 16);
    text("Lock", "sperren", m_german ? 178 : 182, 584, 16);
    picture(painter, image.winKeyLock() != 0 ? "Enable.png" : "Disable.png", 231, 578);

    text("RESPONSE TIME", "Wiederholrate", 26, 460, 15);
    drawSlider(painter, slider::kResponseTime);
    picture(painter, "responsetime_txt.png", 25, 498);

    text("REPORT RATE", "Abfragerate", 26, 518, 15);
    picture(painter, "responsetime_txt.png", 25, 498);
    picture(painter, "reportRate_txt.png", 25, 550);
    drawSlider(painter, slider::kReportRate);

    drawSlider(painter, slider::kPalmBrightness);
    text("Brightness", "Helligkeit", 28, 380, 13);
    // Without descenders: the speed caption sits just below.
    text("Low", "dunkel", 28, 410, 13);
    text("High", "hell", 230, 410, 13);
    drawSlider(painter, slider::kPalmSpeed);
    text("Speed", "Tempo", 28, 420, 13);
    text("Slow", "Langsam", 28, 448, 13);
    text("Fast", "Schnell", 230, 448, 13);

    const std::uint8_t palmCode = palmEffect(image);
    text("Palm Rest Effects", "Handauflage-Effekte", 28, 302, 15);
    const QRect palmBox = background(painter, "Light_Item.png", 28, 317);
    text("Light Direction", "Effekt Richtung", 29, 340, 15);
    picture(painter, "Direction-R-Disable.png", 116, 337);
    picture(painter, "Direction-L-Disable.png", 148, 337);
    if (palmCode == kPalmWave) {
        if (image.at(palm::kDirection) == palm::kDirectionRight)
            picture(painter, "Direction-R-Enable.png", 116, 337);
        else if (image.at(palm::kDirection) == palm::kDirectionLeft)
            picture(painter, "Direction-L-Enable.png", 148, 337);
    }

    text("Palm Rest Color", "Auflagenfarbe", 28, 363, 15);
    if (palmColourEditable(image)) {
        outline(painter, 123, 358, 146, 381);
        painter.fillRect(125, 360, 20, 20, toQColor(palmColour(image)));
        control(QRect(QPoint(123, 358), QPoint(146, 381)));
    } else if (palmCode < kPalmEffectCount) {
        picture(painter, "8.png", 125, 360);
    }
    text(fromView(palmEffectName(palmCode, m_german)), 28, 318, 14, palmBox);

    for (const PendingText& pending : m_pendingTexts)
        layout.draw(painter, pending.text, pending.x, pending.y, kTextColour, pending.size,
                    pending.panel);
    m_pendingTexts.clear();
    m_layout = nullptr;

    // The open list lies over everything; its rows fit their own texts.
    if (m_lists.effectListOpen) {
        for (int row = 0; row < kEffectCount; ++row) {
            const int top = kEffectListTop + kListRowHeight * row;
            painter.fillRect(kListLeft, top, kListRight - kListLeft, kListRowHeight,
                             row == m_lists.effectHover ? kHoveredRow : kRow);
            TextLayout rowLayout;
            rowLayout.draw(painter,
                           fromView(m_german ? EffectCatalogue[row].germanName
                                             : EffectCatalogue[row].englishName),
                           kListLeft, top, kTextColour, 18, listRow(top));
        }
    } else if (m_lists.palmListOpen) {
        for (int row = 0; row < kPalmEffectCount; ++row) {
            const int top = kPalmListTop + kListRowHeight * row;
            painter.fillRect(kListLeft, top, kListRight - kListLeft, kListRowHeight,
                             row == m_lists.palmHover ? kHoveredRow : kRow);
            TextLayout rowLayout;
            rowLayout.draw(painter,
                           fromView(palmEffectName(static_cast<std::uint8_t>(row), m_german)),
                           kListLeft, top, kTextColour, 18, listRow(top));
        }
    }
    painter.restore();
}

} // namespace q905
