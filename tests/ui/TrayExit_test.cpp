// SPDX-License-Identifier: GPL-3.0-or-later
// The tray: Exit chosen from its own menu (the menu is still handling the click when the window
// acts on it, so nothing may go away under it), and showing and hiding the window from it.
#include "MainWindowHarness.h"

#include "platform/qt/SystemTrayIcon.h"

#include <QMenu>
#include <QPointer>
#include <QSignalSpy>

namespace q905 {
namespace {

using testing::WindowHarness;

void exitFromTheTrayMenu(bool hiddenFirst) {
    SystemTrayIcon tray(nullptr, [] { return true; }); // outlives the window
    WindowHarness harness({.trayAvailable = true});
    harness.services.tray = &tray;
    MainWindow& window = harness.start();
    QSignalSpy finished(&window, &MainWindow::finished);
    if (hiddenFirst) {
        // The top-left pixel hides the window into the tray.
        harness.press(0, 0);
        harness.release(0, 0);
        ASSERT_FALSE(window.isVisible());
    }

    QPointer<QMenu> menu = tray.menu();
    ASSERT_TRUE(menu);
    menu->popup(QPoint(20, 20));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(menu.data()));
    QAction* exitItem = menu->actions().value(1);
    ASSERT_NE(exitItem, nullptr);
    EXPECT_EQ(exitItem->text(), "Exit");
    EXPECT_EQ(menu->actions().value(0)->text(), "Show");
    QTest::mouseClick(menu.data(), Qt::LeftButton, {}, menu->actionGeometry(exitItem).center());
    EXPECT_TRUE(menu) << "the menu was deleted inside its own click handling";

    EXPECT_TRUE(QTest::qWaitFor([&] { return finished.count() == 1; }, 2000));
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(tray.menu(), nullptr);
    EXPECT_TRUE(QTest::qWaitFor([&] { return menu.isNull(); }, 2000));
}

TEST(TrayExit, FromTheMenuWhileTheWindowIsShown) {
    exitFromTheTrayMenu(false);
}

TEST(TrayExit, FromTheMenuAfterHidingIntoTheTray) {
    exitFromTheTrayMenu(true);
}

// What StatusNotifier hosts send (Activate, a Trigger) and what XEmbed trays send for a double
// click (a Trigger, then a DoubleClick) both leave the window where the user wants it.
TEST(TrayActivation, AClickTogglesTheWindowAndADoubleClickOrShowBringsItBack) {
    SystemTrayIcon tray(nullptr, [] { return true; });
    WindowHarness harness({.trayAvailable = true});
    harness.services.tray = &tray;
    MainWindow& window = harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.icon() != nullptr; }));
    const auto activate = [&](QSystemTrayIcon::ActivationReason reason) {
        emit tray.icon()->activated(reason);
    };

    activate(QSystemTrayIcon::Trigger);
    EXPECT_FALSE(window.isVisible());
    activate(QSystemTrayIcon::Trigger);
    EXPECT_TRUE(window.isVisible());

    activate(QSystemTrayIcon::Trigger);
    activate(QSystemTrayIcon::DoubleClick);
    EXPECT_TRUE(window.isVisible());

    activate(QSystemTrayIcon::Trigger);
    ASSERT_FALSE(window.isVisible());
    tray.menu()->actions().value(0)->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }));
}

// The tray goes while the window is hidden in it: the window comes back minimised, so the
// desktop's window list reaches it, and the hide button only minimises until a tray is back.
TEST(TrayFallback, ATrayThatGoesLeavesTheWindowInTheWindowListUntilOneComesBack) {
    WindowHarness harness({.trayAvailable = true});
    MainWindow& window = harness.start();
    harness.click(960, 10); // the hide button
    ASSERT_FALSE(window.isVisible());
    EXPECT_TRUE(harness.tray.windowHidden);

    harness.tray.setAvailable(false);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());
    EXPECT_FALSE(harness.tray.windowHidden);
    window.showRequested(); // what a second start asks
    EXPECT_FALSE(window.isMinimized());
    harness.click(960, 10);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(window.isMinimized());

    // A new tray host gets the icon anew; hiding goes into it again.
    harness.tray.shown = false;
    harness.tray.setAvailable(true);
    EXPECT_TRUE(harness.tray.shown);
    window.showRequested();
    harness.click(960, 10);
    EXPECT_FALSE(window.isVisible());
}

} // namespace
} // namespace q905
