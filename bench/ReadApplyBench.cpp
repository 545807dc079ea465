// SPDX-License-Identifier: GPL-3.0-or-later
// Wall time of readAll and of an apply that changes one macro slot, against the emulated
// keyboard at USB-like latency, next to the waits the protocol mandates. What the host adds
// on top of the mandated waits and the transfer latency is the figure to watch.

#include "app/NotificationReader.h"
#include "device/AckFlag.h"
#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "device/HidLink.h"
#include "emulator/EmulatedKeyboard.h"

#include <chrono>
#include <cstdio>
#include <mutex>
#include <utility>

namespace {

using namespace q905;
using Seconds = std::chrono::duration<double, std::milli>;

// The real clock, counting what the protocol asked for.
class MeasuringClock final : public Clock {
  public:
    void sleep(std::chrono::milliseconds duration) override {
        m_requested += duration;
        m_clock.sleep(duration);
    }
    void yield() override { m_clock.yield(); }
    TimePoint now() override { return m_clock.now(); }
    std::chrono::milliseconds takeRequested() { return std::exchange(m_requested, {}); }

  private:
    SystemClock m_clock;
    std::chrono::milliseconds m_requested{};
};

struct Figures {
    double wall = 0, mandated = 0, latency = 0;
    double overhead() const { return wall - mandated - latency; }
};

void print(const char* what, const Figures& f, int runs) {
    std::printf("%-28s wall %8.2f ms  mandated waits %6.1f ms  transfer latency %6.1f ms  "
                "host overhead %6.2f ms (%.2f%%)\n",
                what, f.wall / runs, f.mandated / runs, f.latency / runs, f.overhead() / runs,
                100.0 * f.overhead() / (f.mandated + f.latency));
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const auto latency = std::chrono::microseconds(1000);
    EmulatedKeyboard keyboard({.firmwareMajor = 1, .firmwareMinor = 0, .latency = latency});
    MeasuringClock clock;
    HidLink link(keyboard.backend(), clock);
    Settings settings;
    AckFlag ack;
    NotificationReader reader(settings, ack);
    if (!link.openCommandHandle() || !link.openNotifyHandle()) {
        std::fprintf(stderr, "cannot open the emulated keyboard\n");
        return 1;
    }
    reader.start(link.notifyHandle(), nullptr);
    (void)initialRead(link, settings, {});
    clock.takeRequested();

    const auto measure = [&](auto&& body) {
        Figures f;
        for (int i = 0; i < runs; ++i) {
            const std::size_t transfersBefore = keyboard.transferCount();
            const auto start = std::chrono::steady_clock::now();
            body(i);
            f.wall += Seconds(std::chrono::steady_clock::now() - start).count();
            f.mandated += static_cast<double>(clock.takeRequested().count());
            f.latency += Seconds(latency).count() *
                         static_cast<double>(keyboard.transferCount() - transfersBefore);
        }
        return f;
    };

    const Figures readAllFigures = measure([&](int) { (void)readAll(link, settings); });
    const Figures apply = measure([&](int i) {
        settings.deviceSettings().at(layout::macroSlot(5).offset + 2) =
            static_cast<std::uint8_t>(i + 1);
        if (applyChanges(link, settings, ack) != ApplyResult::Applied)
            std::fprintf(stderr, "apply failed\n");
    });
    reader.stop();

    std::printf("%d runs each, emulated latency %lld us per transfer\n", runs,
                static_cast<long long>(latency.count()));
    print("readAll", readAllFigures, runs);
    print("apply of one macro slot", apply, runs);
    for (const auto& error : keyboard.errors())
        std::fprintf(stderr, "emulated keyboard: %s\n", error.c_str());
    return keyboard.errors().empty() ? 0 : 1;
}
