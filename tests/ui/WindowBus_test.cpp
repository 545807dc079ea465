// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a session bus of the test's own: q905ctl, gdbus and busctl drive it, every
// change lands once and in order, the window's own pending edit stays pending, and a call never
// answers from a state not yet read, nor is left unanswered when the window closes.

#include "app/ui/KeyboardBusService.h"
#include "platform/KeyboardBus.h"
#include "platform/KeyboardLock.h"
#include "ui/MainWindowHarness.h"
#include "ui/PrivateBus.h"

#include "device/SettingsLayout.h"
#include "keys/KeyTable.h"

#include <QDBusConnectionInterface>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <fstream>
#include <set>

#include <sys/types.h>

namespace q905 {
namespace {

using testing::Finished;
using testing::PrivateBus;
using testing::runToEnd;
using testing::WindowHarness;

using Ctl = Finished;

const QString kCtl = QString::fromUtf8(Q905_CTL_PATH);

// The window of harness on bus, serving the emulated keyboard whose file q905ctl names.
void serveOnBus(WindowHarness& harness, PrivateBus& bus) {
    harness.services.keyboardLockFile = KeyboardLock::lockFile(
        true, std::filesystem::path(harness.assetDir.path().toStdString()) / "mem.bin");
    harness.services.bus = bus.connection.get();
    ASSERT_TRUE(claimBusName(*bus.connection));
}

QStringList ctlArguments(WindowHarness& harness, const QStringList& arguments) {
    return QStringList{QStringLiteral("--simulate=mem.bin"), QStringLiteral("--data-dir"),
                       harness.dataDir.path()} +
           arguments;
}

// q905ctl as the user runs it beside the window: the same emulated keyboard file and data
// folder. The window answers on this thread, so the test's event loop turns while it waits.
Ctl runCtl(WindowHarness& harness, const QStringList& arguments) {
    return runToEnd(kCtl, ctlArguments(harness, arguments), harness.assetDir.path());
}

std::array<std::uint8_t, 4> slotOf(const SettingsImage& image, int key) {
    const auto slot = layout::kKeyMapBlock.offset + 4 * std::size_t(KeyTable[key].matrixPosition());
    return {image.at(slot), image.at(slot + 1), image.at(slot + 2), image.at(slot + 3)};
}

TEST(WindowBus, ACommandRunsThroughTheWindowAndItsPendingEditStays) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    MainWindow& window = harness.start();
    std::uint8_t& gameMode = harness.image().at(layout::kGameMode.offset);
    const std::uint8_t keyboardGameMode = gameMode;
    gameMode ^= 1; // pending in the window
    const int q = 42;
    const auto slot = layout::kKeyMapBlock.offset + 4 * std::size_t(KeyTable[q].matrixPosition());
    const auto slotOf = [slot](const SettingsImage& image) {
        return std::array{image.at(slot), image.at(slot + 1), image.at(slot + 2),
                          image.at(slot + 3)};
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
    // The profile is the window's current one, in the window's data folder.
    const Ctl shown = runCtl(harness, {"profile", "show"});
    EXPECT_EQ(shown.out.rfind("launch", 0), 0u) << shown.out << shown.err;
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

    // While the macro dialog is open an edit is refused (its OK would write over the change);
    // what only looks is answered.
    Ctl duringDialog, dumpDuringDialog;
    harness.dialogs.onExec = [&](QDialog&) {
        duringDialog = runCtl(harness, {"macro", "delete", "0"});
        dumpDuringDialog = runCtl(harness, {"dump"});
        return int(QDialog::Rejected);
    };
    harness.click(135, 620);
    EXPECT_EQ(duringDialog.exitCode, 1);
    EXPECT_NE(duringDialog.err.find("dialog open"), std::string::npos) << duringDialog.err;
    EXPECT_EQ(dumpDuringDialog.exitCode, 0) << dumpDuringDialog.err;
    EXPECT_NE(dumpDuringDialog.out.find("Q (42) single B"), std::string::npos);
    EXPECT_EQ(window.host().macros()[0].name(), u"Hi");

    const Ctl noApply = runCtl(harness, {"--no-apply", "set", "brightness=3"});
    EXPECT_EQ(noApply.exitCode, 1);
    EXPECT_NE(noApply.err.find("--no-apply would change them behind its back"), std::string::npos)
        << noApply.err;
    const Ctl traced = runCtl(harness, {"--trace", "t.txt", "set", "brightness=5"});
    EXPECT_EQ(traced.exitCode, 2);
    EXPECT_NE(traced.err.find("--trace cannot apply"), std::string::npos) << traced.err;
    EXPECT_EQ(harness.image().brightness(), 3);
}

std::string gdbusCall(const QString& method, const QStringList& arguments = {}) {
    const Finished call = runToEnd(
        QStringLiteral("gdbus"),
        QStringList{QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                    QString::fromLatin1(bus::kServiceName), QStringLiteral("--object-path"),
                    QString::fromLatin1(bus::kObjectPath), QStringLiteral("--method"), method} +
            arguments);
    EXPECT_EQ(call.exitCode, 0) << call.err;
    return call.out;
}

TEST(WindowBus, GdbusAndBusctlSetAFieldAssignAKeyAndBringTheWindowBack) {
    PrivateBus bus;
    WindowHarness harness({.trayAvailable = true});
    serveOnBus(harness, bus);
    MainWindow& window = harness.start();

    const Finished introspected =
        runToEnd(QStringLiteral("gdbus"),
                 {QStringLiteral("introspect"), QStringLiteral("--session"),
                  QStringLiteral("--dest"), QString::fromLatin1(bus::kServiceName),
                  QStringLiteral("--object-path"), QString::fromLatin1(bus::kObjectPath)});
    EXPECT_NE(introspected.out.find("interface io.github.q905.Keyboard1"), std::string::npos)
        << introspected.out << introspected.err;
    EXPECT_NE(introspected.out.find("interface org.freedesktop.Application"), std::string::npos);

    gdbusCall(QStringLiteral("io.github.q905.Keyboard1.Set"),
              {QStringLiteral("{'brightness': <'2'>, 'gamemode': <true>}")});
    EXPECT_EQ(harness.keyboard.memory().brightness(), 2);
    EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), 1);
    EXPECT_EQ(harness.image().brightness(), 2);

