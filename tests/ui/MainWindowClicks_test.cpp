// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's buttons and help menu, clicked at their places on the picture.
#include "MainWindowHarness.h"

#include "device/SettingsLayout.h"
#include "keys/CommitAssignment.h"
#include "keys/KeymapFile.h"
#include "texts/WindowTexts.h"

#include <QFile>
#include <QSignalSpy>

#include <csignal>
#include <sys/resource.h>

namespace q905 {
namespace {

using testing::WindowHarness;

constexpr QPoint kApply{870, 615};
constexpr QPoint kHelp{940, 10};
constexpr QPoint kClose{980, 10};
constexpr QPoint kHelpResetRow{900, 30};
constexpr QPoint kHelpFirmwareRow{900, 55};

QString qt(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

std::vector<std::string> sentCommands(const WindowHarness& harness) {
    std::vector<std::string> commands;
    for (const testing::SentFrame& frame : harness.trace.sentFrames())
        commands.push_back(frame.commandHex());
    return commands;
}

QByteArray keymapFile(const WindowHarness& harness) {
    QFile file(QString::fromStdString(keymapPath(harness.services.dataFolder).string()));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray fileForm(const SettingsImage& image, const KeyAssignmentTable& table) {
    const auto bytes = hostStateBytes(image, table);
    return QByteArray(reinterpret_cast<const char*>(bytes.data()), qsizetype(bytes.size()));
}

void assignKey30(WindowHarness& harness) {
    HostState& host = harness.window->host();
    ASSERT_TRUE(commitAssignment(host.keys(), host.image(), host.macros(), 30,
                                 AssignmentChoice::singleKey(0x42))
                    .ok());
}

TEST(MainWindowClicks, ApplySendsOnlyTheChangedBlockAndSnapshots) {
    WindowHarness harness;
    harness.start();
    harness.trace.clear();
    std::uint8_t& gameMode = harness.image().at(layout::kGameMode.offset);
    gameMode ^= 1;
    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(sentCommands(harness),
              (std::vector<std::string>{"18", "07", "08", "09", "08", "18"}));
    EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), gameMode);
    EXPECT_EQ(harness.applied(), harness.image());
    EXPECT_TRUE(harness.dialogs.told.empty());
}

TEST(MainWindowClicks, AnApplyThatDoesNotReachTheKeyboardSaysSoAndKeepsTheEdits) {
    WindowHarness harness;
    harness.start();
    harness.keyboard.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !harness.window->keyboard().connected(); }));
    const SettingsImage before = harness.applied();
    harness.image().at(layout::kGameMode.offset) ^= 1;
    assignKey30(harness);
    harness.click(kApply.x(), kApply.y());
    ASSERT_EQ(harness.dialogs.told.size(), 1u);
    EXPECT_TRUE(harness.dialogs.told[0].contains(qt(texts::kApplyNotConnected.english)));
    EXPECT_EQ(harness.applied(), before);
    EXPECT_NE(harness.window->host().keys().appliedTable(), harness.window->host().keys().table());
}

// Writes past 100 KB fail while it lives, as on a full disk: keymap.bin (206,928 bytes) cannot
// be saved, while the test's process carries on.
class FileSizeLimit {
  public:
    FileSizeLimit() {
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = m_before;
        limit.rlim_cur = 100 * 1024;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &m_before);
        std::signal(SIGXFSZ, m_signal);
    }

  private:
    rlimit m_before{};
    void (*m_signal)(int) = nullptr;
};

TEST(MainWindowClicks, AnApplyThatCannotBeSavedSendsNothingAndSaysWhyInTheWindowsLanguage) {
    for (const Language language : {Language::English, Language::German}) {
        WindowHarness harness;
        harness.services.language = language;
        harness.start();
        const QByteArray keymap = keymapFile(harness);
        harness.trace.clear();
        const std::uint8_t keyboardGameMode =
            harness.keyboard.memory().at(layout::kGameMode.offset);
        harness.image().at(layout::kGameMode.offset) ^= 1;
        {
            FileSizeLimit full;
            harness.click(kApply.x(), kApply.y());
        }
        EXPECT_TRUE(sentCommands(harness).empty());
        EXPECT_EQ(harness.keyboard.memory().at(layout::kGameMode.offset), keyboardGameMode);
        EXPECT_EQ(keymapFile(harness), keymap);
        ASSERT_EQ(harness.dialogs.told.size(), 1u);
        const QString reason = qt(systemErrorText(EFBIG, language));
        EXPECT_TRUE(harness.dialogs.told[0].endsWith(
            qt(texts::kNotSavedNothingSent.in(language)).arg(reason)))
            << harness.dialogs.told[0].toStdString();
        // Once the disk has room, the same Apply goes through.
        harness.click(kApply.x(), kApply.y());
        EXPECT_NE(harness.keyboard.memory().at(layout::kGameMode.offset), keyboardGameMode);
    }
}

