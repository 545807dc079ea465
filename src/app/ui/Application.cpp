// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/Application.h"

#include "app/Autostart.h"
#include "app/KeyboardBackend.h"
#include "app/Language.h"
#include "app/ProgramOptions.h"
#include "app/ui/Delays.h"
#include "app/ui/HotPlugSource.h"
#include "app/ui/KeyboardBusService.h"
#include "app/ui/MainWindow.h"
#include "base/TextSafety.h"
#include "controls/ui/SkinCache.h"
#include "device/Clock.h"
#include "device/Trace.h"
#include "emulator/EmulatedKeyboard.h"
#include "lighting/ui/DialogColourPicker.h"
#include "platform/KeyboardBus.h"
#include "platform/KeyboardLock.h"
#include "platform/Paths.h"
#include "platform/SystemKeyboardLayout.h"
#include "platform/qt/DesktopLauncher.h"
#include "platform/qt/StartupWarmUp.h"
#include "platform/qt/SystemTrayIcon.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"
#include "platform/qt/WindowActivation.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QLocale>
#include <QScopeGuard>
#include <QSettings>
#include <QTimer>

#include <iostream>
#include <memory>
#include <utility>

namespace q905 {

namespace {

constexpr const char* kUsage =
    "usage: q905 [options]\n"
    "  --simulate[=FILE]         an emulated keyboard instead of the real one (its memory\n"
    "                            kept in FILE)\n"
    "  --simulate-firmware M.N   the emulated keyboard's firmware version\n"
    "  --simulate-latency US     time per emulated transfer in microseconds\n"
    "  --simulate-fault FAULT    unplug@N, fail@N, no-ack, silent, stray-report@N or\n"
    "                            replug@N[:MS][xK] (repeatable)\n"
    "  --trace FILE              record every transfer with the keyboard\n"
    "  --data-dir DIR            where keymap.bin and MacroDefine.bin live\n"
    "  --language en|de          the language of the window\n"
    "  --screenshot FILE         write the window as PNG after the start-up read, then exit\n"
    "                            (1 when the read failed: the picture shows it as it stands)\n"
    "  --background              start without showing the window (as at login); starting\n"
    "                            q905 again shows it\n"
    "  --help                    this text\n"
    "  --version                 the version of q905\n";

// The stored "Language" value, ~/.config/q905/q905.conf.
std::optional<std::string> storedLanguage() {
    QSettings settings(QStringLiteral("q905"), QStringLiteral("q905"));
    const QVariant value = settings.value(QStringLiteral("Language"));
    if (!value.isValid())
        return std::nullopt;
    return value.toString().toStdString();
}

// Everything the window works with, alive for longer than the window.
struct Collaborators {
    SystemClock clock;
    std::unique_ptr<KeyboardBackend> keyboard;
    std::unique_ptr<UserDialogs> dialogs;
    DesktopLauncher launcher;
    std::unique_ptr<SkinCache> dialogSkin;
    std::unique_ptr<DialogColourPicker> colourPicker;
    std::unique_ptr<TrayIcon> tray;
    TimerDelays delays;
};

// The picture is written whatever the start-up read's outcome; a read cut short makes it a
// picture of the window as it stands then, and the exit status says so.
void writeScreenshot(MainWindow& window, const std::filesystem::path& file, bool readFailed) {
    const QImage picture = window.grab().toImage();
    if (!picture.save(QString::fromStdString(file.string()), "PNG")) {
        std::cerr << "q905: cannot write " << escapeForTerminal(file.string()) << "\n";
        QCoreApplication::exit(1);
        return;
    }
    if (readFailed) {
        std::cerr << "q905: the keyboard could not be read to the end; "
                  << escapeForTerminal(file.string())
                  << " shows the window as it stands, without all of the keyboard's settings\n";
        QCoreApplication::exit(1);
        return;
    }
    QCoreApplication::exit(0);
}

// Once, after the start-up read has ended either way, or at once when there is none.
void screenshotAfterStartUpRead(MainWindow& window, const std::filesystem::path& file) {
    MainWindow* shown = &window;
    const auto shoot = [shown, file](bool readFailed) {
        QTimer::singleShot(
            0, shown, [shown, file, readFailed] { writeScreenshot(*shown, file, readFailed); });
    };
    if (!window.startUpReadRunning()) {
        shoot(false);
        return;
    }
    auto taken = std::make_shared<bool>(false);
    const auto once = [taken, shoot](bool readFailed) {
        if (std::exchange(*taken, true))
            return;
        shoot(readFailed);
    };
    QObject::connect(&window, &MainWindow::readDone, &window, [once] { once(false); });
    QObject::connect(&window, &MainWindow::readFailed, &window, [once] { once(true); });
}

} // namespace

int Application::run(int argc, char** argv) {
    const auto parsed = parseCliOptions(std::vector<std::string>(argv + 1, argv + argc));
    if (!parsed.options) {
        std::cerr << "q905: " << escapeForTerminal(parsed.error) << "\n" << kUsage;
        return 2;
    }
    const CliOptions& options = *parsed.options;
    if (options.version) {
        std::cout << "q905 " << programVersion() << '\n';
        return 0;
    }
    if (options.help) {
        std::cout << kUsage;
        return 0;
    }
    // A screenshot needs no display.
    if (options.screenshot && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Without a desktop session Qt would abort; say what to do instead.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY") &&
        qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        std::cerr << "q905: there is no desktop session to show the window in (neither DISPLAY nor "
                     "WAYLAND_DISPLAY is set).\n"
                     "q905ctl works without one, and q905 --screenshot FILE draws the window.\n";
        return 1;
    }

    // Taken before the display connection is made, which consumes them.
    const ActivationToken launchToken = ActivationToken::fromEnvironment();
    // The fonts and the skin are read while the display connection is made.
    const std::filesystem::path assets = assetRoot();
    const Language language =
        chooseLanguage(options.language, storedLanguage(), QLocale::system().name().toStdString());
    // Kept per language: each has its own skin.
    const std::filesystem::path caches = cacheFolder();
    const QString backgroundCache =
        caches.empty() ? QString()
                       : QString::fromStdString(
                             (caches / ("background-" +
                                        assetFolder(assets, language).filename().string() + ".raw"))
                                 .string());
    StartupWarmUp warmUp(QString::fromStdString(assetFolder(assets, language).string()),
                         MainWindow::onDemandPictures(),
                         MainWindow::backgroundComposition(backgroundCache));

    QApplication application(argc, argv);
    warmUp.applicationCreated();
    // The thread may be reading the font database: it ends before the application object.
    const auto warmUpEnded = qScopeGuard([&warmUp] { warmUp.finish(); });
    QApplication::setApplicationName(QStringLiteral("q905"));
    // Hidden in the tray is still running.
    QApplication::setQuitOnLastWindowClosed(false);
    // Qt takes its own options (-platform, -display ...) out of the arguments it keeps.
    if (!options.arguments.empty()) {
        QStringList remaining = QCoreApplication::arguments();
        remaining.removeFirst();
        std::vector<std::string> rest;
        for (const QString& argument : remaining)
            rest.push_back(argument.toStdString());
        const auto reparsed = parseCliOptions(rest);
        if (reparsed.options && !reparsed.options->arguments.empty()) {
            std::cerr << "q905: unexpected argument "
                      << escapeForTerminal(reparsed.options->arguments.front()) << "\n"
                      << kUsage;
            return 2;
        }
    }

    // One window per user: a later start asks the running one, which owns the name on the
    // session bus, to come to the front, and ends; a later start in the background (the login's,
    // with q905 already running) just ends. Without a session bus the window runs alone.
    QDBusConnection bus = QDBusConnection::sessionBus();
    const bool onBus = !options.screenshot && bus.isConnected();
    if (onBus && bus.interface()->isServiceRegistered(QString::fromLatin1(bus::kServiceName)) &&
        (options.background || activateRunningInstance(bus, launchToken)))
        return 0;

    Collaborators with;
    with.keyboard = std::make_unique<KeyboardBackend>(options);
    if (!with.keyboard->traceOpen())
        std::cerr << "q905: cannot write the trace to "
                  << escapeForTerminal(options.traceFile->string()) << "\n";
    if (const Status& memory = with.keyboard->memoryFileStatus(); !memory) {
        std::cerr << "q905: " << escapeForTerminal(memory.message()) << "\n";
        return 2;
    }
    HidBackend* backend = &with.keyboard->backend();
    if (options.screenshot) {
        with.dialogs = std::make_unique<SilentDialogs>();
        with.tray = std::make_unique<NoTrayIcon>();
    } else {
        with.dialogs = std::make_unique<MessageBoxDialogs>();
        with.tray = std::make_unique<SystemTrayIcon>();
    }
    std::unique_ptr<HotPlugSource> hotPlug;
    if (EmulatedKeyboard* emulator = with.keyboard->emulator())
        hotPlug = std::make_unique<EmulatedHotPlug>(*emulator);
    else
        hotPlug = std::make_unique<UdevHotPlug>();

    WindowServices services;
    services.backend = backend;
    services.clock = &with.clock;
    services.trace = with.keyboard->trace();
    services.dialogs = with.dialogs.get();
    services.launcher = &with.launcher;
    services.tray = with.tray.get();
    services.delays = &with.delays;
    services.dataFolder = dataFolder(options.dataDir);
    services.assetRoot = assets;
    services.language = language;
    // Asked through Qt's own X connection: a second one would be opened beside it.
    const auto* x11 = application.nativeInterface<QNativeInterface::QX11Application>();
    const std::unique_ptr<KeyboardLayout> keyboardLayout =
        systemKeyboardLayout(x11 ? x11->connection() : nullptr);
    services.keyboardLayout = keyboardLayout.get();
    SkinCache decodedSkin = warmUp.take();
    services.decodedSkin = &decodedSkin;
    services.backgroundCacheFile = backgroundCache;
    services.keyboardLockFile = KeyboardLock::lockFile(options.simulate, options.simulateFile);
    services.bus = onBus ? &bus : nullptr;
    services.hotPlugAvailable = hotPlug->available();
    services.background = options.background && !options.screenshot;
    services.autostartEntry = autostartEntryPath();
    with.dialogSkin = std::make_unique<SkinCache>(
        QString::fromStdString(assetFolder(services.assetRoot, services.language).string()));
    with.colourPicker = std::make_unique<DialogColourPicker>(*with.dialogSkin, services.language);
    services.colourPicker = with.colourPicker.get();

    auto window = std::make_unique<MainWindow>(services);
    window->adoptHotPlugSource(std::move(hotPlug));
    // The object is on the bus before the name is: a call that finds the name finds it too.
    if (onBus && !claimBusName(bus)) {
        // Another start claimed it first.
        window.reset();
        if (!options.background)
            activateRunningInstance(bus, launchToken);
        return 0;
    }
    QObject::connect(window.get(), &MainWindow::finished, &application, &QCoreApplication::quit);

    if (options.screenshot) {
        screenshotAfterStartUpRead(*window, *options.screenshot);
    } else if (!window->startsHidden()) {
        window->show();
        window->prepareFirstFrame();
    }

    const int exitCode = application.exec();
    window.reset();
    return exitCode; // the emulated memory goes back to its file with the collaborators
}

} // namespace q905