    const Finished assigned = runToEnd(
        QStringLiteral("busctl"),
        {QStringLiteral("--user"), QStringLiteral("call"), QString::fromLatin1(bus::kServiceName),
         QString::fromLatin1(bus::kObjectPath), QString::fromLatin1(bus::kKeyboardInterface),
         QStringLiteral("AssignKey"), QStringLiteral("sas"), QStringLiteral("Q"),
         QStringLiteral("2"), QStringLiteral("single"), QStringLiteral("B")});
    EXPECT_EQ(assigned.exitCode, 0) << assigned.err;
    EXPECT_EQ(assigned.out, "s \"Q (42): single B\\n\"\n");
    EXPECT_EQ(window.host().keys().flags()[42], 1);
    EXPECT_EQ(slotOf(harness.keyboard.memory(), 42), slotOf(harness.applied(), 42));

    // Read back as a dictionary; bad input is a named error with q905ctl's words.
    const std::string state = gdbusCall(QStringLiteral("io.github.q905.Keyboard1.GetState"));
    EXPECT_NE(state.find("'brightness': <int64 2>"), std::string::npos) << state;
    EXPECT_NE(state.find("'assignment': <'single B'>"), std::string::npos) << state;
    const Finished refused = runToEnd(
        QStringLiteral("gdbus"),
        {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
         QString::fromLatin1(bus::kServiceName), QStringLiteral("--object-path"),
         QString::fromLatin1(bus::kObjectPath), QStringLiteral("--method"),
         QStringLiteral("io.github.q905.Keyboard1.Set"), QStringLiteral("{'brightness': <'99'>}")});
    EXPECT_NE(refused.exitCode, 0);
    EXPECT_NE(refused.err.find("io.github.q905.Error.Refused"), std::string::npos) << refused.err;

