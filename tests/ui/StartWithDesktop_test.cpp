// SPDX-License-Identifier: GPL-3.0-or-later
// Started with the desktop: no window until asked for, the keyboard's launch keys working all
// the same, and the tray's "Start with the desktop" entry following the autostart file.
#include "MainWindowHarness.h"

#include "app/Autostart.h"
#include "keys/KeyAssignmentTable.h"
#include "platform/qt/SystemTrayIcon.h"

#include <QMenu>
#include <QTemporaryDir>

#include <fstream>

namespace q905 {
namespace {

using testing::WindowHarness;

TEST(StartWithDesktop, InTheBackgroundLaunchKeysWorkAndActivationShowsTheWindow) {
    for (const bool tray : {true, false}) {
        SCOPED_TRACE(tray ? "with a tray" : "without a tray");
        WindowHarness harness({.trayAvailable = tray});
        harness.services.background = true;
        MainWindow& window = harness.start();
        EXPECT_TRUE(window.startsHidden());
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(harness.tray.shown, tray);

        KeyAssignmentRecord& record = window.host().keys().table()[40];
        record.setGroup(FunctionGroup::Startup);
        ASSERT_TRUE(record.setLaunchPath(u"/opt/games/launch"));
        harness.keyboard.sendLaunchRequest(record.keyCode());
        ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.launcher.calls.empty(); }));
        EXPECT_EQ(harness.launcher.calls,
                  std::vector<std::string>{"start /opt/games/launch in /opt/games"});
        EXPECT_FALSE(window.isVisible());

        // What a second start's Activate on the session bus asks of the window (the WindowBus
        // tests make the call itself).
        window.showRequested();
        EXPECT_TRUE(QTest::qWaitFor([&] { return window.isVisible(); }));
        EXPECT_FALSE(window.isMinimized());
    }
}

TEST(StartWithDesktop, TheTrayEntryWritesAndRemovesTheEntryAndShowsWhatTheFileSays) {
    QTemporaryDir config;
    const std::filesystem::path entry =
        std::filesystem::path(config.path().toStdString()) / "autostart" / "q905.desktop";
    SystemTrayIcon tray(nullptr, [] { return true; }); // outlives the window
    WindowHarness harness({.trayAvailable = true});
    harness.services.tray = &tray;
    harness.services.autostartEntry = entry;
    harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return tray.menu() != nullptr; }));
    QMenu* menu = tray.menu();
    QAction* item = menu->actions().value(1);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), "Start with the desktop");
    EXPECT_EQ(menu->actions().value(2)->text(), "Exit");
    const auto opened = [&] {
        emit menu->aboutToShow();
        return item->isChecked();
    };
    EXPECT_FALSE(opened());

    item->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return autostartEnabled(entry); }));
    EXPECT_TRUE(opened());
    item->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return !std::filesystem::exists(entry); }));
    EXPECT_FALSE(opened());

    // Written or removed by hand while the program runs.
    std::filesystem::create_directories(entry.parent_path());
    std::ofstream(entry) << autostartEntryText();
    EXPECT_TRUE(opened());
    std::filesystem::remove(entry);
    EXPECT_FALSE(opened());
    EXPECT_TRUE(harness.dialogs.told.empty());
}

} // namespace
} // namespace q905
