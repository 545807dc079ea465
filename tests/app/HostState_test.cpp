// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard session's transactions with the host state's side of them (apply, revert,
// factory reset, the refresh after a read, arrival), against the emulated keyboard.
#include "app/HostState.h"
#include "app/KeyboardSession.h"
#include "device/SettingsLayout.h"
#include "emulator/EmulatedKeyboard.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "support/RecordingClock.h"
#include "support/TraceLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <future>
#include <mutex>

#include <sys/stat.h>

namespace q905 {
namespace {

namespace fs = std::filesystem;

class HostStateTest : public ::testing::Test {
  protected:
    HostStateTest() {
        std::string pattern = (fs::temp_directory_path() / "q905-actions-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        host = std::make_unique<HostState>(m_folder);
        (void)host->loadAtStartUp();
        keyboard.setErrorListener(
            [](const std::string& error) { ADD_FAILURE() << "emulated keyboard: " << error; });
        session = std::make_unique<KeyboardSession>(keyboard.backend(), clock, trace.get());
    }
    ~HostStateTest() override {
        session.reset();
        fs::remove_all(m_folder);
    }

    // Opened and read as at start-up, with the notification reader running.
    void connectAndRead() {
        const OpenReport opened = waitFor(*session, &KeyboardSession::open);
        ASSERT_TRUE(opened.opened) << opened.error;
        ASSERT_TRUE(opened.readerStarted);
        const ReadReport read =
            waitFor(*session, &KeyboardSession::read, ReadKind::StartUp, KeyboardImages{}, false);
        ASSERT_EQ(read.result, ReadResult::Complete);
        host->takeKeyboardImages(read.images.device, read.images.applied, read.images.version);
        host->snapshotAll();
    }

    void assignKey30() {
        ASSERT_TRUE(commitAssignment(host->keys(), host->image(), host->macros(), 30,
                                     AssignmentChoice::singleKey(0x42))
                        .ok());
    }

    std::uint8_t& gameMode() { return host->image().at(layout::kGameMode.offset); }
    std::uint8_t appliedGameMode() {
        return host->settings().appliedSettings().at(layout::kGameMode.offset);
    }

    EmulatedKeyboard keyboard;
    testing::RecordingClock clock;
    // Called with each trace line, on the session's thread or the reader's.
    std::mutex traceMutex;
    std::function<void(const std::string&)> onTraceLine;
    std::vector<std::string> traceLines;
    std::unique_ptr<Trace> trace = std::make_unique<Trace>([this](const std::string& line) {
        std::lock_guard lock(traceMutex);
        traceLines.push_back(line);
        if (onTraceLine)
            onTraceLine(line);
    });
    std::vector<std::string> lines() {
        std::lock_guard lock(traceMutex);
        return traceLines;
    }
    // The window's three steps, waiting for the keyboard.
    ApplyOutcome applyAndSave() {
        Result<PreparedSave> save = host->prepareSave();
        EXPECT_TRUE(save.ok()) << save.message();
        return host->finishApply(std::move(*save),
                                 waitFor(*session, &KeyboardSession::apply, host->image(),
                                         host->settings().appliedSettings()));
    }
    FactoryResetOutcome factoryReset() {
        Result<PreparedSave> save = host->prepareSave();
        EXPECT_TRUE(save.ok()) << save.message();
        return host->finishFactoryReset(std::move(*save),
                                        waitFor(*session, &KeyboardSession::factoryReset));
    }

    std::unique_ptr<HostState> host;
    std::unique_ptr<KeyboardSession> session;

  private:
    fs::path m_folder;
};

TEST_F(HostStateTest, AnUnacknowledgedApplyKeepsTheEditsPending) {
    connectAndRead();
    keyboard.setFaults({Fault{Fault::Kind::NoAck, 0}});
    const std::uint8_t before = appliedGameMode();
    gameMode() = before ? 0 : 1;
    assignKey30();
    const ApplyOutcome outcome = applyAndSave();
    EXPECT_EQ(outcome.result, ApplyResult::NotAcknowledged);
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(appliedGameMode(), before);
    EXPECT_NE(host->keys().appliedTable(), host->keys().table());
}

TEST_F(HostStateTest, EditsTheKeyboardRefusedAreShownAndSentByTheNextWindow) {
    connectAndRead();
    const std::uint8_t before = appliedGameMode();
    gameMode() = before ? 0 : 1;
    keyboard.setFaults({Fault{Fault::Kind::Fail, 3}});
    EXPECT_TRUE(applyAndSave().failed());
    keyboard.setFaults({});
    session.reset();

    // The next run of the window, on the same files.
    host = std::make_unique<HostState>(host->dataFolder());
    (void)host->loadAtStartUp();
    session = std::make_unique<KeyboardSession>(keyboard.backend(), clock, nullptr);
    connectAndRead();
    ASSERT_TRUE(host->readDone(ReadSource::Keyboard).ok());
    EXPECT_NE(gameMode(), before);
    EXPECT_EQ(host->keys().flags()[kFnKeyIndex], 0);
    EXPECT_FALSE(applyAndSave().failed());
    EXPECT_NE(keyboard.memory().at(layout::kGameMode.offset), before);
    EXPECT_FALSE(fs::exists(host->dataFolder() / kAppliedFileName));
}

TEST_F(HostStateTest, RevertRestoresTheAppliedCopiesAndTheirFile) {
    connectAndRead();
    gameMode() = gameMode() ? 0 : 1;
    assignKey30();
    ASSERT_TRUE(host->saveKeymap().ok());
    ASSERT_TRUE(fs::exists(host->dataFolder() / kAppliedFileName));
    EXPECT_TRUE(host->revertAll().ok());
    EXPECT_EQ(host->image(), host->settings().appliedSettings());
    EXPECT_EQ(host->keys().table(), host->keys().appliedTable());
    EXPECT_EQ(host->keys().flags()[30], 0);
    EXPECT_FALSE(fs::exists(host->dataFolder() / kAppliedFileName));
}

TEST_F(HostStateTest, AFactoryResetTheKeyboardDidNotTakeLeavesTheAssignments) {
    assignKey30();
    host->snapshotAll();
    EXPECT_EQ(factoryReset().reset, ApplyResult::NotConnected);
    EXPECT_EQ(host->keys().flags()[30], 1);

    connectAndRead();
    // The reset's first frame fails: the keyboard keeps its settings, and so does the host.
    keyboard.setFaults({Fault{Fault::Kind::Fail, 1}});
    const FactoryResetOutcome failed = factoryReset();
    EXPECT_EQ(failed.reset, ApplyResult::TransferFailed);
    EXPECT_TRUE(failed.failed());
    EXPECT_EQ(host->keys().flags()[30], 1);
    EXPECT_EQ(host->keys().table()[30].data()[0], 0x42);

    keyboard.setFaults({});
    const FactoryResetOutcome reset = factoryReset();
    EXPECT_FALSE(reset.failed());
    EXPECT_EQ(host->keys().flags()[30], 0);
}

TEST_F(HostStateTest, AnArrivalOpensOnlyAKeyboardThatIsThereAndNotYetOpen) {
    keyboard.unplug();
    const auto reopen = [this] {
        std::promise<OpenReport> done;
        session->reopen([&done](OpenReport opened) { done.set_value(opened); });
        return done.get_future().get();
    };
    EXPECT_FALSE(reopen().opened);
    keyboard.plug();
    const OpenReport opened = reopen();
    EXPECT_TRUE(opened.opened);
    EXPECT_TRUE(opened.readerStarted);
    EXPECT_FALSE(reopen().opened);
    EXPECT_EQ(session->generation(), 1u);
}

TEST_F(HostStateTest, TransactionsRunInTheOrderAskedAndAStopEndsAnApplyWithItsClosingFrames) {
    connectAndRead();
    std::vector<int> order;
    std::promise<void> allDone;
    SettingsImage edited = host->image();
    edited.at(layout::kBrightness) = 1;
    for (int i = 0; i < 3; ++i)
        session->apply(edited, host->settings().appliedSettings(),
                       [&order, i](ApplyReport) { order.push_back(i); });
    session->read(ReadKind::PlugIn, {host->image(), host->settings().appliedSettings(), {}}, true,
                  [&](ReadReport) {
                      order.push_back(3);
                      allDone.set_value();
                  });
    allDone.get_future().wait();
    EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3}));

