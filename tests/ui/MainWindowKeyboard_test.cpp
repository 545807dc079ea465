// SPDX-License-Identifier: GPL-3.0-or-later
// The main window for a screen reader and with the keyboard alone: every declared control in the
// accessible tree in both languages, Tab through the table's order with the mark drawn, and
// the flows a keyboard user needs (a key's dialog, Apply, the help menu, per-key colours).
#include "MainWindowHarness.h"

#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/RegionRects.h"
#include "device/SettingsLayout.h"
#include "keys/CommitAssignment.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelControls.h"
#include "support/ControlChecks.h"
#include "texts/WindowTexts.h"

namespace q905 {
namespace {

using testing::WindowHarness;

constexpr int kQ = 42;
constexpr int kW = 43;

MainWindow& startActive(WindowHarness& harness) {
    MainWindow& window = harness.start();
    window.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
    return window;
}

QAccessibleInterface* accessibleControl(MainWindow& window, int id) {
    auto* root =
        dynamic_cast<SkinnedWindowAccessible*>(QAccessible::queryAccessibleInterface(&window));
    return root ? root->paintedChild(id) : nullptr;
}

void press(MainWindow& window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&window, key, modifiers);
}

// Tab until the control has the focus (at most a round and a bit).
void tabTo(MainWindow& window, int id) {
    for (int i = 0; i < 200 && window.focusedControl() != id; ++i)
        press(window, Qt::Key_Tab);
    ASSERT_EQ(window.focusedControl(), id);
}

// From the keyboard picture's first stop (Esc) to Q by arrows.
void arrowsToQ(MainWindow& window) {
    tabTo(window, keyControlId(0));
    for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right})
        press(window, key);
    ASSERT_EQ(window.focusedControl(), keyControlId(kQ));
}

TEST(MainWindowKeyboard, EveryControlIsNamedInBothLanguagesKeysSayWhatTheyCarry) {
    for (Language language : {Language::English, Language::German}) {
        SCOPED_TRACE(language == Language::German ? "German" : "English");
        WindowHarness harness;
        harness.services.language = language;
        MainWindow& window = harness.start();
        HostState& host = window.host();
        ASSERT_TRUE(commitAssignment(host.keys(), host.image(), host.macros(), kQ,
                                     AssignmentChoice::singleKey(0x42))
                        .ok());
        test::expectEveryControlAccessible(window);

        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
        EXPECT_EQ(root->role(), QAccessible::Window);
        EXPECT_EQ(root->text(QAccessible::Name), window.windowTitle());
        const bool german = language == Language::German;
        EXPECT_EQ(accessibleControl(window, keyControlId(kQ))->text(QAccessible::Name),
                  german ? "Q, belegt: single B" : "Q, assigned: single B");
        EXPECT_EQ(accessibleControl(window, keyControlId(kW))->text(QAccessible::Name), "W");
        EXPECT_EQ(accessibleControl(window, mainControl::kApply)->text(QAccessible::Name),
                  german ? "Anwenden" : "Apply");
        // The help menu's items show only while it is open.
        QAccessibleInterface* reset = accessibleControl(window, mainControl::kFactoryReset);
        EXPECT_TRUE(reset->state().invisible);
        press(window, Qt::Key_F1);
        EXPECT_FALSE(reset->state().invisible);
        EXPECT_EQ(reset->role(), QAccessible::MenuItem);

        // In a lighting profile's per-key colour view a key says its colour.
        host.image().at(layout::kLightingEffect) = effect::kFirstProfile;
        window.view().perKeyColourMode = true;
        EXPECT_TRUE(accessibleControl(window, keyControlId(kW))
                        ->text(QAccessible::Name)
                        .startsWith(german ? "W, Farbe #" : "W, colour #"));
    }
}

TEST(MainWindowKeyboard, TabVisitsThePanelTheKeyboardPictureAndTheButtonsInOrderWithTheMark) {
    WindowHarness harness;
    MainWindow& window = startActive(harness);
    const std::vector<int> expected = test::expectedTabCycle(window, window.focus());
    // The keyboard picture is one stop, then the bottom buttons, then the window buttons.
    const std::vector<int> tail{keyControlId(0),     mainControl::kProfiles, mainControl::kMacros,
                                mainControl::kApply, mainControl::kHelp,     mainControl::kHide,
                                mainControl::kClose};
    ASSERT_GE(expected.size(), tail.size());
    EXPECT_TRUE(std::equal(tail.begin(), tail.end(), expected.end() - tail.size()));
    // Round once from wherever Qt put the focus first, then once more from the first stop.
    (void)test::tabRound(window, window.focus(), expected.size());
    tabTo(window, expected.back());
    EXPECT_EQ(test::tabRound(window, window.focus(), expected.size()), expected);

    tabTo(window, mainControl::kApply);
    EXPECT_TRUE(test::focusMarkDrawnAround(
        &window, toQRect(controlById(window.controls(), mainControl::kApply)->rect)));
    // Arrows move the picture's stop; Tab leaves and comes back to the key it was on.
    arrowsToQ(window);
    EXPECT_TRUE(test::focusMarkDrawnAround(&window, toQRect(keyControlRect(kQ))));
    press(window, Qt::Key_Tab);
    press(window, Qt::Key_Backtab);
    EXPECT_EQ(window.focusedControl(), keyControlId(kQ));
}

