// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl from a shell's point of view: exit codes, messages, and what reaches the emulated
// keyboard's memory and the trace.

#include "cli/CtlRunner.h"
#include "device/SettingsLayout.h"
#include "keys/KeyTable.h"
#include "macros/KeyNameTable.h"
#include "support/TraceLines.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <vector>

namespace q905 {
namespace {

using testing::CtlRunner;

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        result.push_back(line);
    return result;
}

// The frames of the last apply: from its opening 0x18 with 1 to the end.
std::vector<std::string> applyFrames(const std::string& trace) {
    const std::vector<std::string> frames = testing::headsOf(testing::sentFramesOf(lines(trace)));
    const auto open = std::find(frames.rbegin(), frames.rend(), "18 01");
    return {open.base() - 1, frames.end()};
}

std::uint8_t memoryByte(const CtlRunner& ctl, std::size_t offset) {
    const std::string memory = ctl.read("mem.bin");
    EXPECT_EQ(memory.size(), kSettingsImageSize);
    return memory.size() > offset ? static_cast<std::uint8_t>(memory[offset]) : 0;
}

TEST(Ctl, BadInputPrintsWhyAndExitsTwoWithoutWritingAnything) {
    CtlRunner ctl;
    for (const char* arguments :
         {"bogus", "--bogus read", "assign Shift single A", "assign Q single NoSuchKey",
          "assign Q combo A", "assign 17 single A", "macro show x", "profile rename",
          // Ctrl, Win and Fn keep their function (Fn carries the second layer).
          "assign 95 single A", "assign Win single A", "assign Fn single A",
          "--simulate-latency 12abc read", "--simulate-fault fail@0 read",
          "--data-dir $(printf '\\377') read", "macro new $(printf '\\377') \"A dn\"", "", "list x",
          "set speed", "profile bogus x", "macro"}) {
        const auto result = ctl.simulate(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments << "\n" << result.err;
        // One line that says why and where to read more, not the whole usage.
        EXPECT_EQ(std::ranges::count(result.err, '\n'), 1) << arguments << "\n" << result.err;
        EXPECT_NE(result.err.find("--help"), std::string::npos) << arguments;
        EXPECT_EQ(result.out, "") << arguments;
    }
    const auto help = ctl.run("--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_GT(std::ranges::count(help.out, '\n'), 30) << help.out;
    EXPECT_NE(ctl.simulate("assign Shift single A").err.find("78 (Shift) 89 (Shift)"),
              std::string::npos)
        << "an ambiguous label lists its candidates";
    EXPECT_NE(ctl.simulate("assign Enter single A").err.find("54 (Ent) 94 (Ent)"),
              std::string::npos)
        << "the key's name is a label too";
    EXPECT_FALSE(std::filesystem::exists(ctl.file("data/keymap.bin")));
    EXPECT_FALSE(std::filesystem::exists(ctl.file("mem.bin")));
}

// A bare 7 is key index 7 (F7); the 7 key above the letters is Digit7, the keypad's 7-num.
TEST(Ctl, DigitKeysAreReachedByTheirDigitName) {
    CtlRunner ctl;
    const auto result = ctl.simulate("--no-apply assign digit7 single Digit8");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(result.out.starts_with("7 (27): single 8")) << result.out;
    EXPECT_NE(ctl.simulate("--no-apply assign 7-num single A").out.find("7 (58)"),
              std::string::npos);
}

TEST(Ctl, ReadTracesTheStartUpReadAndReportsTheFirmware) {
    CtlRunner ctl;
    const auto result =
        ctl.run("--simulate --simulate-latency 0 --simulate-firmware 2.3 --data-dir data --trace "
                "t.txt read");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("firmware:      2.3"), std::string::npos);
    const auto commands = testing::sentFramesOf(lines(ctl.read("t.txt")));
    ASSERT_EQ(commands.size(), 1u + 1 + 1 + 7 + 5 + 32 + 5 + 1);
    EXPECT_EQ(commands.front().command(), 0x09);
    EXPECT_EQ(commands[1].command(), 0x80);
    EXPECT_EQ(commands.back().command(), 0x87);
}

// Every read opens with the write of game mode 1; the host puts back what it last applied.
TEST(Ctl, GameModeTurnedOffStaysOffThroughLaterReads) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("set gamemode=off").exitCode, 0);
    const auto read = ctl.simulate("--trace t.txt read");
    ASSERT_EQ(read.exitCode, 0) << read.err;
    const auto heads = testing::headsOf(testing::sentFramesOf(lines(ctl.read("t.txt"))));
    ASSERT_GE(heads.size(), 3u);
    EXPECT_EQ(heads[0], "09 01");
    EXPECT_EQ(heads[1], "09 00");
    EXPECT_EQ(heads[2].substr(0, 2), "80");
    const auto dump = ctl.simulate("dump");
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("game mode:      off"), std::string::npos) << dump.out;
}

