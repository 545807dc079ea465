// Apply, revert, factory reset, the refresh after a read and the keyboard's comings and goings,
// against the emulated keyboard.
#include "app/WindowActions.h"
#include "device/SettingsLayout.h"
#include "emulator/EmulatedKeyboard.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "support/RecordingClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>

#include <sys/stat.h>

namespace q905 {
namespace {

namespace fs = std::filesystem;

class WindowActionsTest : public ::testing::Test {
  protected:
    WindowActionsTest() {
        std::string pattern = (fs::temp_directory_path() / "q905-actions-XXXXXX").string();
        m_folder = mkdtemp(pattern.data());
        host = std::make_unique<HostState>(m_folder);
        (void)host->loadAtStartUp();
        keyboard.setErrorListener(
            [](const std::string& error) { ADD_FAILURE() << "emulated keyboard: " << error; });
        connection = std::make_unique<KeyboardConnection>(keyboard.backend(), clock, nullptr,
                                                          host->settings());
    }
    ~WindowActionsTest() override {
        connection->shutdown([] {});
        fs::remove_all(m_folder);
    }

    // Opened and read as at start-up, with the notification reader running.
    void connectAndRead() {
        const auto opened = connection->openAndStartInitialRead({});
        ASSERT_TRUE(opened.opened) << opened.error;
        connection->finishInitialRead([] {});
        ASSERT_TRUE(connection->startReader(nullptr));
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
    std::unique_ptr<HostState> host;
    std::unique_ptr<KeyboardConnection> connection;

  private:
    fs::path m_folder;
};

TEST_F(WindowActionsTest, AnUnacknowledgedApplyKeepsTheEditsPending) {
    // Command handle only: nothing listens for the keyboard's acknowledgements.
    ASSERT_TRUE(connection->link().openCommandHandle());
    const std::uint8_t before = appliedGameMode();
    gameMode() = before ? 0 : 1;
    assignKey30();
    const ApplyOutcome outcome = applyEdits(connection->link(), connection->ack(), *host);
    EXPECT_EQ(outcome.result, ApplyResult::NotAcknowledged);
    EXPECT_TRUE(outcome.failed());
    EXPECT_EQ(appliedGameMode(), before);
    EXPECT_NE(host->keys().appliedTable(), host->keys().table());
}

TEST_F(WindowActionsTest, EditsTheKeyboardRefusedAreShownAndSentByTheNextWindow) {
    connectAndRead();
    const std::uint8_t before = appliedGameMode();
    gameMode() = before ? 0 : 1;
    keyboard.setFaults({Fault{Fault::Kind::Fail, 3}});
    EXPECT_TRUE(applyEdits(connection->link(), connection->ack(), *host).failed());
    keyboard.setFaults({});
    connection->shutdown([] {});

    // The next run of the window, on the same files.
    host = std::make_unique<HostState>(host->dataFolder());
    (void)host->loadAtStartUp();
    connection =
        std::make_unique<KeyboardConnection>(keyboard.backend(), clock, nullptr, host->settings());
    connectAndRead();
    ASSERT_TRUE(readDoneHostSide(*connection, *host, ReadSource::Keyboard).ok());
    EXPECT_NE(gameMode(), before);
    EXPECT_FALSE(applyEdits(connection->link(), connection->ack(), *host).failed());
    EXPECT_NE(keyboard.memory().at(layout::kGameMode.offset), before);
    EXPECT_FALSE(fs::exists(host->dataFolder() / kAppliedFileName));
}

TEST_F(WindowActionsTest, RevertRestoresTheAppliedCopiesAndChoosesTheView) {
    connectAndRead();
    gameMode() = gameMode() ? 0 : 1;
    assignKey30();
    EXPECT_FALSE(revertEdits(*host).perKeyColourMode);
    EXPECT_EQ(host->image(), host->settings().appliedSettings());
    EXPECT_EQ(host->keys().table(), host->keys().appliedTable());
    EXPECT_EQ(host->keys().flags()[30], 0);

    host->image().at(layout::kLightingEffect) = 0x35;
    host->snapshotAll();
    EXPECT_TRUE(revertEdits(*host).perKeyColourMode);
}

TEST_F(WindowActionsTest, AFactoryResetTheKeyboardDidNotTakeLeavesTheAssignments) {
    assignKey30();
    host->snapshotAll();
    EXPECT_EQ(factoryReset(connection->link(), *host).reset, ApplyResult::NotConnected);
    EXPECT_EQ(host->keys().flags()[30], 1);

    connectAndRead();
    // The reset's first frame fails: the keyboard keeps its settings, and so does the host.
    keyboard.setFaults({Fault{Fault::Kind::Fail, 1}});
    const FactoryResetOutcome failed = factoryReset(connection->link(), *host);
    EXPECT_EQ(failed.reset, ApplyResult::TransferFailed);
    EXPECT_TRUE(failed.failed());
    EXPECT_EQ(host->keys().flags()[30], 1);
    EXPECT_EQ(host->keys().table()[30].data()[0], 0x42);

    keyboard.setFaults({});
    const FactoryResetOutcome reset = factoryReset(connection->link(), *host);
    EXPECT_FALSE(reset.failed());
    EXPECT_EQ(host->keys().flags()[30], 0);
}

TEST_F(WindowActionsTest, TheRefreshAfterAKeyboardReadAsksForTheLightingAgain) {
    connectAndRead();
    // The notification reader is not told, so only the second query can see this.
    connection->stopReader();
    keyboard.sendLightingChange(2, 0x34);
    ASSERT_TRUE(readDoneHostSide(*connection, *host, ReadSource::Profile).ok());
    EXPECT_NE(host->image().lightingEffect(), 0x34);
    ASSERT_TRUE(readDoneHostSide(*connection, *host, ReadSource::Keyboard).ok());
    EXPECT_EQ(host->image().lightingEffect(), 0x34);
    EXPECT_EQ(host->keys().flags()[kFnKeyIndex], 0);
}

TEST_F(WindowActionsTest, AnArrivalReadsOnceAndOnlyWhenTheKeyboardCanBeOpened) {
    keyboard.unplug();
    EXPECT_EQ(connection->arrive(), KeyboardConnection::Arrival::NotOpened);
    keyboard.plug();
    const std::size_t before = keyboard.transferCount();
    EXPECT_EQ(connection->arrive(), KeyboardConnection::Arrival::Read);
    const std::size_t afterRead = keyboard.transferCount();
    EXPECT_GT(afterRead, before);
    EXPECT_EQ(connection->arrive(), KeyboardConnection::Arrival::AlreadyConnected);
    EXPECT_EQ(keyboard.transferCount(), afterRead);
    EXPECT_EQ(connection->generation(), 1u);
}

TEST_F(WindowActionsTest, AReaderEndedByUnplugIsReplacedOnTheNextArrival) {
    connectAndRead();
    keyboard.unplug();
    for (int i = 0; i < 2000 && connection->readerRunning(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    ASSERT_FALSE(connection->readerRunning());
    connection->closeHandles();
    keyboard.plug();
    ASSERT_EQ(connection->arrive(), KeyboardConnection::Arrival::Read);
    EXPECT_TRUE(connection->startReader(nullptr));
    EXPECT_TRUE(connection->readerRunning());
}

TEST_F(WindowActionsTest, TeardownLetsAStartUpReadHandItsCompletionOver) {
    // The completion waits for the window's thread, as a blocking hand-over does; teardown
    // must let it through instead of waiting for the read forever.
    std::atomic<bool> handedOver{false};
    std::atomic<bool> pumped{false};
    const auto opened = connection->openAndStartInitialRead([&](ReadResult) {
        while (!pumped)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        handedOver = true;
    });
    ASSERT_TRUE(opened.opened);
    connection->shutdown([&] { pumped = true; });
    EXPECT_TRUE(handedOver);
    EXPECT_FALSE(connection->connected());
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
    EXPECT_TRUE(revertEdits(host).saved.ok());
    EXPECT_TRUE(fs::is_fifo(folder / "keymap.bin"));
    EXPECT_TRUE(fs::is_fifo(folder / "MacroDefine.bin"));
    EXPECT_FALSE(fs::exists(folder / "applied.bin"));
    fs::remove_all(folder);
}

} // namespace
} // namespace q905