TEST(MainWindowKeyboard, EnterOnQOpensItsKeyDialogCtrlSAppliesF1DownEnterAsksForTheReset) {
    WindowHarness harness;
    MainWindow& window = startActive(harness);
    arrowsToQ(window);
    press(window, Qt::Key_Return);
    EXPECT_EQ(harness.dialogs.opened, std::vector<QString>{"keyAssignment"});

    // Ctrl+S sends the edit, as Apply does; a slider that had the focus has it afterwards.
    harness.trace.clear();
    std::uint8_t& gameMode = harness.image().at(layout::kGameMode.offset);
    gameMode ^= 1;
    tabTo(window, slider::kBrightness);
    ASSERT_EQ(window.focusedControl(), slider::kBrightness);
    press(window, Qt::Key_S, Qt::ControlModifier);
    harness.waitUntilIdle();
    EXPECT_EQ(window.focusedControl(), slider::kBrightness);
    EXPECT_FALSE(harness.trace.sentFrames().empty());
    EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), gameMode);
    EXPECT_EQ(harness.applied(), harness.image());

    press(window, Qt::Key_F1);
    EXPECT_TRUE(window.helpMenuOpen());
    press(window, Qt::Key_Down);
    EXPECT_EQ(window.focusedControl(), mainControl::kFactoryReset);
    press(window, Qt::Key_Return);
    EXPECT_FALSE(window.helpMenuOpen());
    ASSERT_EQ(harness.dialogs.asked.size(), 1u);
    EXPECT_TRUE(harness.dialogs.asked[0].startsWith(
        QString::fromUtf8(texts::kFactoryCaption.english.data())));
    // Esc closes the menu and leaves the focus on its button.
    press(window, Qt::Key_F1);
    press(window, Qt::Key_Up);
    press(window, Qt::Key_Escape);
    EXPECT_FALSE(window.helpMenuOpen());
    EXPECT_EQ(window.focusedControl(), mainControl::kHelp);
    EXPECT_TRUE(harness.launcher.calls.empty());
}

TEST(MainWindowKeyboard, PerKeyColoursBySpaceAndShiftArrowsThenEnterOpensTheColourDialog) {
    WindowHarness harness;
    MainWindow& window = startActive(harness);
    harness.image().at(layout::kLightingEffect) = effect::kFirstProfile;
    window.view().perKeyColourMode = true;
    arrowsToQ(window);
    press(window, Qt::Key_Space);                    // Q
    press(window, Qt::Key_Space);                    // and off again
    press(window, Qt::Key_Right, Qt::ShiftModifier); // Q and W
    harness.colours.answer = 0x0000FF;               // red, stored as 0xBBGGRR
    press(window, Qt::Key_Return);
    ASSERT_EQ(harness.colours.initials.size(), 1u);
    const auto page = harness.image().block(layout::perKeyColourPage(0));
    for (int key = 0; key < kKeyCount; ++key) {
        if (isUnplacedKey(key))
            continue;
        const std::size_t red = KeyTable[static_cast<std::size_t>(key)].matrixOffset + 1u;
        EXPECT_EQ(page[red] == 0xFF, key == kQ || key == kW) << key;
    }
}

// What Orca needs beyond the controls: how an Apply goes, said on the status line as it
// changes, and after a dialog the focus back on what opened it, told as that control (Qt tells
// only that the window took the focus).
TEST(MainWindowScreenReader, ApplyIsToldOnTheStatusLineAndAClosedDialogHandsBackTheFocus) {
    WindowHarness harness;
    MainWindow& window = startActive(harness);
    std::vector<QString> statusLines, said, focused;
    listenToAccessibleEvents([&](QAccessibleEvent& event) {
        QAccessibleInterface* source = event.accessibleInterface();
        if (event.type() == QAccessible::NameChanged && source->role() == QAccessible::StatusBar)
            statusLines.push_back(source->text(QAccessible::Name));
        // Orca speaks a notification that shows, never a name change sent by Qt 6.4.
        if (event.type() == QAccessible::ObjectShow && source->role() == QAccessible::Notification)
            said.push_back(source->text(QAccessible::Name));
        if (event.type() == QAccessible::Focus)
            focused.push_back(source->text(QAccessible::Name));
    });
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    QAccessibleInterface* status = nullptr;
    for (int i = 0; i < root->childCount(); ++i)
        if (root->child(i)->role() == QAccessible::StatusBar)
            status = root->child(i);
    ASSERT_NE(status, nullptr);

    harness.image().at(layout::kGameMode.offset) ^= 1;
    press(window, Qt::Key_S, Qt::ControlModifier);
    harness.waitUntilIdle();
    ASSERT_FALSE(statusLines.empty());
    EXPECT_EQ(statusLines.front(), "Sending your changes to the keyboard…");
    EXPECT_EQ(statusLines.back(), "The keyboard took your changes.");
    EXPECT_EQ(status->text(QAccessible::Name), "The keyboard took your changes.");
    EXPECT_EQ(said, (std::vector<QString>{"Sending your changes to the keyboard…",
                                          "The keyboard took your changes."}));

    // A click on W opens its dialog; closing it gives the window back with W in focus.
    harness.dialogs.onExec = [&](QDialog& dialog) {
        EXPECT_EQ(window.focusedControl(), keyControlId(kW));
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        return int(QDialog::Rejected);
    };
    const QRect w = toQRect(keyControlRect(kW));
    harness.click(w.center().x(), w.center().y());
    EXPECT_EQ(harness.dialogs.opened.size(), 1u);
    focused.clear();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !focused.empty(); }));
    EXPECT_EQ(focused.back(), "W");
    listenToAccessibleEvents({});
}

} // namespace
} // namespace q905
