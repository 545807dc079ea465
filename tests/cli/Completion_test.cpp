// SPDX-License-Identifier: GPL-3.0-or-later
// The bash completion as a user meets it: every key it offers after "assign" is taken by
// q905ctl, and the keys only enable and disable take are offered there alone.

#include "cli/CtlRunner.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

namespace {

// The words the completion offers for the last (empty) word of the command line, unescaped as
// the shell would read them back.
std::vector<std::string> offered(const std::string& commandLine) {
    const std::string script = "source '" Q905_COMPLETION_PATH "'; COMP_WORDS=(q905ctl " +
                               commandLine +
                               " ''); COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); "
                               "compopt() { :; }; _q905ctl; "
                               "for w in \"${COMPREPLY[@]}\"; do eval \"printf '%s\\n' $w\"; done";
    const std::string command = "bash -c '" + [&] {
        std::string quoted;
        for (char c : script)
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        return quoted;
    }() + "'";
    std::unique_ptr<FILE, decltype(&pclose)> pipe(popen(command.c_str(), "r"), pclose);
    std::vector<std::string> words;
    char line[256];
    while (pipe && fgets(line, sizeof line, pipe.get())) {
        std::string word(line);
        if (!word.empty() && word.back() == '\n')
            word.pop_back();
        words.push_back(word);
    }
    return words;
}

std::string shellQuoted(const std::string& word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

TEST(Completion, EveryKeyOfferedToAssignIsAssigned) {
    const auto keys = offered("assign");
    ASSERT_GT(keys.size(), 80u);
    q905::testing::CtlRunner ctl;
    for (const std::string& key : keys) {
        const auto result = ctl.simulate("--no-apply assign " + shellQuoted(key) + " default");
        EXPECT_EQ(result.exitCode, 0) << key << ": " << result.err;
    }
}

TEST(Completion, KeysThatKeepTheirFunctionAreOfferedOnlyToDisableAndEnable) {
    const auto assignable = offered("assign");
    const auto disableable = offered("disable");
    q905::testing::CtlRunner ctl;
    for (const std::string fixed : {"Fn", "LCtrl", "RCtrl", "LWin", "Win"}) {
        EXPECT_THAT(assignable, ::testing::Not(::testing::Contains(fixed)));
        EXPECT_THAT(disableable, ::testing::Contains(fixed));
        EXPECT_EQ(ctl.simulate("--no-apply disable " + fixed).exitCode, 0) << fixed;
    }
}

} // namespace