    window.hide();
    gdbusCall(QStringLiteral("org.freedesktop.Application.Activate"),
              {QStringLiteral("{'activation-token': <'wl-7f3a_c0ffee'>}")});
    EXPECT_TRUE(window.isVisible());
}

TEST(WindowBus, EightCommandsAtOnceAllLandAndThePendingEditStaysPending) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    harness.keyboard.setLatency(std::chrono::microseconds(300));
    MainWindow& window = harness.start();
    const SettingsImage before = harness.keyboard.memory();
    std::uint8_t& winLock = harness.image().at(layout::kWinKeyLock.offset);
    const std::uint8_t keyboardWinLock = winLock;
    winLock ^= 1; // pending in the window

    const std::vector<QStringList> commands{{"assign", "Q", "single", "B"},
                                            {"assign", "W", "single", "C"},
                                            {"assign", "E", "single", "D"},
                                            {"disable", "R"},
                                            {"set", "brightness=1"},
                                            {"set", "speed=2"},
                                            {"macro", "new", "One", "A dn", "A up"},
                                            {"macro", "new", "Two", "B dn", "B up"}};
    std::vector<std::unique_ptr<QProcess>> running;
    for (const QStringList& command : commands) {
        running.push_back(std::make_unique<QProcess>());
        running.back()->setWorkingDirectory(harness.assetDir.path());
        running.back()->start(kCtl, ctlArguments(harness, command));
    }
    for (auto& process : running) {
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return process->state() == QProcess::NotRunning; }, 60000));
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }
    const SettingsImage memory = harness.keyboard.memory();
    for (const int key : {42, 43, 44})
        EXPECT_NE(slotOf(memory, key), slotOf(before, key)) << key;
    EXPECT_EQ(slotOf(memory, 42), slotOf(harness.applied(), 42));
    EXPECT_EQ(memory.brightness(), 1);
    EXPECT_EQ(memory.speedStep(), 2);
    EXPECT_EQ(window.host().keys().flags()[42], 1);
    std::set<std::u16string> macros{window.host().macros()[0].name(),
                                    window.host().macros()[1].name()};
    EXPECT_EQ(macros, (std::set<std::u16string>{u"One", u"Two"}));
    EXPECT_EQ(memory.at(layout::kWinKeyLock.offset), keyboardWinLock);
    EXPECT_EQ(winLock, keyboardWinLock ^ 1);
    bool keyDisabled = false;
    for (std::size_t i = 0; i < layout::kKeyEnableMask.size; ++i)
        keyDisabled |= memory.at(layout::kKeyEnableMask.offset + i) !=
                       before.at(layout::kKeyEnableMask.offset + i);
    EXPECT_TRUE(keyDisabled);
}

TEST(WindowBus, AChangeTheKeyboardDidNotTakeStaysPendingAndAResetClearsTheKeys) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    MainWindow& window = harness.start();
    ASSERT_EQ(runCtl(harness, {"assign", "Q", "single", "B"}).exitCode, 0);
    const int brightness = harness.applied().brightness() == 1 ? 2 : 1;
    harness.keyboard.setFaults({Fault{Fault::Kind::Fail, 1}});
    const Ctl failed = runCtl(harness, {"set", "brightness=" + QString::number(brightness)});
    harness.keyboard.setFaults({});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_NE(failed.err.find("did not take the change"), std::string::npos) << failed.err;
    // Pending in the window, as an edit of its own: its next Apply sends it.
    EXPECT_EQ(harness.image().brightness(), brightness);
    EXPECT_NE(harness.applied().brightness(), brightness);

    const Ctl reset = runCtl(harness, {"reset"});
    EXPECT_EQ(reset.exitCode, 0) << reset.err;
    EXPECT_FALSE(reset.out.empty());
    EXPECT_EQ(window.host().keys().flags()[42], 0);
    EXPECT_EQ(harness.keyboard.memory().brightness(), harness.applied().brightness());
}

long statusField(const char* name) {
    std::ifstream status("/proc/self/status");
    const std::string prefix = std::string(name) + ":";
    for (std::string line; std::getline(status, line);)
        if (line.starts_with(prefix))
            return std::stol(line.substr(prefix.size()));
    return -1;
}

