// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The main window on the emulated keyboard, with every collaborator a test can answer or watch:
// dialogs, colour picker, launcher, tray, the hot-plug waits, a recording clock and a trace.

#include "app/ui/Delays.h"
#include "app/ui/HotPlugSource.h"
#include "app/ui/MainWindow.h"
#include "emulator/EmulatedKeyboard.h"
#include "firmware/Launcher.h"
#include "firmware/Updater.h"
#include "lighting/ui/ColourPicker.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"
#include "support/RecordingClock.h"
#include "support/RecordingLauncher.h"
#include "support/TraceLines.h"

#include <QDialog>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace q905::testing {

class AnsweringDialogs final : public UserDialogs {
  public:
    bool askOkCancel(QWidget*, const QString& caption, const QString& text) override {
        asked.push_back(caption + " | " + text);
        return answerOk;
    }
    void tell(QWidget*, const QString& caption, const QString& text) override {
        told.push_back(caption + " | " + text);
    }
    int exec(QDialog& dialog) override {
        opened.push_back(dialog.objectName());
        return onExec ? onExec(dialog) : QDialog::Rejected;
    }
    QString openFileName(QWidget*, const QString&, const QString& folder,
                         const QString& filter) override {
        pickerFolders.push_back(folder);
        pickerFilters.push_back(filter);
        return fileAnswer;
    }
    QString saveFileName(QWidget*, const QString&, const QString& folder,
                         const QString& filter) override {
        pickerFolders.push_back(folder);
        pickerFilters.push_back(filter);
        return fileAnswer;
    }
    QString existingFolder(QWidget*, const QString&, const QString&) override { return {}; }

    bool answerOk = false;
    std::vector<QString> asked, told, opened;
    // Plays the user of a dialog the window runs; its result is the dialog's.
    std::function<int(QDialog&)> onExec;
    QString fileAnswer; // what the file pickers return
    std::vector<QString> pickerFolders, pickerFilters;
};

class AnsweringColourPicker final : public ColourPicker {
  public:
    std::optional<std::uint32_t> pickColour(QWidget*, std::uint32_t initial) override {
        initials.push_back(initial);
        return answer;
    }
    std::optional<std::uint32_t> answer;
    std::vector<std::uint32_t> initials;
};

class FakeTray final : public TrayIcon {
  public:
    explicit FakeTray(bool available) : m_available(available) {}
    bool available() const override { return m_available; }
    void show(const QIcon&, const QString&, const QString& showText,
              const QString& exitText) override {
        shown = true;
        showItem = showText;
        exitItem = exitText;
    }
    void remove() override { shown = false; }
    void showBalloon(const QString& title, const QString& text) override {
        balloons.push_back(title + " | " + text);
    }
    void setWindowHidden(bool hidden) override { windowHidden = hidden; }
    void click() { emit clicked(); }
    void doubleClick() { emit doubleClicked(); }
    void chooseExit() { emit exitChosen(); }
    // The panel with the tray goes or comes back.
    void setAvailable(bool available) {
        m_available = available;
        emit availabilityChanged(available);
    }

    bool shown = false;
    bool windowHidden = false;
    QString showItem;
    QString exitItem;
    std::vector<QString> balloons;

  private:
    bool m_available;
};

// Records each wait and runs its step on the next turn of the event loop.
class RecordingDelays final : public Delays {
  public:
    void after(std::chrono::milliseconds wait, QObject* context,
               std::function<void()> step) override {
        waits.push_back(wait.count());
        QTimer::singleShot(0, context, [this, step = std::move(step)] {
            step();
            ++stepsRun;
        });
    }
    // Every wait asked for so far has run its step.
    bool allStepsRun() const { return stepsRun == waits.size(); }

    std::vector<long> waits;
    std::size_t stepsRun = 0;
};

struct HarnessOptions {
    bool plugged = true;
    bool trayAvailable = false;
    std::uint8_t firmwareMajor = 1, firmwareMinor = 0;
    // Contents of VER.bin in the asset folder; none when empty.
    std::string versionFile = {};
    // Whether an updater lies beside the assets.
    bool updater = false;
};

