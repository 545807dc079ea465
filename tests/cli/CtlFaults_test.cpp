// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl against a keyboard that fails: it says what happened, exits 1 in good time, keeps
// keymap.bin whole and never leaves the keyboard dark; the next run puts things right.

#include "cli/CtlRunner.h"
#include "device/SettingsLayout.h"
#include "keys/KeyTable.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fstream>

namespace q905 {
namespace {

using testing::CtlResult;
using testing::CtlRunner;

std::vector<std::string> frameHeads(const std::string& trace) {
    std::vector<std::string> heads;
    std::istringstream in(trace);
    for (std::string line; std::getline(in, line);)
        if (line.rfind("set-feature ", 0) == 0)
            heads.push_back(line.substr(15, 5));
    return heads;
}

TEST(CtlFaults, ASilentKeyboardIsSaidToNotAnswerWithinSeconds) {
    CtlRunner ctl;
    const auto start = std::chrono::steady_clock::now();
    const auto result = ctl.run("--simulate --simulate-fault silent --data-dir data read");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(10));
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("did not answer"), std::string::npos) << result.err;
    EXPECT_EQ(result.out.find("firmware"), std::string::npos) << "no zeros shown as read";
}

TEST(CtlFaults, AnUnacknowledgedApplyClosesWithTheBrightnessAndTheSession) {
    CtlRunner ctl;
    const auto result = ctl.simulate("--simulate-fault no-ack --trace t.txt set effect=static");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_NE(result.err.find("did not take the change"), std::string::npos) << result.err;
    const auto heads = frameHeads(ctl.read("t.txt"));
    ASSERT_GE(heads.size(), 2u);
    EXPECT_EQ(heads[heads.size() - 2], "08 02");
    EXPECT_EQ(heads.back(), "18 00");
}

TEST(CtlFaults, AFailedApplyKeepsKeymapWholeAndTheNextRunSendsTheChange) {
    CtlRunner ctl;
    // The start-up read takes 250 transfers; these fall in the apply that follows.
    for (const char* fault : {"fail@251", "fail@256", "unplug@253", "unplug@260"}) {
        SCOPED_TRACE(fault);
        const auto failed = ctl.simulate(std::string("--simulate-fault ") + fault +
                                         " set brightness=17 colour1=102030");
        EXPECT_EQ(failed.exitCode, 1) << failed.err;
        EXPECT_FALSE(failed.err.empty());
        EXPECT_EQ(std::filesystem::file_size(ctl.file("data/keymap.bin")), 206928u);
        // Another command: the change still pending goes out with it.
        const auto again = ctl.simulate("set speed=3");
        ASSERT_EQ(again.exitCode, 0) << again.err;
        const std::string memory = ctl.read("mem.bin");
        ASSERT_EQ(memory.size(), kSettingsImageSize);
        EXPECT_EQ(memory[layout::kBrightness], 17);
        EXPECT_EQ(memory[layout::kEffectColours.offset], 0x10);
        ASSERT_EQ(ctl.simulate("set brightness=40 colour1=000000").exitCode, 0);
    }
}

// The keyboard's key map record of Q (key 42).
std::string qKeyMapRecord(const CtlRunner& ctl) {
    const std::string memory = ctl.read("mem.bin");
    const std::size_t offset = layout::kKeyMapBlock.offset + KeyTable[42].matrixOffset;
    return memory.size() >= offset + 4 ? memory.substr(offset, 4) : std::string();
}

TEST(CtlFaults, AnAssignmentTheKeyboardRefusedGoesOutWithTheNextCommandUnlessTheKeyboardChanged) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("read").exitCode, 0);
    const std::string original = qKeyMapRecord(ctl);
    ASSERT_EQ(ctl.simulate("--simulate-fault fail@252 assign Q single A").exitCode, 1);
    EXPECT_EQ(qKeyMapRecord(ctl), original);
    ASSERT_EQ(ctl.simulate("set brightness=10").exitCode, 0);
    EXPECT_NE(qKeyMapRecord(ctl), original);
    EXPECT_NE(ctl.simulate("dump").out.find("single A"), std::string::npos);

    // A pending change is not forced over what the keyboard was given meanwhile, here from
    // another computer (another data folder).
    ASSERT_EQ(ctl.simulate("--simulate-fault fail@252 assign Q single B").exitCode, 1);
    ASSERT_EQ(ctl.run("--simulate=mem.bin --simulate-latency 0 --data-dir other assign Q single C")
                  .exitCode,
              0);
    const std::string usageC = qKeyMapRecord(ctl);
    ASSERT_EQ(ctl.simulate("set brightness=11").exitCode, 0);
    EXPECT_EQ(qKeyMapRecord(ctl), usageC);
}

// A data folder that takes no file the size of keymap.bin: the shell's file size limit makes
// every write past 100 KB fail, as a full disk does, without needing a file system to fill.
CtlResult runWithFileSizeLimit(const CtlRunner& ctl, const std::string& arguments) {
    return ctl.run("--simulate=mem.bin --simulate-latency 0 --data-dir data " + arguments,
                   "trap '' XFSZ; ulimit -f 100; ");
}

TEST(CtlFaults, FilesThatCannotBeSavedStopTheCommandBeforeTheKeyboardChanges) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("assign W single B").exitCode, 0);
    const std::string keymap = ctl.read("data/keymap.bin");
    const std::string macros = ctl.read("data/MacroDefine.bin");
    const std::string memory = ctl.read("mem.bin");
    for (const char* command : {"set brightness=13", "assign Q single A", "disable Q",
                                "macro new Greet \"H dn\" \"H up\"", "reset"}) {
        SCOPED_TRACE(command);
        const auto failed = runWithFileSizeLimit(ctl, command);
        EXPECT_EQ(failed.exitCode, 1);
        EXPECT_NE(failed.err.find("File too large"), std::string::npos) << failed.err;
        EXPECT_EQ(failed.err.find("cannot save cannot"), std::string::npos) << failed.err;
        EXPECT_EQ(ctl.read("mem.bin"), memory);
        EXPECT_EQ(ctl.read("data/keymap.bin"), keymap);
        EXPECT_EQ(ctl.read("data/MacroDefine.bin"), macros);
    }
    for (const auto& entry : std::filesystem::directory_iterator(ctl.file("data")))
        EXPECT_EQ(entry.path().filename().string().find(".q905-tmp-"), std::string::npos);
}

TEST(CtlFaults, AFactoryResetThatDidNotHappenIsNotReportedAsDone) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("set brightness=13").exitCode, 0);
    const std::string memory = ctl.read("mem.bin");
    // Transfer 251 is the reset's first frame, after the start-up read.
    const auto failed = ctl.simulate("--simulate-fault fail@251 reset");
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_TRUE(failed.out.empty()) << failed.out;
    EXPECT_EQ(ctl.read("mem.bin"), memory);

    ASSERT_EQ(ctl.simulate("assign Q single A").exitCode, 0);
    ASSERT_EQ(ctl.simulate("reset").exitCode, 0);
    EXPECT_NE(ctl.read("mem.bin"), memory);
    // The host side followed: keymap.bin no longer gives Q an assignment.
    EXPECT_EQ(ctl.simulate("dump").out.find("single A"), std::string::npos);
}

} // namespace
} // namespace q905