TEST(WindowBus, FiveHundredCallsLeaveThreadsAndAddressSpaceAsTheyWere) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    harness.start();
    QDBusConnection client = QDBusConnection::connectToBus(bus.address(), QStringLiteral("client"));
    const auto calls = [&](int count) {
        int answered = 0;
        for (int i = 0; i < count; ++i) {
            const QDBusMessage message = QDBusMessage::createMethodCall(
                QString::fromLatin1(bus::kServiceName), QString::fromLatin1(bus::kObjectPath),
                QString::fromLatin1(bus::kKeyboardInterface), QStringLiteral("ShowProfile"));
            auto* watcher = new QDBusPendingCallWatcher(client.asyncCall(message));
            QObject::connect(watcher, &QDBusPendingCallWatcher::finished, [&answered](auto* w) {
                EXPECT_FALSE(w->isError()) << w->error().message().toStdString();
                ++answered;
                w->deleteLater();
            });
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered == count; }, 60000));
    };
    calls(20);
    const long threads = statusField("Threads");
    const long addressSpace = statusField("VmSize");
    for (int round = 0; round < 10; ++round)
        calls(50);
    EXPECT_EQ(statusField("Threads"), threads);
    // kB; a thread kept per call would add 8 MB each.
    EXPECT_LT(statusField("VmSize") - addressSpace, 4096);
    client.disconnectFromBus(QStringLiteral("client"));
}

TEST(WindowBus, ACallDuringTheStartUpReadAnswersWithWhatTheReadGot) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    SettingsImage memory = harness.keyboard.memory();
    memory.at(layout::kBrightness) = 1;
    harness.keyboard.setMemory(memory);
    harness.keyboard.setLatency(std::chrono::microseconds(3000));
    harness.window = std::make_unique<MainWindow>(harness.services);
    ASSERT_TRUE(harness.window->startUpReadRunning());
    const Ctl dump = runCtl(harness, {"dump", "--json"});
    EXPECT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("\"brightness\":1"), std::string::npos) << dump.out;
}

TEST(WindowBus, AClosingWindowEndsTheStartUpReadAndTheCallWaitingForItIsAnsweredAsNotRun) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    harness.keyboard.setLatency(std::chrono::microseconds(3000));
    harness.window = std::make_unique<MainWindow>(harness.services);
    QDBusConnection client =
        QDBusConnection::connectToBus(bus.address(), QStringLiteral("waiting-client"));
    const auto call = [&](const char* interface, const char* member) {
        return new QDBusPendingCallWatcher(client.asyncCall(
            QDBusMessage::createMethodCall(
                QString::fromLatin1(bus::kServiceName), QString::fromLatin1(bus::kObjectPath),
                QString::fromLatin1(interface), QString::fromLatin1(member)),
            120000));
    };
    std::unique_ptr<QDBusPendingCallWatcher> waiting(call(bus::kKeyboardInterface, "GetState"));
    // One sender's calls reach the window in order: once this is answered, the first is the
    // window's, waiting for the read.
    std::unique_ptr<QDBusPendingCallWatcher> after(
        call("org.freedesktop.DBus.Introspectable", "Introspect"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return after->isFinished(); }, 30000));
    ASSERT_TRUE(harness.window->startUpReadRunning());
    ASSERT_FALSE(waiting->isFinished());
    // The palm rest is the last block the read asks for.
    const auto palmRestAsked = [&harness] {
        const std::vector<std::string> lines = harness.trace.all();
        return std::any_of(lines.begin(), lines.end(), [](const std::string& line) {
            return line.starts_with("set-feature 00 87");
        });
    };
    ASSERT_FALSE(palmRestAsked()) << "the read was nearly over before the close";

    bool finished = false;
    QObject::connect(harness.window.get(), &MainWindow::finished, [&finished] { finished = true; });
    harness.window->close();
    EXPECT_TRUE(finished);
    // The close ended the read rather than waiting for the rest of it.
    EXPECT_FALSE(palmRestAsked());
    ASSERT_TRUE(QTest::qWaitFor([&] { return waiting->isFinished(); }, 30000));
    ASSERT_TRUE(waiting->isError());
    EXPECT_EQ(waiting->error().name().toStdString(), bus::kErrorFailed);
    EXPECT_NE(waiting->error().message().indexOf(QStringLiteral("nothing was run")), -1)
        << waiting->error().message().toStdString();
    waiting.reset();
    after.reset();
    QDBusConnection::disconnectFromBus(QStringLiteral("waiting-client"));
}