TEST(Ctl, AssignReachesTheKeyboardAndARepeatSendsOnlyTheSessionFrames) {
    CtlRunner ctl;
    const auto result = ctl.simulate("--trace t1.txt assign Q single A");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, "Q (42): single A\n");
    EXPECT_EQ(applyFrames(ctl.read("t1.txt")),
              (std::vector<std::string>{"18 01", "07 00", "08 01", "0D 00", "08 02", "18 00"}));
    const std::size_t entry = layout::kKeyMapBlock.offset + KeyTable[42].matrixOffset;
    EXPECT_EQ(memoryByte(ctl, entry + 2), usageOf(0x41));
    EXPECT_EQ(std::filesystem::file_size(ctl.file("data/keymap.bin")), 206928u);

    ASSERT_EQ(ctl.simulate("--trace t2.txt assign Q single A").exitCode, 0);
    const auto frames = applyFrames(ctl.read("t2.txt"));
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[2], "18 00");
}

TEST(Ctl, DisableEnableAndNoApplyTouchOnlyWhatTheyShould) {
    CtlRunner ctl;
    const std::size_t qPosition = KeyTable[42].matrixPosition();
    const std::size_t maskByte = layout::kKeyEnableMask.offset + qPosition / 6;
    const std::uint8_t bit = static_cast<std::uint8_t>(1u << (qPosition % 6));

    ASSERT_EQ(ctl.simulate("--trace t.txt disable Q").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, maskByte) & bit, 0);
    EXPECT_EQ(applyFrames(ctl.read("t.txt")),
              (std::vector<std::string>{"18 01", "07 00", "08 01", "0E 00", "08 02", "18 00"}));

    // --no-apply leaves the keyboard alone; the change goes to keymap.bin, pending, and the
    // next command that applies sends it along with its own.
    const std::string keymapBefore = ctl.read("data/keymap.bin");
    ASSERT_EQ(ctl.simulate("--no-apply enable Q").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, maskByte) & bit, 0);
    EXPECT_NE(ctl.read("data/keymap.bin"), keymapBefore);
    ASSERT_EQ(ctl.simulate("set speed=3").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, maskByte) & bit, bit);
    ASSERT_EQ(ctl.simulate("disable Q").exitCode, 0);

    // "default" keeps the key's enabled state, as the dialog's unchanged box does; reset and
    // enable switch it on.
    ASSERT_EQ(ctl.simulate("assign Q default").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, maskByte) & bit, 0);
    ASSERT_EQ(ctl.simulate("enable Q").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, maskByte) & bit, bit);
}

TEST(Ctl, ProfileExportImportRoundTripAndForeignFilesAreRefused) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("assign Q function Copy").exitCode, 0);
    ASSERT_EQ(ctl.simulate("profile export Work.bin").exitCode, 0);
    EXPECT_EQ(std::filesystem::file_size(ctl.file("Work.bin")), 206928u);
    EXPECT_NE(ctl.simulate("profile show").out.find("Work"), std::string::npos);

    ASSERT_EQ(ctl.simulate("assign Q reset").exitCode, 0);
    const std::size_t entry = layout::kKeyMapBlock.offset + KeyTable[42].matrixOffset;
    EXPECT_EQ(memoryByte(ctl, entry + 1), 0);
    ASSERT_EQ(ctl.simulate("profile import Work.bin").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, entry + 1), 0xE0) << "Copy is Left Ctrl + C";
    EXPECT_NE(ctl.simulate("assign Q function Copy").out.find("function Copy"), std::string::npos);

    { std::ofstream(ctl.file("short.bin"), std::ios::binary) << "not a profile"; }
    const std::string keymapBefore = ctl.read("data/keymap.bin");
    const auto refused = ctl.simulate("profile import short.bin");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_EQ(ctl.read("data/keymap.bin"), keymapBefore);
    EXPECT_EQ(ctl.simulate("profile rename ..").exitCode, 2);
}