    // Stopped once the first block of a large apply has gone out: the apply ends there with the
    // closing lighting and session frames, and nothing asked later runs.
    {
        std::lock_guard lock(traceMutex);
        traceLines.clear();
        onTraceLine = [this](const std::string& line) {
            if (line.starts_with("set-feature 00 12")) // the first per-key page
                session->stop();
        };
    }
    for (std::size_t page = 0; page < layout::kPerKeyPageCount; ++page)
        edited.at(layout::kPerKeyColourPages.offset + page * layout::kPerKeyPageSize) ^= 0x55;
    bool laterRan = false;
    const ApplyReport stopped =
        waitFor(*session, &KeyboardSession::apply, edited, host->settings().appliedSettings());
    session->read(ReadKind::PlugIn, {}, false, [&](ReadReport) { laterRan = true; });
    EXPECT_EQ(stopped.result, ApplyResult::Stopped);
    const std::vector<std::string> heads = testing::headsOf(testing::sentFramesOf(lines()));
    ASSERT_GE(heads.size(), 3u);
    EXPECT_EQ(heads[heads.size() - 2], "08 02");
    EXPECT_EQ(heads.back(), "18 00");
    EXPECT_EQ(std::count_if(heads.begin(), heads.end(),
                            [](const std::string& head) { return head.starts_with("12"); }),
              1);
    EXPECT_NE(stopped.images.applied, edited);
    session.reset();
    EXPECT_FALSE(laterRan);
}

TEST(HostFiles, FilesThatCouldNotBeReadAreNeverWrittenOver) {
    std::string pattern = (fs::temp_directory_path() / "q905-unread-XXXXXX").string();
    const fs::path folder = mkdtemp(pattern.data());
    // A FIFO cannot be read as a file (and permissions would not stop root, who runs CI).
    ASSERT_EQ(::mkfifo((folder / "keymap.bin").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo((folder / "MacroDefine.bin").c_str(), 0600), 0);
    HostState host(folder);
    const HostState::LoadReport report = host.loadAtStartUp();
    EXPECT_EQ(report.keymap.status, KeymapLoadStatus::Unreadable);
    EXPECT_TRUE(host.keymapKeptAsItIs());
    EXPECT_TRUE(host.macrosKeptAsItIs());

    host.image().at(layout::kBrightness) = 7;
    EXPECT_TRUE(host.saveKeymap().ok());
    EXPECT_TRUE(host.saveAppliedKeymap().ok());
    EXPECT_TRUE(host.saveMacros().ok());
    EXPECT_TRUE(host.revertAll().ok());
    EXPECT_TRUE(fs::is_fifo(folder / "keymap.bin"));
    EXPECT_TRUE(fs::is_fifo(folder / "MacroDefine.bin"));
    EXPECT_FALSE(fs::exists(folder / "applied.bin"));
    fs::remove_all(folder);
}

} // namespace
} // namespace q905
