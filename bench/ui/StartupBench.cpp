// Start-up of the window against the emulated keyboard, side by side with a bare Qt window of
// the same size: the time from starting the process to its first painted frame and the peak
// memory (VmHWM), medians over several runs each, and their ratios; then the wakeups per second
// of the idle window.
//   q905_startup_bench [RUNS]
// Each run is a fresh process (this program again, with --child window|bare) with its own
// data, settings and runtime folders.
#include "app/ui/Application.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr QSize kWindowSize{1000, 640};
// Peak memory is read once the start-up read and whatever waited for the first frame are done.
constexpr int kSettleMs = 1500;
constexpr int kIdleMeasureMs = 3000;

// A field of /proc/self/status or /proc/self/task/N/status, in its own unit.
long statusField(const QString& path, const char* field) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return 0;
    const QByteArray prefix = QByteArray(field) + ':';
    for (const QByteArray& line : file.readAll().split('\n'))
        if (line.startsWith(prefix))
            return line.mid(prefix.size()).trimmed().split(' ').front().toLong();
    return 0;
}

// Every switch of every thread of this process: each is a wakeup or a preemption.
long contextSwitches() {
    long total = 0;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& task : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString status = tasks.filePath(task) + QStringLiteral("/status");
        total += statusField(status, "voluntary_ctxt_switches") +
                 statusField(status, "nonvoluntary_ctxt_switches");
    }
    return total;
}

// Watches for the first paint of a top-level window; reports once it has been drawn and
// flushed, then the peak memory once the start has settled, and with idle measuring the
// wakeups of the idle process.
class FirstFrameProbe : public QObject {
  public:
    explicit FirstFrameProbe(bool measureIdle) : m_measureIdle(measureIdle) {}

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!m_seen && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->isWindow()) {
            m_seen = true;
            // After this paint and its flush.
            QTimer::singleShot(0, this, [this] { frameDone(); });
        }
        return false;
    }

  private:
    void frameDone() {
        std::printf("frame\n");
        std::fflush(stdout);
        QTimer::singleShot(kSettleMs, this, [this] {
            std::printf("peak %ld\n", statusField(QStringLiteral("/proc/self/status"), "VmHWM"));
            std::fflush(stdout);
            if (!m_measureIdle)
                std::_Exit(0);
            const long before = contextSwitches();
            QTimer::singleShot(kIdleMeasureMs, this, [before] {
                // The measuring timer itself wakes the main thread once.
                const long wakeups = contextSwitches() - before - 1;
                std::printf("idle %.2f\n", std::max(0L, wakeups) * 1000.0 / kIdleMeasureMs);
                std::fflush(stdout);
                std::_Exit(0);
            });
        });
    }

    bool m_measureIdle;
    bool m_seen = false;
};

FirstFrameProbe* g_probe = nullptr;
bool g_measureIdle = false;

void installProbe() {
    g_probe = new FirstFrameProbe(g_measureIdle);
    QCoreApplication::instance()->installEventFilter(g_probe);
}

int runChild(int argc, char** argv, const char* kind) {
    g_measureIdle = std::getenv("Q905_BENCH_IDLE") != nullptr;
    qAddPreRoutine(installProbe);
    if (std::strcmp(kind, "bare") == 0) {
        QApplication application(argc, argv);
        QWidget window;
        window.setFixedSize(kWindowSize);
        window.show();
        return application.exec();
    }
    // The window exactly as q905 starts it, with the arguments after "--child window".
    std::vector<char*> arguments{argv[0]};
    for (int i = 3; i < argc; ++i)
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
    QStringList arguments{QStringLiteral("--child"), kind};
    if (kind == QStringLiteral("window"))
        arguments << QStringLiteral("--simulate") << QStringLiteral("--data-dir") << dataFolder;
    QElapsedTimer timer;
    timer.start();
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
    if (argc >= 3 && std::strcmp(argv[1], "--child") == 0)
        return runChild(argc, argv, argv[2]);
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
    std::printf("peak memory:  bare %7.1f MB   q905 %7.1f MB   ratio %.2f (goal <= 1.3)\n",
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
