// SPDX-License-Identifier: GPL-3.0-or-later
// The window while the keyboard's session works on its own thread: the window's thread keeps
// handling events, and closing during an apply ends it with its closing frames.

#include "device/SettingsLayout.h"
#include "ui/MainWindowHarness.h"

#include <QElapsedTimer>
#include <QTimer>

#include <gtest/gtest.h>

namespace q905 {
namespace {

using testing::WindowHarness;

constexpr QPoint kApply{870, 615};

// Every per-key page differs: the longest apply there is, about half a second at this latency.
void editEveryPerKeyPage(WindowHarness& harness) {
    for (std::size_t page = 0; page < layout::kPerKeyPageCount; ++page)
        harness.image().at(layout::kPerKeyColourPages.offset + page * layout::kPerKeyPageSize) ^=
            0x55;
    harness.keyboard.setLatency(std::chrono::microseconds(6000));
}

TEST(WindowWhileBusy, ATimerOnTheWindowsThreadKeepsFiringThroughoutASlowApply) {
    WindowHarness harness;
    harness.start();
    editEveryPerKeyPage(harness);
    QTimer ticker;
    int ticks = 0;
    QObject::connect(&ticker, &QTimer::timeout, [&] { ++ticks; });
    ticker.start(10);
    QElapsedTimer elapsed;
    elapsed.start();
    QTest::mouseClick(harness.window.get(), Qt::LeftButton, {}, kApply);
    ASSERT_TRUE(harness.window->busy());
    // Edits wait while it runs: a click on the game mode switch changes nothing.
    const std::uint8_t gameMode = harness.image().at(layout::kGameMode.offset);
    QTest::mouseClick(harness.window.get(), Qt::LeftButton, {}, QPoint(104, 588));
    EXPECT_EQ(harness.image().at(layout::kGameMode.offset), gameMode);
    harness.waitUntilIdle();
    const qint64 ms = elapsed.elapsed();
    ASSERT_GT(ms, 200) << "the apply was too quick to tell";
    // A frozen thread would have fired once or twice at the end.
    EXPECT_GT(ticks, ms / 10 / 3) << ticks << " ticks in " << ms << " ms";
    EXPECT_EQ(harness.applied(), harness.image());
}

TEST(WindowWhileBusy, ClosingDuringAnApplyEndsItWithItsClosingFrames) {
    WindowHarness harness;
    harness.start();
    editEveryPerKeyPage(harness);
    harness.trace.clear();
    QTest::mouseClick(harness.window.get(), Qt::LeftButton, {}, kApply);
    // Once the first per-key page is on its way.
    ASSERT_TRUE(QTest::qWaitFor([&] {
        const auto frames = harness.trace.sentFrames();
        return std::any_of(frames.begin(), frames.end(),
                           [](const testing::SentFrame& f) { return f.command() == 0x12; });
    }));
    harness.window->close();
    const auto heads = testing::headsOf(harness.trace.sentFrames());
    ASSERT_GE(heads.size(), 2u);
    EXPECT_EQ(heads[heads.size() - 2], "08 02");
    EXPECT_EQ(heads.back(), "18 00");
    const long pages = std::count_if(heads.begin(), heads.end(),
                                     [](const std::string& h) { return h.starts_with("12"); });
    EXPECT_LT(pages, long(layout::kPerKeyPageCount)) << "the apply ran to its end";
    // keymap.bin holds the state the keyboard was left in, with the edits still pending.
    EXPECT_TRUE(std::filesystem::exists(harness.services.dataFolder / kAppliedFileName));
}

} // namespace
} // namespace q905