TEST(WindowBus, ARelativeDataFolderIsResolvedWhereQ905ctlRuns) {
    PrivateBus bus;
    WindowHarness harness;
    serveOnBus(harness, bus);
    harness.start();
    const std::filesystem::path data = harness.dataDir.path().toStdString();
    const QString name = QString::fromStdString(data.filename().string());
    const QStringList set{QStringLiteral("--simulate=") + harness.assetDir.filePath("mem.bin"),
                          QStringLiteral("--data-dir"), name, QStringLiteral("set"),
                          QStringLiteral("brightness=2")};
    // Beside the window's data folder: the window's command.
    const Finished mine = runToEnd(kCtl, set, QString::fromStdString(data.parent_path().string()));
    EXPECT_EQ(mine.exitCode, 0) << mine.err;
    EXPECT_EQ(harness.keyboard.memory().brightness(), 2);
    // Elsewhere the same words name another folder: q905ctl runs by itself.
    QStringList other = set;
    other.last() = QStringLiteral("brightness=4");
    const Finished theirs = runToEnd(kCtl, other, harness.assetDir.path());
    EXPECT_EQ(theirs.exitCode, 0) << theirs.err;
    EXPECT_EQ(harness.keyboard.memory().brightness(), 2);
    EXPECT_TRUE(QFile::exists(harness.assetDir.filePath(name + "/keymap.bin")));
}

TEST(WindowBus, AWindowKilledDuringACallLeavesTheOutcomeUnknownAndNothingRunsTwice) {
    PrivateBus bus;
    QTemporaryDir folder;
    const auto file = [&folder](const char* name) {
        return folder.filePath(QString::fromLatin1(name));
    };
    QProcess window;
    window.setWorkingDirectory(folder.path());
    window.start(QString::fromUtf8(Q905_GUI_PATH),
                 {QStringLiteral("--simulate=mem.bin"), QStringLiteral("--simulate-latency"),
                  QStringLiteral("3000"), QStringLiteral("--data-dir"), QStringLiteral("data"),
                  QStringLiteral("--trace"), QStringLiteral("trace.txt")});
    QDBusConnectionInterface* names = bus.connection->interface();
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return names->isServiceRegistered(QString::fromLatin1(bus::kServiceName)).value(); },
        20000));
    const auto memoryFile = [&] {
        QFile memory(file("mem.bin"));
        return memory.open(QIODevice::ReadOnly) ? memory.readAll() : QByteArray();
    };
    const QByteArray memoryBefore = memoryFile();
    QProcess ctl;
    ctl.setWorkingDirectory(folder.path());
    ctl.start(kCtl,
              {QStringLiteral("--simulate=mem.bin"), QStringLiteral("--data-dir"),
               QStringLiteral("data"), QStringLiteral("set"), QStringLiteral("brightness=2")});
    // The call's apply has begun: its session opened after the start-up read.
    const auto applying = [&] {
        QFile trace(file("trace.txt"));
        return trace.open(QIODevice::ReadOnly) && trace.readAll().contains("set-feature 00 18 01");
    };
    ASSERT_TRUE(QTest::qWaitFor(applying, 30000));
    ::kill(pid_t(window.processId()), SIGKILL);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ctl.state() == QProcess::NotRunning; }, 30000));
    EXPECT_EQ(ctl.exitCode(), 1);
    EXPECT_NE(ctl.readAllStandardError().indexOf("unknown"), -1);
    // q905ctl did not run it by itself: it would have written the emulated memory at its end.
    EXPECT_EQ(memoryFile(), memoryBefore);
    window.waitForFinished();
}

} // namespace
} // namespace q905
