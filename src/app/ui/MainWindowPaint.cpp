// SPDX-License-Identifier: GPL-3.0-or-later
// The composition of the main window, layer by layer, straight onto the window. The only
// full-size picture is the skin's background; from its cache file it is read a band at a time
// as a paint needs it, never held whole.
#include "app/ProgramOptions.h"
#include "app/ui/MainWindow.h"
#include "controls/ui/ScaledPicture.h"
#include "lighting/EffectCatalogue.h"

#include <QPainter>

namespace q905 {

namespace {

const QColor kWhite(255, 255, 255);
const QColor kGrey(170, 170, 170);
const QColor kMenuHighlight(150, 28, 34, 170);
// The background where the skin lacks "main.png".
const QColor kFallbackBackground(35, 35, 35);
constexpr QSize kFallbackWindowSize{1000, 640};

QString name(const char* fileName) {
    return QString::fromLatin1(fileName);
}

QPoint topLeftOf(int id) {
    const RegionRect& rect = controlById(kMainWindowControls, id)->rect;
    return {rect.left, rect.top};
}

QRect rectOf(const ControlSpec& control, Language language) {
    const RegionRect& rect = control.rectIn(language);
    return QRect(QPoint(rect.left, rect.top), QPoint(rect.right, rect.bottom));
}

// A button's caption centred on its plate, as large as fits up to its given height.
void drawCaption(TextLayout& layout, QPainter& painter, const QString& text, const QRect& plate,
                 int givenHeight) {
    constexpr int kMargin = 3;
    int height = givenHeight;
    QRect box = skinTextBox(text, 0, 0, height);
    while (height > TextLayout::kSmallestHeight && box.width() > plate.width() - 2 * kMargin)
        box = skinTextBox(text, 0, 0, --height);
    const int x = plate.left() + (plate.width() - box.width()) / 2 - box.left();
    const int y = plate.top() + (plate.height() - box.height()) / 2 - box.top();
    layout.draw(painter, text, x, y, kWhite, height, plate);
}

// A 1-pixel outline a little outside the key's rectangle.
void drawKeyOutline(QPainter& painter, const KeyEntry& key) {
    const int x = kPictureOriginX - 2 + key.left;
    const int y = kPictureOriginY - 2 + key.top;
    const int w = key.right - key.left + 3;
    const int h = key.bottom - key.top + 3;
    const QPoint corners[] = {{x, y}, {x, y + h}, {x + w, y + h}, {x + w, y}, {x, y}};
    painter.drawPolyline(corners, 5);
}

void drawEnterOutline(QPainter& painter) {
    const auto& p = kEnterOutline;
    painter.drawLine(p[0][0], p[0][1], p[1][0], p[1][1]);
    painter.drawLine(p[1][0], p[1][1], p[2][0], p[2][1]);
    painter.drawLine(kEnterOutlineBottomRight, p[2][1], p[3][0], p[3][1]);
    painter.drawLine(p[3][0], p[3][1], p[4][0], p[4][1]);
    painter.drawLine(p[4][0], p[4][1], p[5][0], p[5][1]);
    painter.drawLine(p[5][0], p[5][1], p[0][0], p[0][1]);
}

void drawOutlineOf(QPainter& painter, int key) {
    if (key == kMainEnterKeyIndex)
        drawEnterOutline(painter);
    else
        drawKeyOutline(painter, KeyTable[static_cast<std::size_t>(key)]);
}

void copyHighlight(QPainter& painter, const QImage& highlight, int key) {
    const KeyPieces pieces = highlightPieces(key);
    for (int i = 0; i < pieces.count; ++i) {
        const PictureCopy& c = pieces.copies[static_cast<std::size_t>(i)];
        drawPart(painter, QPoint(c.destX, c.destY), highlight,
                 QRect(c.sourceX, c.sourceY, c.width, c.height));
    }
}

} // namespace

SkinComposition MainWindow::backgroundComposition(const QString& cacheFile) {
    return {name("main.png"),
            {{name("button-help-normal.png"), topLeftOf(mainControl::kHelp)},
             {name("button-min-normal.png"), topLeftOf(mainControl::kHide)},
             {name("button-close-normal.png"), topLeftOf(mainControl::kClose)},
             {name("kb_BK.png"), {kPictureOriginX, kPictureOriginY}}},
            cacheFile};
}

QSize MainWindow::prepareBackground(SkinCache& skin, const QString& cacheFile) {
    const SkinComposition composition = backgroundComposition(cacheFile);
    if (!skin.composeFromCache(composition) && skin.size(composition.base).isEmpty()) {
        QImage plain(kFallbackWindowSize * skin.scale(), QImage::Format_RGB888);
        plain.setDevicePixelRatio(skin.scale());
        plain.fill(kFallbackBackground);
        skin.setImage(composition.base, std::move(plain));
    }
    skin.compose(composition);
    return skin.size(composition.base);
}

QStringList MainWindow::onDemandPictures() {
    // The highlights appear only on assigned or hovered keys, the help menu on a click, and
    // the colour dialog's background belongs to the dialog's own pictures.
    return {name("kb_hl.png"), name("HelpWindow.png"), name("Color_BK.png")};
}

void MainWindow::prepareFirstFrame() {
    // A composition clipped to one pixel: the texts are measured and their fonts loaded, while
    // the pictures are barely drawn.
    QImage scratch(1, 1, QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&scratch);
    compose(painter);
}

void MainWindow::paintMainWindow() {
    update();
}

QImage MainWindow::frame() {
    const qreal ratio = devicePixelRatioF();
    QImage picture(size() * ratio, QImage::Format_ARGB32_Premultiplied);
    picture.setDevicePixelRatio(ratio);
    QPainter painter(&picture);
    compose(painter);
    return picture;
}

void MainWindow::compose(QPainter& painter) {
    // Drawn from a copy taken under the lock: the start-up read may be filling the image.
    const SettingsImage shown = m_host.settings().deviceCopy();
    m_textLayout.clear();
    smoothWhenScaled(painter);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    m_skin.draw(painter, name("main.png"), 0, 0);
    painter.setCompositionMode(QPainter::CompositionMode_SourceOver);

    // The title buttons and the keyboard picture are part of the background (see
    // prepareBackground).
    if (m_helpMenuOpen)
        paintHelpMenu(painter);

    // The keycaps are blank: their labels go over the highlights and under per-key colours.
    if (!m_view.perKeyColourMode) {
        m_keyLabels.paint(painter, paintKeymapLayer(painter));
    } else {
        m_keyLabels.paint(painter, {});
        if (isProfileEffect(shown.lightingEffect()))
            paintPerKeyLayer(painter, shown);
    }

    paintCaptions(painter);
    m_panel->paint(painter, shown, &m_textLayout);
    paintActivity(painter);

    // Without a tray the window is the only place left to say so.
    if (!m_keyboard.connected())
        m_textLayout.draw(painter, text(texts::kNoKeyboard), 330, 50, kWhite, 20, rect());
}

void MainWindow::paintHelpMenu(QPainter& painter) {
    // Each row's text sits a little inside its row.
    constexpr QPoint kTextInset(20, 3);
    constexpr int kTextHeight = 15;
    const QPoint origin(kHelpMenuBox.left, kHelpMenuBox.top);
    m_skin.draw(painter, name("HelpWindow.png"), origin.x(), origin.y());
    const QRect menu(origin, m_skin.size(name("HelpWindow.png")));
    const std::optional<int> focused = m_focus.focusedId();
    for (int id : {mainControl::kFactoryReset, mainControl::kFirmwareUpdate}) {
        const ControlSpec& item = *controlById(kMainWindowControls, id);
        // The item the arrows are on, as menus show it.
        if (focused == id)
            painter.fillRect(rectOf(item, language()).adjusted(3, 1, -3, -1), kMenuHighlight);
        const QPoint at = rectOf(item, language()).topLeft() + kTextInset;
        m_textLayout.draw(painter, text(item.name), at.x(), at.y(), kWhite, kTextHeight, menu);
    }
    // The version row below the items: a text, not a choice.
    const int rowHeight =
        rectOf(*controlById(kMainWindowControls, mainControl::kFactoryReset), language()).height();
    const QPoint at = origin + kTextInset + QPoint(0, 2 * rowHeight);
    m_textLayout.draw(painter, text(texts::kHelpVersion).arg(QString::fromLatin1(programVersion())),
                      at.x(), at.y(), kWhite, kTextHeight, menu);
}

std::array<bool, kKeyCount> MainWindow::paintKeymapLayer(QPainter& painter) {
    // The highlight picture is decoded only once a key shows it.
    const QImage* highlight = nullptr;
    std::array<bool, kKeyCount> lit{};
    const auto light = [&](int key) {
        if (highlight == nullptr)
            highlight = &m_skin.image(name("kb_hl.png"));
        if (!highlight->isNull())
            copyHighlight(painter, *highlight, key);
        lit[static_cast<std::size_t>(key)] = true;
    };
    if (isActionableKey(m_hoverKey))
        light(m_hoverKey);
    const KeyAssignedFlags& flags = m_host.keys().flags();
    for (int key = 0; key < kKeyCount; ++key)
        if (flags[static_cast<std::size_t>(key)] && isActionableKey(key))
            light(key);
    return lit;
}

void MainWindow::paintPerKeyLayer(QPainter& painter, const SettingsImage& shown) {
    const auto page = shown.block(layout::perKeyColourPage(
        static_cast<std::size_t>(shown.lightingEffect() - effect::kFirstProfile)));
    painter.setPen(QPen(kWhite, 1));
    for (int key = 0; key < kKeyCount; ++key) {
        if (isUnplacedKey(key))
            continue;
        const KeyEntry& entry = KeyTable[static_cast<std::size_t>(key)];
        const int r = page[entry.matrixOffset + 1u];
        const int g = page[entry.matrixOffset + 2u];
        const int b = page[entry.matrixOffset + 3u];
        if (r || g || b) {
            const QColor colour(r, g, b);
            if (key == kMainEnterKeyIndex) {
                for (const PixelRect& piece : kEnterColourFill)
                    painter.fillRect(piece.x, piece.y, piece.width, piece.height, colour);
            } else {
                painter.fillRect(kPictureOriginX + entry.left, kPictureOriginY + entry.top,
                                 entry.right - entry.left, entry.bottom - entry.top, colour);
            }
            // In the keycap's own place and fitted, as the blank keycaps are labelled.
            m_keyLabels.paint(painter, key, QColor(255 - r, 255 - g, 255 - b));
            painter.setPen(QPen(kWhite, 1));
        }
        if (m_selection.isSelected(key))
            drawOutlineOf(painter, key);
    }
    if (m_selection.banding()) {
        const DragBand& band = m_selection.band();
        const QPoint corners[] = {{band.startX, band.startY},
                                  {band.startX, band.currentY},
                                  {band.currentX, band.currentY},
                                  {band.currentX, band.startY},
                                  {band.startX, band.startY}};
        painter.drawPolyline(corners, 5);
    }
    if (isActionableKey(m_hoverKey))
        drawOutlineOf(painter, m_hoverKey);
    // The Win key carries no mark while the per-key colours are shown.
    m_host.keys().flags()[kWinKeyIndex] = 0;
}

void MainWindow::paintActivity(QPainter& painter) {
    const WindowText* note = nullptr;
    switch (m_keyboard.activity()) {
    case KeyboardLifecycle::Activity::None:
        return;
    case KeyboardLifecycle::Activity::Reading:
        note = &texts::kBusyReading;
        break;
    case KeyboardLifecycle::Activity::Applying:
        note = &texts::kBusyApplying;
        break;
    case KeyboardLifecycle::Activity::Resetting:
        note = &texts::kBusyResetting;
        break;
    }
    // In the bottom bar, left of Apply.
    const QRect bar(300, 612, 550, 24);
    m_textLayout.draw(painter, text(*note), bar.x(), bar.y() + 3, kGrey, 15, bar);
}

void MainWindow::paintCaptions(QPainter& painter) {
    constexpr int kCaptionHeight = 20;
    for (const auto& [id, picture] : {std::pair{mainControl::kApply, "apply.png"},
                                      std::pair{mainControl::kProfiles, "Config.png"},
                                      std::pair{mainControl::kMacros, "MacroButton3.png"}}) {
        const ControlSpec& button = *controlById(kMainWindowControls, id);
        const QRect plate = rectOf(button, language());
        m_skin.draw(painter, name(picture), plate.left(), plate.top());
        drawCaption(m_textLayout, painter, text(button.name), plate, kCaptionHeight);
    }
}

} // namespace q905
