// SPDX-License-Identifier: GPL-3.0-or-later
// Undo and redo in the main window: the image and keymap.bin come back byte for byte, and
// Apply ends the history.
#include "MainWindowHarness.h"

#include "base/RegularFile.h"
#include "controls/ui/SkinSlider.h"
#include "keys/KeymapFile.h"
#include "lighting/PanelSliders.h"

namespace q905 {
namespace {

using testing::keyCentre;
using testing::WindowHarness;

constexpr QPoint kApply(880, 620);

void chooseEffectRow(WindowHarness& harness, int row) {
    harness.click(100, 140);
    harness.click(100, 148 + 20 * row + 5);
}

void key(WindowHarness& harness, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(harness.window.get(), key, modifiers);
}

std::vector<std::uint8_t> keymapFile(WindowHarness& harness) {
    return readRegularFile(harness.window->host().dataFolder() / kKeymapFileName, 1 << 20).bytes;
}

TEST(MainWindowUndo, EditsUndoneToTheStartGiveBackTheBytesAndRedoReachesTheEnd) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    const SettingsImage startImage = harness.image();
    const auto startFile = keymapFile(harness);

    chooseEffectRow(harness, 0); // Static
    harness.click(63, 189);      // colour slot 2
    // A drag along the brightness slider: many positions, one step.
    auto* brightness =
        window.findChild<SkinSlider*>(QStringLiteral("slider%1").arg(slider::kBrightness));
    ASSERT_NE(brightness, nullptr);
    QTest::mousePress(brightness, Qt::LeftButton, {}, QPoint(20, 8));
    for (int x = 30; x <= 150; x += 30)
        QTest::mouseMove(brightness, QPoint(x, 8));
    QTest::mouseRelease(brightness, Qt::LeftButton, {}, QPoint(150, 8));
    harness.runQueuedCalls();
    harness.click(104, 588);      // game mode
    chooseEffectRow(harness, 11); // lighting profile 1, its per-key colours
    ASSERT_TRUE(window.perKeyColourMode());
    // A band over Esc and F1, then the colour for both: one step.
    harness.press(keyCentre(0).x() - 15, keyCentre(0).y() - 15);
    harness.moveHeld(keyCentre(1).x() + 15, keyCentre(1).y() + 15);
    harness.release(keyCentre(1).x() + 15, keyCentre(1).y() + 15);
    harness.colours.answer = 0x00FF00;
    harness.click(keyCentre(1).x(), keyCentre(1).y());
    const SettingsImage endImage = harness.image();
    const auto endFile = keymapFile(harness);
    ASSERT_NE(endImage, startImage);

    for (int step = 0; step < 6; ++step) {
        ASSERT_TRUE(window.history().canUndo()) << step;
        key(harness, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_FALSE(window.history().canUndo());
    EXPECT_EQ(harness.image(), startImage);
    EXPECT_EQ(keymapFile(harness), startFile);
    key(harness, Qt::Key_Z, Qt::ControlModifier); // nothing left: nothing changes
    EXPECT_EQ(harness.image(), startImage);

    for (int step = 0; step < 3; ++step)
        key(harness, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    for (int step = 0; step < 3; ++step)
        key(harness, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_FALSE(window.history().canRedo());
    EXPECT_EQ(harness.image(), endImage);
    EXPECT_EQ(keymapFile(harness), endFile);
}

TEST(MainWindowUndo, ApplyEndsTheHistoryAndAnUndoneEffectIsNeverSent) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    chooseEffectRow(harness, 1); // Breathing
    harness.click(kApply.x(), kApply.y());
    EXPECT_FALSE(window.history().canUndo());

    harness.click(63, 189);
    key(harness, Qt::Key_Z, Qt::ControlModifier);
    key(harness, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(harness.image(), harness.applied());
    EXPECT_EQ(harness.image().lightingEffect(), 2);

    // A new edit forgets what was undone.
    chooseEffectRow(harness, 0);
    EXPECT_FALSE(window.history().canRedo());
    key(harness, Qt::Key_Z, Qt::ControlModifier);
    harness.trace.clear();
    harness.click(kApply.x(), kApply.y());
    for (const testing::SentFrame& frame : harness.trace.sentFrames())
        EXPECT_NE(frame.command(), 0x08) << frame.head();
    EXPECT_EQ(harness.keyboard.memory().lightingEffect(), 2);
}

TEST(MainWindowUndo, AChangeMadeOnTheKeyboardIsABoundary) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    chooseEffectRow(harness, 1); // Breathing
    ASSERT_TRUE(window.history().canUndo());
    harness.keyboard.sendLightingChange(3, 3); // speed, from the keyboard's own keys
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.history().canUndo(); }, 2000));
    const SettingsImage changed = harness.image();
    key(harness, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(harness.image(), changed);
}

} // namespace
} // namespace q905
