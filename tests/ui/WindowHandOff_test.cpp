// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl while the window owns the keyboard: the command runs in the window, through its
// session, and the window's own pending edit stays pending.

#include "platform/KeyboardLock.h"
#include "ui/MainWindowHarness.h"

#include "device/SettingsLayout.h"
#include "keys/KeyTable.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace q905 {
namespace {

using testing::WindowHarness;

struct Ctl {
    int exitCode = -1;
    std::string out, err;
};

// q905ctl as the user runs it beside the window: the same emulated keyboard file and data
// folder. The window answers on this thread, so the test's event loop turns while it waits.
Ctl runCtl(WindowHarness& harness, const QStringList& arguments) {
    QProcess ctl;
    ctl.setWorkingDirectory(harness.assetDir.path());
    ctl.start(QString::fromUtf8(Q905_CTL_PATH),
              QStringList{QStringLiteral("--simulate=mem.bin"), QStringLiteral("--data-dir"),
                          harness.dataDir.path()} +
                  arguments);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ctl.state() == QProcess::NotRunning; }, 20000));
    return {ctl.exitCode(), ctl.readAllStandardOutput().toStdString(),
            ctl.readAllStandardError().toStdString()};
}

TEST(WindowHandOff, ACommandRunsThroughTheWindowAndItsPendingEditStays) {
    WindowHarness harness;
    // The lock of the emulated keyboard whose file q905ctl names.
    harness.services.keyboardLockFile = KeyboardLock::lockFile(
        true, std::filesystem::path(harness.assetDir.path().toStdString()) / "mem.bin");
    MainWindow& window = harness.start();
    std::uint8_t& gameMode = harness.image().at(layout::kGameMode.offset);
    const std::uint8_t keyboardGameMode = gameMode;
    gameMode ^= 1; // pending in the window
    const int q = 42;
    const auto slot = layout::kKeyMapBlock.offset + 4 * std::size_t(KeyTable[q].matrixPosition());
    const auto slotOf = [slot](const SettingsImage& image) {
        return std::array{image.at(slot), image.at(slot + 1), image.at(slot + 2), image.at(slot + 3)};
    };
    const auto defaultSlot = slotOf(harness.keyboard.memory());

    const Ctl assign = runCtl(harness, {"assign", "Q", "single", "B"});
    ASSERT_EQ(assign.exitCode, 0) << assign.err;
    EXPECT_EQ(assign.out, "Q (42): single B\n");
    // On the keyboard at once, shown in the window at once; the window's edit still pending.
    EXPECT_NE(slotOf(harness.keyboard.memory()), defaultSlot);
    EXPECT_EQ(slotOf(harness.keyboard.memory()), slotOf(harness.applied()));
    EXPECT_EQ(window.host().keys().flags()[q], 1);
    EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), keyboardGameMode);
    EXPECT_EQ(gameMode, keyboardGameMode ^ 1);
    EXPECT_NE(harness.image(), harness.applied());

    // dump answers from the window's state: no second read of the keyboard.
    harness.trace.clear();
    const Ctl dump = runCtl(harness, {"dump"});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("Q (42) single B"), std::string::npos) << dump.out;
    EXPECT_TRUE(harness.trace.sentFrames().empty());

    // The window's Apply sends its own edit and leaves the command's change alone.
    harness.click(870, 615);
    EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), keyboardGameMode ^ 1);
    EXPECT_NE(slotOf(harness.keyboard.memory()), defaultSlot);
    EXPECT_EQ(window.host().keys().flags()[q], 1);

    // The other commands that change something go the same way.
    const Ctl set = runCtl(harness, {"set", "brightness=3"});
    EXPECT_EQ(set.exitCode, 0) << set.err;
    EXPECT_EQ(harness.keyboard.memory().brightness(), 3);
    EXPECT_EQ(harness.image().brightness(), 3);
    const Ctl macro = runCtl(harness, {"macro", "new", "Hi", "A dn", "A up"});
    EXPECT_EQ(macro.exitCode, 0) << macro.err;
    EXPECT_EQ(window.host().macros()[0].name(), u"Hi");

    // A profile whose key opens a program comes in only when asked for, relative paths being
    // q905ctl's.
    const Ctl launch = runCtl(harness, {"assign", "W", "launch", "program", "/bin/true"});
    ASSERT_EQ(launch.exitCode, 0) << launch.err;
    const int w = std::stoi(launch.out.substr(launch.out.find('(') + 1));
    ASSERT_EQ(runCtl(harness, {"profile", "export", "launch.bin"}).exitCode, 0);
    EXPECT_TRUE(QFile::exists(harness.assetDir.filePath(QStringLiteral("launch.bin"))));
    ASSERT_EQ(runCtl(harness, {"assign", "W", "default"}).exitCode, 0);
    EXPECT_EQ(window.host().keys().flags()[std::size_t(w)], 0);
    const Ctl refused = runCtl(harness, {"profile", "import", "launch.bin"});
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("--accept-launch-actions"), std::string::npos) << refused.err;
    EXPECT_EQ(window.host().keys().flags()[std::size_t(w)], 0);
    const Ctl accepted =
        runCtl(harness, {"profile", "import", "launch.bin", "--accept-launch-actions"});
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
    EXPECT_EQ(window.host().keys().flags()[std::size_t(w)], 1);
    EXPECT_EQ(harness.image().at(layout::kGameMode.offset), keyboardGameMode ^ 1);

    // While the macro dialog is open a command waits for it: its OK would write over the change.
    Ctl duringDialog;
    harness.dialogs.onExec = [&](QDialog&) {
        duringDialog = runCtl(harness, {"macro", "delete", "0"});
        return int(QDialog::Rejected);
    };
    harness.click(135, 620);
    EXPECT_EQ(duringDialog.exitCode, 1);
    EXPECT_NE(duringDialog.err.find("dialog open"), std::string::npos) << duringDialog.err;
    EXPECT_EQ(window.host().macros()[0].name(), u"Hi");

    const Ctl noApply = runCtl(harness, {"--no-apply", "set", "brightness=3"});
    EXPECT_EQ(noApply.exitCode, 1);
    EXPECT_NE(noApply.err.find("--no-apply would change them behind its back"),
              std::string::npos)
        << noApply.err;
}

} // namespace
} // namespace q905
