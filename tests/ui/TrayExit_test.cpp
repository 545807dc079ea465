// Exit chosen from the tray's own menu: the menu is still handling the click when the window
// acts on it, so nothing may go away under it, whether the window is shown or in the tray.
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
    QAction* exitItem = menu->actions().value(0);
    ASSERT_NE(exitItem, nullptr);
    EXPECT_EQ(exitItem->text(), "Exit");
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

} // namespace
} // namespace q905