TEST(Ctl, NoKeyboardSaysWhatToCheckInOneLine) {
    CtlRunner ctl;
    const auto result = ctl.run("--data-dir data read");
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_TRUE(result.err.starts_with("no keyboard found: check that it is plugged in"))
        << result.err;
    for (const char* part : {"q905ctl list", "/dev/hidraw*", "70-q905.rules",
                             "active local session", "log out and in"})
        EXPECT_NE(result.err.find(part), std::string::npos) << part << " in " << result.err;
    EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << result.err;
    const auto listed = ctl.run("list");
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_EQ(listed.err.find("q905ctl list"), std::string::npos) << listed.err;
}

} // namespace
} // namespace q905

namespace q905 {
namespace {

TEST(CtlSet, LightingRulesApplyAndOnlyChangedBlocksAreSent) {
    testing::CtlRunner ctl;
    // Static takes slot 1 when multicolour was selected (the factory lighting is Wave).
    ASSERT_EQ(
        ctl.simulate("--trace t.txt set effect=static brightness=40 colour3=#00ff80").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, layout::kLightingEffect), 1);
    EXPECT_EQ(memoryByte(ctl, layout::kColourIndex), 1);
    EXPECT_EQ(memoryByte(ctl, layout::kBrightness), 40);
    EXPECT_EQ(memoryByte(ctl, layout::colourTriple(2).offset + 1), 0xFF);
    EXPECT_EQ(applyFrames(ctl.read("t.txt")),
              (std::vector<std::string>{"18 01", "07 00", "08 01", "14 00", "14 00", "14 00",
                                        "14 00", "14 00", "14 00", "14 00", "08 02", "18 00"}));

    // Wave has no colour slots: refused before anything is applied.
    ASSERT_EQ(ctl.simulate("set effect=wave").exitCode, 0);
    EXPECT_EQ(memoryByte(ctl, layout::kColourIndex), 8);
    const std::string before = ctl.read("mem.bin");
    const auto refused = ctl.simulate("set colour=3");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("Wave"), std::string::npos);

    for (const char* bad :
         {"set speed=10", "set brightness=51", "set colour1=12345", "set nosuch=1",
          "set palm.speed=0", "set keycolour.6.Q=ffffff", "set effect=7", "set direction=up"})
        EXPECT_EQ(ctl.simulate(bad).exitCode, 2) << bad;
    EXPECT_EQ(ctl.read("mem.bin").substr(0, layout::kPalmRestBlock.offset),
              before.substr(0, layout::kPalmRestBlock.offset));
}

TEST(CtlSet, SpeedPalmAndPerKeyColoursUseTheirEncodings) {
    testing::CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("set speed=0 palm.speed=5 keycolour.2.Q=102030 responsetime=9").exitCode,
              0);
    EXPECT_EQ(memoryByte(ctl, layout::kSpeedStep), 0);
    EXPECT_EQ(memoryByte(ctl, layout::kPalmRestBlock.offset + 3), 5);
    EXPECT_EQ(memoryByte(ctl, layout::kResponseTime.offset), 9);
    const std::size_t record = layout::perKeyColourPage(1).offset + KeyTable[42].matrixOffset;
    EXPECT_EQ(memoryByte(ctl, record + 1), 0x10);
    EXPECT_EQ(memoryByte(ctl, record + 3), 0x30);

    // The label stays the one commands take; the layout's is the window's.
    const auto dump = ctl.run("--simulate=mem.bin --simulate-latency 0 --data-dir data dump --json",
                              "env -u DISPLAY -u WAYLAND_DISPLAY XKB_DEFAULT_LAYOUT=fr ");
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("\"keyColours\":[{\"profile\":2,\"key\":42,\"label\":\"Q\","
                            "\"layoutLabel\":\"A\",\"colour\":\"102030\"}]"),
              std::string::npos)
        << dump.out;
    EXPECT_NE(dump.out.find("\"palmRest\":{"), std::string::npos);
    EXPECT_EQ(dump.out.back(), '\n');
}

TEST(CtlDump, ShowsAssignmentsAndTheFirmware) {
    testing::CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("assign Q combo LCtrl+C").exitCode, 0);
    ASSERT_EQ(ctl.simulate("disable F1").exitCode, 0);
    const auto dump = ctl.run("--simulate=mem.bin --simulate-latency 0 --simulate-firmware 1.4 "
                              "--data-dir data dump");
    ASSERT_EQ(dump.exitCode, 0) << dump.err;
    EXPECT_NE(dump.out.find("firmware:       1.4"), std::string::npos);
    EXPECT_NE(dump.out.find("Q (42) combo LCtrl+C"), std::string::npos) << dump.out;
    EXPECT_NE(dump.out.find("F1 (1) disabled"), std::string::npos) << dump.out;
}

} // namespace
} // namespace q905