TEST(MainWindowClicks, TheTopLeftPixelRevertsAndHidesIntoTheTray) {
    WindowHarness harness({.trayAvailable = true});
    harness.start();
    // The keyboard holds a lighting profile: back to it, the picture shows its colours.
    harness.image().at(layout::kLightingEffect) = 0x35;
    harness.window->host().snapshotAll();
    harness.image().at(layout::kLightingEffect) = 0x01;
    harness.image().at(layout::kBrightness) ^= 0x11;
    assignKey30(harness);
    ASSERT_FALSE(harness.window->perKeyColourMode());
    // QTest takes the point (0, 0) for "the middle of the widget": send the events directly.
    harness.press(0, 0);
    harness.release(0, 0);
    EXPECT_EQ(harness.image(), harness.applied());
    EXPECT_EQ(harness.window->host().keys().flags()[30], 0);
    EXPECT_TRUE(harness.window->perKeyColourMode());
    EXPECT_FALSE(harness.window->isVisible());
}

TEST(MainWindowClicks, FactoryResetAsksThenReadsTheKeyboardAgainAndClearsAssignments) {
    WindowHarness harness;
    SettingsImage changed = harness.keyboard.memory();
    changed.at(layout::kBrightness) = 7;
    harness.keyboard.setMemory(changed);
    harness.start();
    assignKey30(harness);
    harness.window->host().snapshotAll();

    // Cancelled: nothing happens.
    harness.click(kHelp.x(), kHelp.y());
    EXPECT_TRUE(harness.window->helpMenuOpen());
    harness.click(kHelpResetRow.x(), kHelpResetRow.y());
    EXPECT_FALSE(harness.window->helpMenuOpen());
    ASSERT_EQ(harness.dialogs.asked.size(), 1u);
    EXPECT_EQ(harness.dialogs.asked[0],
              qt(texts::kFactoryCaption.english) + " | " + qt(texts::kFactoryQuestion.english));
    EXPECT_EQ(harness.image().brightness(), 7);

    harness.dialogs.answerOk = true;
    harness.click(kHelp.x(), kHelp.y());
    harness.click(kHelpResetRow.x(), kHelpResetRow.y());
    EXPECT_NE(harness.image().brightness(), 7);
    EXPECT_EQ(harness.image().brightness(), harness.keyboard.memory().brightness());
    EXPECT_EQ(harness.window->host().keys().flags()[30], 0);
    EXPECT_EQ(harness.window->host().keys().table()[30].data()[0], 0);
    EXPECT_EQ(keymapFile(harness),
              fileForm(harness.image(), harness.window->host().keys().table()));
}

TEST(MainWindowClicks, HelpMenuRowsBeyondTheSecondOnlyCloseIt) {
    WindowHarness harness({.updater = true});
    harness.start();
    harness.click(kHelp.x(), kHelp.y());
    harness.click(900, 80);
    EXPECT_FALSE(harness.window->helpMenuOpen());
    EXPECT_TRUE(harness.dialogs.asked.empty());
    EXPECT_TRUE(harness.launcher.calls.empty());

    harness.click(kHelp.x(), kHelp.y());
    harness.click(kHelpFirmwareRow.x(), kHelpFirmwareRow.y());
    ASSERT_EQ(harness.launcher.calls.size(), 1u);
    EXPECT_NE(harness.launcher.calls[0].find("Korvane Mirex Keyboard Q905 UK_Update.exe"),
              std::string::npos);

    // An updater that does not start is reported.
    harness.launcher.outcome = LaunchOutcome::Failed;
    harness.click(kHelp.x(), kHelp.y());
    harness.click(kHelpFirmwareRow.x(), kHelpFirmwareRow.y());
    ASSERT_EQ(harness.dialogs.told.size(), 1u);
    EXPECT_TRUE(harness.dialogs.told[0].endsWith(qt(kUpdaterFailedText)));
}

TEST(MainWindowClicks, CloseWritesTheAppliedStateTheTrayExitWritesNothing) {
    {
        WindowHarness harness;
        harness.start();
        const SettingsImage applied = harness.applied();
        harness.image().at(layout::kBrightness) ^= 0x11;
        QSignalSpy finished(harness.window.get(), &MainWindow::finished);
        harness.click(kClose.x(), kClose.y());
        EXPECT_EQ(finished.count(), 1);
        EXPECT_EQ(keymapFile(harness),
                  fileForm(applied, harness.window->host().keys().appliedTable()));
    }
    {
        WindowHarness harness({.trayAvailable = true});
        harness.start();
        const QByteArray written = keymapFile(harness);
        harness.image().at(layout::kBrightness) ^= 0x11;
        QSignalSpy finished(harness.window.get(), &MainWindow::finished);
        harness.tray.chooseExit();
        EXPECT_EQ(finished.count(), 1);
        EXPECT_EQ(keymapFile(harness), written);
        EXPECT_FALSE(harness.tray.shown);
    }
}

TEST(MainWindowClicks, EnterAndEscapeKeepTheWindowRightClickOnTheStripShowsAbout) {
    WindowHarness harness;
    harness.start();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter})
        QTest::keyClick(harness.window.get(), key);
    EXPECT_TRUE(harness.window->isVisible());

    harness.rightClick(kHelp.x(), kHelp.y()); // a button, not the strip
    EXPECT_TRUE(harness.dialogs.opened.empty());
    harness.rightClick(500, 15);
    EXPECT_EQ(harness.dialogs.opened, std::vector<QString>{"AboutDialog"});
}

} // namespace
} // namespace q905
