// SPDX-License-Identifier: GPL-3.0-or-later
// How long one composition of the main window takes with the pictures decoded once, against
// decoding every picture at every paint; and that an idle window runs no timer.
//   q905_paint_bench [ASSET_ROOT] [PAINTS]
// Exits 1 when the kept pictures are less than ten times faster.
#include "app/ui/Delays.h"
#include "app/ui/MainWindow.h"
#include "device/Clock.h"
#include "emulator/EmulatedKeyboard.h"
#include "firmware/Launcher.h"
#include "lighting/ui/ColourPicker.h"
#include "platform/Paths.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <cstdlib>

namespace {

using namespace q905;

// The protocol's waits cost nothing here: only painting is measured.
class NoWaitClock final : public Clock {
  public:
    void sleep(std::chrono::milliseconds) override {}
    void yield() override {}
    TimePoint now() override { return std::chrono::steady_clock::now(); }
};

class NoLauncher final : public Launcher {
  public:
    LaunchOutcome openDetached(const std::filesystem::path&,
                               const std::filesystem::path&) override {
        return LaunchOutcome::Failed;
    }
    LaunchOutcome openPath(const std::filesystem::path&) override { return LaunchOutcome::Failed; }
};

class NoColourPicker final : public ColourPicker {
  public:
    std::optional<std::uint32_t> pickColour(QWidget*, std::uint32_t) override {
        return std::nullopt;
    }
};

template <typename Paint> double millisecondsPerPaint(int paints, Paint paint) {
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < paints; ++i)
        paint();
    return double(timer.nsecsElapsed()) / 1e6 / paints;
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    const std::filesystem::path assets = argc > 1 ? std::filesystem::path(argv[1]) : assetRoot();
    const int paints = argc > 2 ? std::atoi(argv[2]) : 200;

    EmulatedKeyboard keyboard;
    NoWaitClock clock;
    SilentDialogs dialogs;
    NoLauncher launcher;
    NoColourPicker colours;
    NoTrayIcon tray;
    TimerDelays delays;
    QTemporaryDir data;

    WindowServices services;
    services.backend = &keyboard.backend();
    services.clock = &clock;
    services.dialogs = &dialogs;
    services.launcher = &launcher;
    services.colourPicker = &colours;
    services.tray = &tray;
    services.delays = &delays;
    services.dataFolder = data.path().toStdString();
    services.assetRoot = assets;
    const QString cacheFile = data.filePath(QStringLiteral("cache/background.raw"));
    services.backgroundCacheFile = cacheFile;

    MainWindow window(services);
    bool read = false;
    QObject::connect(&window, &MainWindow::readDone, [&read] { read = true; });
    window.show();
    if (!QTest::qWaitFor([&read] { return read; }, 10000)) {
        std::fprintf(stderr, "the start-up read did not finish\n");
        return 2;
    }
    if (window.skin().image(QStringLiteral("main.png")).isNull()) {
        std::fprintf(stderr, "no skin below %s\n", assets.string().c_str());
        return 2;
    }
    // A busy picture: a hovered key and a few marked ones.
    for (int key : {20, 30, 40, 50, 60})
        window.host().keys().flags()[static_cast<std::size_t>(key)] = 1;

    const QString folder = window.skin().folder();
    (void)window.frame(); // warm: every picture decoded once
    // This first start composed the background and holds it.
    const double held = millisecondsPerPaint(paints, [&] { (void)window.frame(); });
    // A later start reads the background from its cache file as each paint needs it.
    window.skin() = SkinCache(folder);
    (void)MainWindow::prepareBackground(window.skin(), cacheFile);
    (void)window.frame();
    const double kept = millisecondsPerPaint(paints, [&] { (void)window.frame(); });
    const double decoded = millisecondsPerPaint(paints, [&] {
        window.skin() = SkinCache(folder); // forget every picture: this paint decodes them all
        (void)window.frame();
    });
    const double ratio = decoded / kept;
    std::printf("paint with kept pictures:     %8.3f ms (background from its cache file; "
                "%.3f ms held in memory)\n",
                kept, held);
    std::printf("paint decoding every picture: %8.3f ms\n", decoded);
    std::printf("kept pictures are %.1f times faster (at least 10 required)\n", ratio);

    QTest::qWait(200);
    const bool idleTimer = window.redrawTimerActive();
    std::printf("idle: redraw timer %s\n", idleTimer ? "RUNNING" : "stopped");
    return ratio >= 10.0 && !idleTimer ? 0 : 1;
}
