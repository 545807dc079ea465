// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting panel inside the real main window, against the emulated keyboard.
#include "MainWindowHarness.h"

#include "controls/ui/SkinSlider.h"
#include "lighting/PanelRules.h"
#include "lighting/PanelSliders.h"

#include <QApplication>

namespace q905 {
namespace {

using testing::WindowHarness;

constexpr QPoint kApply(880, 620);

SkinSlider* sliderOf(WindowHarness& harness, int controlId) {
    return harness.window->findChild<SkinSlider*>(QStringLiteral("slider%1").arg(controlId));
}

void clickSliderAt(SkinSlider* slider, int windowX) {
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(windowX - slider->x(), 8));
}

TEST(LightingWindow, AnEffectPickedFromTheListReachesTheKeyboardOnApply) {
    WindowHarness harness;
    harness.start();
    harness.click(100, 140);
    harness.click(100, 467);
    EXPECT_EQ(harness.image().lightingEffect(), 0x37);
    EXPECT_TRUE(harness.window->view().perKeyColourMode);
    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(harness.keyboard.memory().lightingEffect(), 0x37);
}

TEST(LightingWindow, WavePickedFromTheListTravelsInBothLightingFrames) {
    WindowHarness harness;
    SettingsImage memory = harness.keyboard.memory();
    memory.at(layout::kLightingEffect) = 1; // Static, so that Wave is a change
    memory.at(layout::kColourIndex) = 2;
    harness.keyboard.setMemory(memory);
    harness.start();
    harness.click(100, 140);
    harness.click(100, 148 + 2 * 20 + 5); // row 2: "Wave"
    EXPECT_EQ(harness.image().lightingEffect(), 3);
    harness.trace.clear();
    harness.click(kApply.x(), kApply.y());

    std::vector<int> lightingEffects;
    for (const testing::SentFrame& frame : harness.trace.sentFrames())
        if (frame.command() == 0x08)
            lightingEffects.push_back(frame.param(2));
    EXPECT_EQ(lightingEffects, (std::vector<int>{3, 3})) << "preview and commit carry Wave";
    // Wave takes multicolour (8) with it.
    EXPECT_EQ(harness.keyboard.memory().lightingEffect(), 3);
    EXPECT_EQ(harness.keyboard.memory().colourIndex(), 8);
}

TEST(LightingWindow, SpeedSliderEndsAreStepsZeroAndNineBothWays) {
    WindowHarness harness;
    harness.start();
    harness.click(100, 140);
    harness.click(100, 148 + 20 * 1 + 5); // Breathing
    SkinSlider* speed = sliderOf(harness, slider::kSpeed);
    ASSERT_NE(speed, nullptr);
    clickSliderAt(speed, 28 + 219);
    EXPECT_EQ(harness.image().speedStep(), 9);
    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(harness.keyboard.memory().speedStep(), 9);

    clickSliderAt(speed, 28);
    EXPECT_EQ(harness.image().speedStep(), 0);
    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(harness.keyboard.memory().speedStep(), 0);

    clickSliderAt(speed, 28 + 219);
    harness.keyboard.sendLightingChange(3, 10);
    EXPECT_TRUE(QTest::qWaitFor([&] { return speed->value() == 0; }, 2000));
    EXPECT_EQ(harness.image().speedStep(), 0);
}

TEST(LightingWindow, TheSelectedSwatchOpensTheColourDialog) {
    WindowHarness harness;
    harness.start();
    harness.click(100, 140);
    harness.click(100, 148 + 20 * 3 + 5); // Reactive
    harness.click(113, 189);              // slot 4 is only selected
    EXPECT_EQ(harness.image().colourIndex(), 4);
    EXPECT_TRUE(harness.colours.initials.empty());
    harness.colours.answer = makeColour(1, 2, 3);
    harness.click(113, 189);
    EXPECT_EQ(harness.colours.initials, std::vector<std::uint32_t>{kDialogStartColour});
    EXPECT_EQ(slotColour(harness.image(), 4), makeColour(1, 2, 3));

    harness.colours.answer = std::nullopt; // Cancel
    harness.click(113, 189);
    EXPECT_EQ(harness.colours.initials.size(), 2u);
    EXPECT_EQ(slotColour(harness.image(), 4), makeColour(1, 2, 3));

    harness.click(188, 189); // another slot is only selected
    EXPECT_EQ(harness.image().colourIndex(), 7);
    EXPECT_EQ(harness.colours.initials.size(), 2u);
}

// A key to whatever has the focus: the window or one of its sliders.
void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
}

void tabTo(MainWindow& window, int id) {
    for (int i = 0; i < 200 && window.focusedControl() != id; ++i)
        press(Qt::Key_Tab);
    ASSERT_EQ(window.focusedControl(), id);
}

TEST(LightingWindow, AnEffectASpeedAndAColourChosenWithTheKeyboardAloneReachTheKeyboard) {
    WindowHarness harness;
    SettingsImage memory = harness.keyboard.memory();
    memory.at(layout::kLightingEffect) = 1; // Static
    memory.at(layout::kSpeedStep) = 3;
    memory.at(layout::kColourIndex) = 1;
    harness.keyboard.setMemory(memory);
    MainWindow& window = harness.start();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    tabTo(window, panelRegion::kEffectBox);
    press(Qt::Key_Return);
    press(Qt::Key_Down);
    press(Qt::Key_Return); // Breathing
    tabTo(window, slider::kSpeed);
    press(Qt::Key_Right);
    tabTo(window, panelRegion::kFirstSwatch + 1);
    harness.colours.answer = makeColour(1, 2, 3);
    press(Qt::Key_Return);
    EXPECT_EQ(harness.colours.initials.size(), 1u);

    harness.trace.clear();
    press(Qt::Key_S, Qt::ControlModifier);
    harness.waitUntilIdle();
    std::vector<int> lightingEffects;
    for (const testing::SentFrame& frame : harness.trace.sentFrames())
        if (frame.command() == 0x08)
            lightingEffects.push_back(frame.param(2));
    EXPECT_EQ(lightingEffects, (std::vector<int>{2, 2})) << "preview and commit carry Breathing";
    const SettingsImage& sent = harness.keyboard.memory();
    EXPECT_EQ(sent.speedStep(), 4);
    EXPECT_EQ(sent.colourIndex(), 2);
    EXPECT_EQ(slotColour(sent, 2), makeColour(1, 2, 3));
}

} // namespace
} // namespace q905
