// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's own reports (and the launch actions they ask for), plug and unplug, the tray,
// a second start and the update question.
#include "MainWindowHarness.h"

#include "controls/ui/SkinSlider.h"
#include "device/SettingsLayout.h"
#include "firmware/FirmwareVersion.h"
#include "lighting/PanelSliders.h"
#include "texts/WindowTexts.h"

#include <QTemporaryDir>

#include <algorithm>

namespace q905 {
namespace {

using testing::WindowHarness;

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

long countOf(const std::vector<long>& waits, long value) {
    return std::count(waits.begin(), waits.end(), value);
}

// Version queries: one per read of the keyboard.
long versionQueries(const WindowHarness& harness) {
    const auto frames = harness.trace.sentFrames();
    return std::count_if(frames.begin(), frames.end(),
                         [](const testing::SentFrame& frame) { return frame.command() == 0x80; });
}

TEST(MainWindowHotPlug, ALightingReportMovesBothCopiesAndRunsOneRedrawBurst) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    EXPECT_FALSE(window.redrawTimerActive()); // idle: no timer
    harness.keyboard.sendLightingChange(3, 3);
    // The reader stores the value first and hands the burst to the window afterwards.
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.redrawTimerActive(); }, 1000));
    EXPECT_EQ(harness.image().speedStep(), 7);
    EXPECT_EQ(harness.applied().speedStep(), 7);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !window.redrawTimerActive(); }, 1000));

    // A direction report changes the copies but needs no burst. Reports are handled in order:
    // once the launch report behind it has run, the direction report has had its turn.
    KeyAssignmentRecord& record = window.host().keys().table()[40];
    record.setGroup(FunctionGroup::Startup);
    ASSERT_TRUE(record.setLaunchPath(u"/opt/games/launch"));
    harness.keyboard.sendLightingChange(6, 2);
    harness.keyboard.sendLaunchRequest(record.keyCode());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.launcher.calls.empty(); }));
    // Under the lock: the hand-over through the event queue is invisible to ThreadSanitizer.
    EXPECT_EQ(window.host().settings().appliedCopy().direction(), 2);
    EXPECT_FALSE(window.redrawTimerActive());
}

TEST(MainWindowHotPlug, ALaunchReportRunsTheStoredAction) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    KeyAssignmentRecord& record = window.host().keys().table()[40];
    record.setGroup(FunctionGroup::Startup);
    ASSERT_TRUE(record.setLaunchPath(u"/opt/games/launch"));
    harness.keyboard.sendLaunchRequest(record.keyCode());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.launcher.calls.empty(); }));
    EXPECT_EQ(harness.launcher.calls,
              std::vector<std::string>{"start /opt/games/launch in /opt/games"});
    EXPECT_TRUE(harness.dialogs.told.empty());

    // One that does not start is told, naming the path.
    harness.launcher.outcome = LaunchOutcome::Missing;
    harness.keyboard.sendLaunchRequest(record.keyCode());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.dialogs.told.empty(); }));
    EXPECT_TRUE(harness.dialogs.told[0].endsWith(
        qt(texts::kLaunchMissing.english).arg("/opt/games/launch")));
}

// What the desktop launcher finds before it asks the desktop: a path that is gone, a program
// that cannot run.
TEST(MainWindowHotPlug, UnplugAndPlugGiveExactlyOneReadAndOneRefresh) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    harness.trace.clear();
    harness.readDoneCount = 0;

    harness.keyboard.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.keyboard().connected(); }));
    EXPECT_FALSE(window.keyboard().readerRunning());
    harness.keyboard.plug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.readDoneCount > 0; }));
    // A second read could only follow a second arrival's wait.
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.delays.allStepsRun(); }));
    EXPECT_EQ(harness.readDoneCount, 1);
    EXPECT_EQ(versionQueries(harness), 1);
    EXPECT_TRUE(window.keyboard().connected());
    EXPECT_TRUE(window.keyboard().readerRunning());
    EXPECT_EQ(countOf(harness.delays.waits, 2000), 1);
    EXPECT_GE(countOf(harness.delays.waits, 500), 1);
    // The order of steps: removal's wait before the arrival's.
    EXPECT_EQ(harness.delays.waits.front(), 500);

    // A second arrival while connected costs only its wait: once the wait's step has run, a
    // read would have been sent.
    QMetaObject::invokeMethod(&window.keyboard(), &KeyboardLifecycle::deviceArrived);
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.delays.allStepsRun(); }));
    EXPECT_EQ(countOf(harness.delays.waits, 2000), 2);
    EXPECT_EQ(versionQueries(harness), 1);
    EXPECT_EQ(harness.readDoneCount, 1);
}

