// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the window against the emulated keyboard, side by side with a bare Qt window of
// the same size: the time from starting the process to its first painted frame and the peak
// memory (VmHWM), medians over several runs each, and their ratios; then the wakeups per second
// of the idle window.
//   q905_startup_bench [RUNS]
// Each run is a fresh process with its own data, settings and runtime folders: this program
// again with --child for the window, q905_bare_window (a program of Qt alone) for the bare one.
#include "FirstFrameProbe.h"
#include "app/ui/Application.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

namespace {

int runWindow(int argc, char** argv) {
    q905::bench::installFirstFrameProbe();
    // The window exactly as q905 starts it, with the arguments after "--child".
    std::vector<char*> arguments{argv[0]};
    for (int i = 2; i < argc; ++i)
        arguments.push_back(argv[i]);
    return q905::Application().run(int(arguments.size()), arguments.data());
}

struct Run {
    double milliseconds = 0;
    long peakKilobytes = 0;
    double idleWakeups = -1;
};

// Starts one child in fresh runtime and settings folders and reads its report. The window keeps
// its files and its cache in dataFolder.
std::optional<Run> runOnce(const QString& self, const QString& kind, bool idle,
                           const QString& dataFolder) {
    const bool bare = kind == QStringLiteral("bare");
    QTemporaryDir folders;
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const char* name : {"XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
        const QString path = folders.filePath(QString::fromLatin1(name));
        QDir().mkpath(path);
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        environment.insert(QString::fromLatin1(name), path);
    }
    // The cache of the composed background belongs with the user's files.
    environment.insert(QStringLiteral("XDG_CACHE_HOME"), dataFolder + QStringLiteral("/cache"));
    if (idle)
        environment.insert(QStringLiteral("Q905_BENCH_IDLE"), QStringLiteral("1"));
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const QStringList arguments{QStringLiteral("--child"), QStringLiteral("--simulate"),
                                QStringLiteral("--data-dir"), dataFolder};
    QElapsedTimer timer;
    timer.start();
    if (bare)
        child.start(QStringLiteral(Q905_BARE_WINDOW_PATH), {});
    else
        child.start(self, arguments);
    Run run;
    while (child.waitForReadyRead(20000) || child.canReadLine()) {
        while (child.canReadLine()) {
            const QList<QByteArray> words = child.readLine().trimmed().split(' ');
            if (words.front() == "frame") {
                run.milliseconds = double(timer.nsecsElapsed()) / 1e6;
            } else if (words.front() == "peak") {
                run.peakKilobytes = words.value(1).toLong();
                if (!idle) {
                    child.waitForFinished(5000);
                    return run;
                }
            } else if (words.front() == "idle") {
                run.idleWakeups = words.value(1).toDouble();
                child.waitForFinished(5000);
                return run;
            }
        }
    }
    child.kill();
    child.waitForFinished();
    return std::nullopt;
}

template <typename T> T median(std::vector<T> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::strcmp(argv[1], "--child") == 0)
        return runWindow(argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QCoreApplication application(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const QString self = QCoreApplication::applicationFilePath();

    // As a returning user starts it: keymap.bin, MacroDefine.bin and the cached background were
    // made by an earlier start, which is not measured.
    QTemporaryDir data;
    if (!runOnce(self, QStringLiteral("window"), false, data.path())) {
        std::fprintf(stderr, "the window did not paint\n");
        return 2;
    }

    // The third kind is a first start: no files and no cached background yet.
    std::vector<double> times[3];
    std::vector<long> peaks[3];
    const QString kinds[3] = {QStringLiteral("bare"), QStringLiteral("window"),
                              QStringLiteral("window")};
    // Alternating, so a busy moment of the machine falls on all.
    for (int i = 0; i < runs; ++i) {
        for (int k = 0; k < 3; ++k) {
            QTemporaryDir fresh;
            const auto run = runOnce(self, kinds[k], false, k == 2 ? fresh.path() : data.path());
            if (!run) {
                std::fprintf(stderr, "the %s window did not paint\n", qPrintable(kinds[k]));
                return 2;
            }
            times[k].push_back(run->milliseconds);
            peaks[k].push_back(run->peakKilobytes);
        }
    }
    const double bareTime = median(times[0]), windowTime = median(times[1]);
    const long barePeak = median(peaks[0]), windowPeak = median(peaks[1]);
    std::printf("platform: %s, %d runs each, medians\n",
                qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")
                    ? "xcb"
                    : qgetenv("QT_QPA_PLATFORM").constData(),
                runs);
    std::printf("first frame:  bare %7.1f ms   q905 %7.1f ms   ratio %.2f (goal <= 1.5)\n",
                bareTime, windowTime, windowTime / bareTime);
    std::printf("peak memory:  bare %7.1f MB   q905 %7.1f MB   ratio %.2f (goal <= 1.2)\n",
                barePeak / 1024.0, windowPeak / 1024.0, double(windowPeak) / double(barePeak));
    const double firstTime = median(times[2]);
    const long firstPeak = median(peaks[2]);
    std::printf(
        "first start:  q905 %7.1f ms (ratio %.2f), %5.1f MB (ratio %.2f): no files, no cache\n",
        firstTime, firstTime / bareTime, firstPeak / 1024.0, double(firstPeak) / double(barePeak));
    const auto idle = runOnce(self, kinds[1], true, data.path());
    if (!idle || idle->idleWakeups < 0) {
        std::fprintf(stderr, "the idle window did not report\n");
        return 2;
    }
    std::printf("idle window:  %.2f wakeups per second\n", idle->idleWakeups);
    return 0;
}
