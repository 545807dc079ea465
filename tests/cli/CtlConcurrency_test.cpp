// SPDX-License-Identifier: GPL-3.0-or-later
// Two q905ctl on one keyboard: the second waits for the first, so their transfers never
// interleave, and gives up with the holder's name when it waits too long.

#include "cli/CtlRunner.h"
#include "device/SettingsLayout.h"
#include "platform/KeyboardLock.h"

#include <gtest/gtest.h>

#include <sstream>
#include <thread>

#include <unistd.h>

namespace q905 {
namespace {

using testing::CtlResult;
using testing::CtlRunner;

const std::string kCtl =
    "'" Q905_CTL_PATH "' --simulate=mem.bin --data-dir data --trace trace.txt ";

TEST(CtlConcurrency, TwoCommandsAtOnceBothLandWithoutInterleavingTheirTransfers) {
    CtlRunner ctl;
    // Slow enough for the second to start while the first is still reading.
    const std::string slow = "--simulate-latency 300 ";
    const std::string script = "cd '" + ctl.folder().string() + "' && { " + kCtl + slow +
                               "set brightness=7 >a.txt 2>&1; echo $? >a.code; } & cd '" +
                               ctl.folder().string() + "' && " + kCtl + slow +
                               "assign Q single B >b.txt 2>&1; echo $? >b.code; wait";
    ASSERT_EQ(std::system(script.c_str()), 0);
    EXPECT_EQ(ctl.read("a.code"), "0\n") << ctl.read("a.txt");
    EXPECT_EQ(ctl.read("b.code"), "0\n") << ctl.read("b.txt");
    const CtlResult dump = ctl.simulate("dump --json");
    EXPECT_NE(dump.out.find("\"brightness\":7"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("\"single B\""), std::string::npos) << dump.out;

    // One trace for both: each apply session closes before the other's first transfer.
    std::istringstream trace(ctl.read("trace.txt"));
    std::vector<std::string> sessionFrames;
    bool inSession = false;
    int transfersOutsideASession = 0, sessions = 0;
    for (std::string line; std::getline(trace, line);) {
        if (line.starts_with("set-feature 00 18 01")) {
            EXPECT_FALSE(inSession) << "a session opened inside another";
            inSession = true;
            ++sessions;
        } else if (line.starts_with("set-feature 00 18 00")) {
            inSession = false;
        } else if (inSession && line.starts_with("get-feature")) {
            ++transfersOutsideASession; // a read inside an apply: another process's
        }
    }
    EXPECT_EQ(sessions, 2);
    EXPECT_EQ(transfersOutsideASession, 0);
}

TEST(CtlConcurrency, ACommandGivesUpAfterItsWaitNamingTheHolder) {
    CtlRunner ctl;
    const auto file = KeyboardLock::lockFile(true, ctl.file("mem.bin"));
    ASSERT_TRUE(file);
    KeyboardLock held(*file, "test-holder");
    ASSERT_TRUE(held.acquire(std::chrono::milliseconds(0)).ok());
    const CtlResult refused = ctl.simulate("--wait 0.2 set brightness=7");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_EQ(refused.err, "q905ctl: the keyboard is in use by test-holder (pid " +
                               std::to_string(::getpid()) + ")\n");
    EXPECT_FALSE(std::filesystem::exists(ctl.file("mem.bin")));
    EXPECT_FALSE(std::filesystem::exists(ctl.file("data/keymap.bin")));
}

} // namespace
} // namespace q905