class WindowHarness {
  public:
    explicit WindowHarness(HarnessOptions options = {})
        : keyboard(EmulatedKeyboard::Options{options.firmwareMajor, options.firmwareMinor, {}}),
          tray(options.trayAvailable) {
        keyboard.setErrorListener(
            [](const std::string& error) { ADD_FAILURE() << "emulated keyboard: " << error; });
        if (!options.plugged)
            keyboard.unplug();
        // The generated skin, plus a VER.bin of the test's own.
        const std::filesystem::path assets = assetDir.path().toStdString();
        std::filesystem::create_directory_symlink(std::filesystem::path(Q905_SKIN_DIR) / "png",
                                                  assets / "png");
        if (!options.versionFile.empty())
            writeFile(assets / "VER.bin", options.versionFile);
        if (options.updater)
            writeFile(updaterPath(assets), "");

        services.backend = &keyboard.backend();
        services.clock = &clock;
        services.trace = &trace.trace();
        services.dialogs = &dialogs;
        services.launcher = &launcher;
        services.colourPicker = &colours;
        services.tray = &tray;
        services.delays = &delays;
        services.dataFolder = dataDir.path().toStdString();
        services.assetRoot = assets;
    }
    ~WindowHarness() { window.reset(); }

    // Builds the window, shows it unless it starts hidden, and waits for the start-up read.
    MainWindow& start() {
        // Listening before the start-up read begins, as the program does: a keyboard that goes
        // during that read is heard.
        auto hotPlug = std::make_unique<EmulatedHotPlug>(keyboard);
        window = std::make_unique<MainWindow>(services);
        QObject::connect(window.get(), &MainWindow::readDone, [this] { ++readDoneCount; });
        window->adoptHotPlugSource(std::move(hotPlug));
        if (!window->startsHidden()) {
            window->show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
        }
        if (window->keyboard().connected()) {
            EXPECT_TRUE(QTest::qWaitFor([this] { return readDoneCount > 0; }, 5000));
        }
        return *window;
    }

    // A click, then the wait for what it asked of the keyboard's session (an apply, a reset)
    // to be reported and shown.
    void click(int x, int y, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QTest::mouseClick(window.get(), Qt::LeftButton, modifiers, QPoint(x, y));
        waitUntilIdle();
    }
    void waitUntilIdle() {
        if (window) {
            EXPECT_TRUE(QTest::qWaitFor([this] { return !window || !window->busy(); }, 10000));
        }
    }
    void rightClick(int x, int y) {
        QTest::mouseClick(window.get(), Qt::RightButton, Qt::NoModifier, QPoint(x, y));
    }
    // Press, moves and release sent to the window as the platform would.
    void press(int x, int y) {
        mouse(QEvent::MouseButtonPress, x, y, Qt::LeftButton, Qt::LeftButton);
    }
    void moveHeld(int x, int y) { mouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::LeftButton); }
    void hover(int x, int y) { mouse(QEvent::MouseMove, x, y, Qt::NoButton, Qt::NoButton); }
    void release(int x, int y) { mouse(QEvent::MouseButtonRelease, x, y, Qt::LeftButton, {}); }

    // Waits until the window has run every call queued for it so far (hand-overs from its
    // threads, questions asked from the event loop): a call queued now runs after all of them.
    void runQueuedCalls() {
        bool reached = false;
        QMetaObject::invokeMethod(
            window.get(), [&reached] { reached = true; }, Qt::QueuedConnection);
        EXPECT_TRUE(QTest::qWaitFor([&reached] { return reached; }));
    }

    SettingsImage& image() { return window->host().image(); }
    const SettingsImage& applied() { return window->host().settings().appliedSettings(); }

    static void writeFile(const std::filesystem::path& file, const std::string& bytes) {
        QFile out(QString::fromStdString(file.string()));
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(bytes.data(), qint64(bytes.size()));
    }

    EmulatedKeyboard keyboard;
    RecordingClock clock;
    TraceLines trace;
    AnsweringDialogs dialogs;
    AnsweringColourPicker colours;
    RecordingLauncher launcher;
    FakeTray tray;
    RecordingDelays delays;
    QTemporaryDir dataDir;
    QTemporaryDir assetDir;
    WindowServices services;
    std::unique_ptr<MainWindow> window;
    int readDoneCount = 0;

  private:
    void mouse(QEvent::Type type, int x, int y, Qt::MouseButton button, Qt::MouseButtons buttons) {
        const QPointF local(x, y);
        QMouseEvent event(type, local, window->mapToGlobal(local), button, buttons, Qt::NoModifier);
        QCoreApplication::sendEvent(window.get(), &event);
    }
};

// The middle of a key in window pixels.
inline QPoint keyCentre(int key) {
    const KeyEntry& e = KeyTable[static_cast<std::size_t>(key)];
    return {kPictureOriginX + (e.left + e.right) / 2, kPictureOriginY + (e.top + e.bottom) / 2};
}

} // namespace q905::testing
