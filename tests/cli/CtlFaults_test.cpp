// q905ctl against a keyboard that fails: it says what happened, exits 1 in good time, keeps
// keymap.bin whole and never leaves the keyboard dark; the next run puts things right.

#include "cli/CtlRunner.h"
#include "device/SettingsLayout.h"

#include <gtest/gtest.h>

#include <chrono>

namespace q905 {
namespace {

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
        const auto again = ctl.simulate("set brightness=17 colour1=102030");
        ASSERT_EQ(again.exitCode, 0) << again.err;
        const std::string memory = ctl.read("mem.bin");
        ASSERT_EQ(memory.size(), kSettingsImageSize);
        EXPECT_EQ(memory[layout::kBrightness], 17);
        EXPECT_EQ(memory[layout::kEffectColours.offset], 0x10);
        ASSERT_EQ(ctl.simulate("set brightness=40 colour1=000000").exitCode, 0);
    }
}

} // namespace
} // namespace q905
