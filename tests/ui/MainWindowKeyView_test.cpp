// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard picture: hover, assigned-key marks, the per-key colour layer and the selection;
// the labels and button captions in each language.
#include "MainWindowHarness.h"

#include "app/MainWindowControls.h"
#include "controls/ui/RegionRects.h"
#include "device/SettingsLayout.h"
#include "keys/KeyLabelBox.h"
#include "support/FakeKeyboardLayout.h"

#include <QPainter>

namespace q905 {
namespace {

using testing::keyCentre;
using testing::WindowHarness;

constexpr std::uint8_t kProfile1 = 0x33;

QRgb pixel(MainWindow& window, int x, int y) {
    return window.frame().pixel(x, y);
}
QRgb pixelOf(const QImage& picture, int x, int y) {
    return picture.convertToFormat(QImage::Format_ARGB32_Premultiplied).pixel(x, y);
}

// A point inside a key, away from its label.
QPoint keyCorner(int key) {
    const KeyEntry& e = KeyTable[static_cast<std::size_t>(key)];
    return {kPictureOriginX + e.left + 2, kPictureOriginY + e.top + 2};
}

void showPerKeyColours(WindowHarness& harness) {
    harness.image().at(layout::kLightingEffect) = kProfile1;
    harness.window->view().perKeyColourMode = true;
    harness.window->paintMainWindow();
}

std::uint8_t* colourRecord(WindowHarness& harness, int key) {
    return harness.image().data() + layout::perKeyColourPage(0).offset +
           KeyTable[static_cast<std::size_t>(key)].matrixOffset;
}

TEST(MainWindowKeyView, HoverHighlightsKeysButNotTheFixedOnesInTheKeymapView) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    const QImage highlight(QString(Q905_SKIN_DIR) + "/png/english/kb_hl.png");
    ASSERT_FALSE(highlight.isNull());
    const QPoint q = keyCorner(30);

    harness.hover(keyCentre(30).x(), keyCentre(30).y());
    EXPECT_EQ(window.hoverKey(), 30);
    EXPECT_EQ(pixel(window, q.x(), q.y()),
              pixelOf(highlight, q.x() - kPictureOriginX, q.y() - kPictureOriginY));

    harness.hover(keyCentre(96).x(), keyCentre(96).y()); // Win
    EXPECT_EQ(window.hoverKey(), kNoHoverKey);
    EXPECT_NE(pixel(window, q.x(), q.y()),
              pixelOf(highlight, q.x() - kPictureOriginX, q.y() - kPictureOriginY));

    // In the per-key view the Win key is found and outlined.
    showPerKeyColours(harness);
    harness.hover(keyCentre(96).x(), keyCentre(96).y());
    EXPECT_EQ(window.hoverKey(), 96);
    const KeyEntry& win = KeyTable[96];
    EXPECT_EQ(pixel(window, kPictureOriginX - 2 + win.left, kPictureOriginY - 2 + win.top),
              qRgb(255, 255, 255));
}

QRect labelPlace(int key) {
    const KeyLabelBox box = keyLabelBox(key);
    return {kPictureOriginX + box.x, kPictureOriginY + box.y, box.width, box.height};
}

// A label's antialiased edge may reach a pixel or two past the face.
bool onALabel(QPoint point) {
    for (int key = 0; key < kKeyCount; ++key)
        if (!isUnplacedKey(key) && labelPlace(key).adjusted(-2, -2, 2, 2).contains(point))
            return true;
    return false;
}

TEST(MainWindowKeyView, KeyboardAndTitleButtonsShowExactlyAsTheirPictures) {
    // They are drawn into the kept background once, no longer at every paint; the keycaps'
    // labels are written over them.
    WindowHarness harness;
    MainWindow& window = harness.start();
    const QString folder = QString(Q905_SKIN_DIR) + "/png/english/";
    QImage expected(folder + "main.png");
    expected.convertTo(QImage::Format_ARGB32_Premultiplied);
    struct Piece {
        const char* name;
        QPoint at;
    };
    const Piece pieces[] = {{"kb_BK.png", {kPictureOriginX, kPictureOriginY}},
                            {"button-help-normal.png", {936, 5}},
                            {"button-min-normal.png", {957, 5}},
                            {"button-close-normal.png", {978, 5}}};
    QPainter painter(&expected);
    for (const Piece& piece : pieces)
        painter.drawImage(piece.at, QImage(folder + piece.name));
    painter.end();

    const QImage frame = window.frame();
    for (const Piece& piece : pieces) {
        const QRect place(piece.at, QImage(folder + piece.name).size());
        int differing = 0;
        for (int y = place.top(); y <= place.bottom(); ++y)
            for (int x = place.left(); x <= place.right(); ++x)
                differing += frame.pixel(x, y) != expected.pixel(x, y) && !onALabel({x, y});
        EXPECT_EQ(differing, 0) << piece.name;
    }
    EXPECT_NE(frame.copy(labelPlace(42)), expected.copy(labelPlace(42))) << "Q is labelled";
}

TEST(MainWindowKeyView, KeyLabelsAndButtonCaptionsFollowTheLayoutAndTheLanguage) {
    WindowHarness us;
    us.start();
    const testing::GermanLikeLayout layout;
    WindowHarness german;
    german.services.keyboardLayout = &layout;
    german.services.language = Language::German;
    german.start();
    const QImage usFrame = us.window->frame();
    const QImage germanFrame = german.window->frame();
    const auto differs = [&](int key) {
        return usFrame.copy(labelPlace(key)) != germanFrame.copy(labelPlace(key));
    };
    EXPECT_TRUE(differs(79)) << "the US Z key types Y";
    EXPECT_TRUE(differs(72)) << "the US ; key types Ö";
    EXPECT_TRUE(differs(95)) << "Ctrl is Strg in German";
    EXPECT_FALSE(differs(80)) << "X is X";
    EXPECT_FALSE(differs(1)) << "F1 is F1";
    const auto captionDiffers = [&](int button) {
        const QRect plate = toQRect(controlById(kMainWindowControls, button)->rect);
        return usFrame.copy(plate) != germanFrame.copy(plate);
    };
    EXPECT_FALSE(captionDiffers(mainControl::kMacros)) << "Macro is captioned in English";
    EXPECT_TRUE(captionDiffers(mainControl::kProfiles)) << "Profile is Profil in German";
}

TEST(MainWindowKeyView, AssignedKeysAreMarkedAndTheEmptySlotPointIsIgnored) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    const QPoint q = keyCorner(40);
    const QRgb unmarked = pixel(window, q.x(), q.y());
    window.host().keys().flags()[40] = 1;
    window.paintMainWindow();
    EXPECT_NE(pixel(window, q.x(), q.y()), unmarked);

