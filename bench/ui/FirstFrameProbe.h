// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What a start-up benchmark child reports on standard output: "frame" once its first top-level
// window has been painted and flushed, "peak KB" (VmHWM) once the start has settled, and with
// Q905_BENCH_IDLE set "idle N", the wakeups per second of the idle process. Only Qt: the bare
// window links nothing else.

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace q905::bench {

// Peak memory is read once the start-up read and whatever waited for the first frame are done.
constexpr int kSettleMs = 1500;
constexpr int kIdleMeasureMs = 3000;

// A field of /proc/self/status or /proc/self/task/N/status, in its own unit.
inline long statusField(const QString& path, const char* field) {
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
inline long contextSwitches() {
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

// Installed as the application object is made, before any window exists.
inline void installFirstFrameProbe() {
    qAddPreRoutine([] {
        QCoreApplication::instance()->installEventFilter(
            new FirstFrameProbe(std::getenv("Q905_BENCH_IDLE") != nullptr));
    });
}

} // namespace q905::bench