TEST(MainWindowHotPlug, APlugInReadThatFailsIsToldAndNotTakenAsRead) {
    WindowHarness harness;
    MainWindow& window = harness.start();
    harness.readDoneCount = 0;
    harness.keyboard.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !window.keyboard().connected(); }));
    harness.keyboard.setFaults({Fault{Fault::Kind::Fail, 3}});
    harness.keyboard.plug();

    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.dialogs.told.empty(); }));
    EXPECT_EQ(harness.dialogs.told,
              std::vector<QString>{" | " + qt(texts::kReadFailed.in(Language::English))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.delays.allStepsRun(); }));
    EXPECT_EQ(harness.readDoneCount, 0);
    // The keyboard stayed: it is kept, and the next apply or plug-in can reach it.
    EXPECT_TRUE(window.keyboard().connected());
}

TEST(MainWindowHotPlug, AKeyboardGoneDuringTheStartUpReadComesBackWithItsSettingsShown) {
    WindowHarness harness;
    SettingsImage memory = harness.keyboard.memory();
    memory.at(layout::kBrightness) = 7;
    memory.at(layout::kLightingEffect) = 3;
    memory.at(layout::perKeyColourPage(2).offset + 9) = 0x5A;
    harness.keyboard.setMemory(memory);
    // It answers the 20th transfer, early in the start-up read, and is back at once.
    harness.keyboard.setFaults({*parseFault("replug@20:0")});
    MainWindow& window = harness.start();

    // The start-up read's end is handed over apart from the arrival: wait for both.
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.dialogs.told.empty(); }));
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.delays.allStepsRun(); }));
    EXPECT_EQ(harness.dialogs.told,
              std::vector<QString>{" | " + qt(texts::kReadFailed.in(Language::English))})
        << "the start-up read was cut short and said so";
    EXPECT_EQ(harness.readDoneCount, 1) << "one refresh, after the plug-in read";
    EXPECT_TRUE(window.keyboard().connected());
    EXPECT_TRUE(QTest::qWaitFor([&] { return window.keyboard().readerRunning(); }));
    for (const Block block : {layout::kLightingParams, layout::kKeyMapBlock,
                              layout::kMacroSlotBlock, layout::kPerKeyColourPages})
        EXPECT_TRUE(harness.image().sameBlock(memory, block)) << block.offset;
    auto* brightness =
        window.findChild<SkinSlider*>(QStringLiteral("slider%1").arg(slider::kBrightness));
    ASSERT_NE(brightness, nullptr);
    EXPECT_EQ(brightness->value(), 7);
    // Back for good: an apply reaches it.
    harness.image().at(layout::kBrightness) = 12;
    harness.click(880, 620);
    EXPECT_EQ(harness.keyboard.memory().brightness(), 12);
}

TEST(MainWindowHotPlug, WithoutKeyboardTheProgramWaitsInTheTray) {
    WindowHarness harness({.plugged = false, .trayAvailable = true});
    MainWindow& window = harness.start();
    EXPECT_TRUE(window.startsHidden());
    EXPECT_TRUE(harness.tray.shown);
    EXPECT_EQ(harness.tray.exitItem, "Exit");
    harness.tray.doubleClick();
    EXPECT_EQ(harness.tray.balloons, std::vector<QString>{"Warning | No Gaming Keyboard\uFF01"});
    EXPECT_FALSE(window.isVisible());

    // An arrival reads the keyboard but leaves the window hidden until asked for.
    harness.keyboard.plug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.readDoneCount == 1; }));
    EXPECT_FALSE(window.isVisible());
    harness.tray.doubleClick();
    EXPECT_TRUE(window.isVisible());
}

TEST(MainWindowHotPlug, WithoutATrayTheWindowStaysOnScreenAndSaysSo) {
    WindowHarness harness({.plugged = false, .trayAvailable = false});
    MainWindow& window = harness.start();
    EXPECT_FALSE(window.startsHidden());
    EXPECT_TRUE(window.isVisible());
    // The hide button only minimises: there is no tray to come back from.
    harness.click(960, 10);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(harness.tray.balloons.empty());
}