    const QImage before = window.frame();
    harness.click(309, 92);
    EXPECT_EQ(window.frame(), before);
    EXPECT_TRUE(harness.colours.initials.empty());
}

TEST(MainWindowKeyView, PerKeyColoursAreFilledBlackKeysAreLeftAsDrawn) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    showPerKeyColours(harness);
    const QPoint esc = keyCorner(0);
    const QPoint f1 = keyCorner(1);
    const QRgb drawnF1 = pixel(window, f1.x(), f1.y());
    std::uint8_t* escRecord = colourRecord(harness, 0);
    escRecord[1] = 1, escRecord[2] = 0, escRecord[3] = 0;
    std::uint8_t* f1Record = colourRecord(harness, 1);
    f1Record[1] = f1Record[2] = f1Record[3] = 0;
    window.paintMainWindow();
    EXPECT_EQ(pixel(window, esc.x(), esc.y()), qRgb(1, 0, 0));
    EXPECT_EQ(pixel(window, f1.x(), f1.y()), drawnF1);
}

TEST(MainWindowKeyView, AClickOnAKeyOpensTheColourDialogForIt) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    showPerKeyColours(harness);
    harness.colours.answer = 0x0000FF;
    harness.click(keyCentre(30).x(), keyCentre(30).y());
    EXPECT_EQ(harness.colours.initials, std::vector<std::uint32_t>{0x0C0C0C});
    const std::uint8_t* record = colourRecord(harness, 30);
    EXPECT_EQ((std::vector<int>{record[0], record[1], record[2], record[3]}),
              (std::vector<int>{0, 0xFF, 0, 0}));
    EXPECT_FALSE(window.selection().anySelected());
    EXPECT_EQ(window.selection().state(), SelectionState::Idle);
}

TEST(MainWindowKeyView, ABandEndingOffTheKeysArmsTheNextClick) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    showPerKeyColours(harness);
    const KeyEntry& esc = KeyTable[0];
    const KeyEntry& f1 = KeyTable[1];
    harness.press(kPictureOriginX + esc.left - 3, kPictureOriginY + esc.top - 3);
    // Only part of F1: Esc alone is selected.
    harness.moveHeld(kPictureOriginX + f1.left + 5, kPictureOriginY + esc.bottom + 3);
    EXPECT_TRUE(window.selection().isSelected(0));
    EXPECT_FALSE(window.selection().isSelected(1));
    EXPECT_EQ(window.selection().state(), SelectionState::Banded);
    harness.release(kPictureOriginX + f1.left + 5, kPictureOriginY + esc.bottom + 3);
    EXPECT_EQ(window.selection().state(), SelectionState::Armed);
    EXPECT_TRUE(harness.colours.initials.empty());

    harness.click(keyCentre(50).x(), keyCentre(50).y());
    EXPECT_EQ(harness.colours.initials.size(), 1u);
    EXPECT_FALSE(window.selection().anySelected());
}

TEST(MainWindowKeyView, ABandDrawnBackwardsSelectsNothing) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    showPerKeyColours(harness);
    harness.press(700, 300);
    harness.moveHeld(360, 180);
    EXPECT_FALSE(window.selection().anySelected());
    harness.release(360, 180);
    EXPECT_EQ(window.selection().state(), SelectionState::Idle);
}

TEST(MainWindowKeyView, CtrlClickSelectsAndDeselects) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    showPerKeyColours(harness);
    const QPoint key = keyCentre(30);
    harness.click(key.x(), key.y(), Qt::ControlModifier);
    EXPECT_TRUE(window.selection().isSelected(30));
    harness.click(key.x(), key.y(), Qt::ControlModifier);
    EXPECT_FALSE(window.selection().isSelected(30));
    EXPECT_TRUE(harness.colours.initials.empty());
}

} // namespace
} // namespace q905
