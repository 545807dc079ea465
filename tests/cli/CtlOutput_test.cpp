// SPDX-License-Identifier: GPL-3.0-or-later
// What q905ctl prints: names and paths escaped wherever they appear, nothing on standard output
// that reads as done when the command failed, and one line for a command line it cannot take.

#include "cli/CtlRunner.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace q905 {
namespace {

using testing::CtlRunner;

bool mentions(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

long lineCount(const std::string& text) {
    return std::ranges::count(text, '\n');
}

TEST(CtlOutput, NamesAndPathsAreEscapedWhereverTheyArePrinted) {
    CtlRunner ctl;
    auto result =
        ctl.simulate("--no-apply assign R launch program \"$(printf '/tmp/x\\nkeys: forged')\"");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(lineCount(result.out), 1) << result.out;
    EXPECT_TRUE(mentions(result.out, "/tmp/x\\nkeys: forged")) << result.out;

    result = ctl.simulate("--no-apply macro new \"$(printf 'red\\033[31m')\" \"A dn\" \"A up\"");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "macro 0: red\\x1b[31m\n");
    for (const char* look : {"macro list", "macro show 0"})
        EXPECT_FALSE(mentions(ctl.simulate(look).out, "\033")) << look;

    // Refused rather than stored: a profile's name is shown in lists and on terminals.
    for (const char* name : {"evil\\nname", "red\\033[31m"}) {
        result =
            ctl.simulate(std::string("--no-apply profile rename \"$(printf '") + name + "')\"");
        EXPECT_EQ(result.exitCode, 2) << name;
        EXPECT_EQ(lineCount(result.err), 1) << result.err;
        EXPECT_FALSE(mentions(result.err, "\033")) << name;
    }
    result = ctl.simulate("--no-apply profile export \"$(printf 'a\\033[31m.bin')\"");
    EXPECT_EQ(result.exitCode, 2) << result.err;

    // A file put into the profile folder by hand can still name the current profile anything.
    std::filesystem::create_directories(ctl.file("data/Configure"));
    { std::ofstream(ctl.file("data/Configure/evil\nname\033[31m.bin")) << "x"; }
    result = ctl.simulate("profile show");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(lineCount(result.out), 1) << result.out;
    EXPECT_TRUE(mentions(result.out, "evil\\nname\\x1b[31m  (")) << result.out;

    // Errors name what was typed, escaped.
    result = ctl.simulate("assign \"$(printf 'Q\\033[2J')\" single A");
    EXPECT_EQ(result.exitCode, 2);
    EXPECT_TRUE(mentions(result.err, "Q\\x1b[2J")) << result.err;
    EXPECT_FALSE(mentions(result.err, "\033"));
}

TEST(CtlOutput, AFailedChangeEchoesNothingThatReadsAsDone) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("--no-apply profile export Work.bin").exitCode, 0);
    // The start-up read takes 250 transfers; 252 falls in the apply.
    for (const char* command : {"assign Q single A", "disable Q", "macro new M \"A dn\" \"A up\"",
                                "profile import Work.bin"}) {
        const auto result = ctl.simulate(std::string("--simulate-fault fail@252 ") + command);
        EXPECT_EQ(result.exitCode, 1) << command << '\n' << result.err;
        EXPECT_EQ(result.out, "") << command;
        EXPECT_FALSE(result.err.empty()) << command;
    }
}

} // namespace
} // namespace q905