TEST(MainWindowHotPlug, TheUpdateQuestionComesOnlyForAnOlderKeyboard) {
    {
        WindowHarness harness({.firmwareMajor = 1,
                               .firmwareMinor = 1,
                               .versionFile = "Q905 1.2.0 ",
                               .updater = true});
        harness.dialogs.answerOk = true;
        harness.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.dialogs.asked.empty(); }));
        ASSERT_EQ(harness.dialogs.asked.size(), 1u);
        EXPECT_EQ(harness.dialogs.asked[0],
                  qt(kUpdateQuestionCaption) + " | " + qt(kUpdateQuestionText));
        ASSERT_EQ(harness.launcher.calls.size(), 1u);
        EXPECT_NE(harness.launcher.calls[0].find("_Update.exe"), std::string::npos);
    }
    {
        WindowHarness harness({.firmwareMajor = 1,
                               .firmwareMinor = 2,
                               .versionFile = "Q905 1.2.0 ",
                               .updater = true});
        harness.start();
        // The question would be queued by the refresh that start() waited for.
        harness.runQueuedCalls();
        EXPECT_TRUE(harness.dialogs.asked.empty());
    }
    {
        // Without an updater there is nothing to offer: the user is told the versions.
        WindowHarness harness(
            {.firmwareMajor = 1, .firmwareMinor = 1, .versionFile = "Q905 1.2.0 "});
        harness.dialogs.answerOk = true;
        harness.start();
        ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.dialogs.told.empty(); }));
        EXPECT_TRUE(harness.dialogs.asked.empty());
        EXPECT_TRUE(harness.launcher.calls.empty());
        EXPECT_TRUE(harness.dialogs.told[0].contains(
            QStringLiteral("firmware 1.1; the newest known is 1.2")))
            << harness.dialogs.told[0].toStdString();
    }
}

} // namespace
} // namespace q905

namespace q905 {
namespace {

TEST(MainWindowHotPlug, AWrongSizedKeymapIsToldBeforeItIsRewritten) {
    WindowHarness harness;
    WindowHarness::writeFile(std::filesystem::path(harness.dataDir.path().toStdString()) /
                                 "keymap.bin",
                             std::string(1000, '\0'));
    harness.start();
    ASSERT_FALSE(harness.dialogs.told.empty());
    EXPECT_TRUE(harness.dialogs.told[0].contains(QStringLiteral("holds 1000 bytes")))
        << harness.dialogs.told[0].toStdString();
}

TEST(MainWindowHotPlug, WrongSizedFilesAreToldInTheWindowsLanguage) {
    WindowHarness harness;
    harness.services.language = Language::German;
    const std::filesystem::path data = harness.dataDir.path().toStdString();
    WindowHarness::writeFile(data / "keymap.bin", std::string(1000, '\0'));
    WindowHarness::writeFile(data / "MacroDefine.bin", "");
    harness.start();
    ASSERT_EQ(harness.dialogs.told.size(), 2u);
    EXPECT_TRUE(harness.dialogs.told[0].contains(QStringLiteral("keymap.bin enthält 1000 Bytes")))
        << harness.dialogs.told[0].toStdString();
    EXPECT_TRUE(
        harness.dialogs.told[1].contains(QStringLiteral("MacroDefine.bin enthält 0 Bytes statt")))
        << harness.dialogs.told[1].toStdString();
}

} // namespace
} // namespace q905

namespace q905 {
namespace {

TEST(MainWindowHotPlug, ANotificationInterfaceThatWillNotOpenIsTriedAgain) {
    WindowHarness harness;
    harness.keyboard.refuseNotificationOpens(3);
    harness.start();
    ASSERT_TRUE(QTest::qWaitFor([&] { return harness.window->keyboard().readerRunning(); }));
    // Less often each time.
    const std::vector<long> expected{250, 500, 1000};
    EXPECT_TRUE(std::search(harness.delays.waits.begin(), harness.delays.waits.end(),
                            expected.begin(), expected.end()) != harness.delays.waits.end());
    // The reader delivers the acknowledgements, so an apply goes through.
    harness.image().at(layout::kBrightness) = 12;
    harness.click(880, 620);
    EXPECT_TRUE(harness.dialogs.told.empty());
    EXPECT_EQ(harness.keyboard.memory().brightness(), 12);
}

} // namespace
} // namespace q905
