// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl against files and text that are not what they should be: each is refused with a
// message and exit 2 before anything is applied or written, never hangs, never aborts.

#include "cli/CtlRunner.h"
#include "device/SettingsLayout.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace q905 {
namespace {

using testing::CtlRunner;

bool mentions(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(CtlHostileInput, IrregularAndOversizedFilesAreRefusedAndNothingIsWritten) {
    CtlRunner ctl;
    std::filesystem::create_directories(ctl.file("data/keymap.bin"));
    auto result = ctl.simulate("--trace t.txt set brightness=10");
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_TRUE(mentions(result.err, "not a regular file")) << result.err;
    EXPECT_FALSE(std::filesystem::exists(ctl.file("mem.bin")));
    EXPECT_FALSE(std::filesystem::exists(ctl.file("data/MacroDefine.bin")));
    EXPECT_FALSE(mentions(ctl.read("t.txt"), "set-feature"));
    std::filesystem::remove(ctl.file("data/keymap.bin"));

    // A FIFO would block a plain open until a writer came.
    ASSERT_EQ(::mkfifo(ctl.file("data/MacroDefine.bin").c_str(), 0600), 0);
    result = ctl.simulate("set brightness=10");
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_FALSE(std::filesystem::exists(ctl.file("data/keymap.bin")));
    std::filesystem::remove(ctl.file("data/MacroDefine.bin"));

    // A device as a profile: bounded, refused.
    result = ctl.simulate("profile import /dev/zero");
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_TRUE(mentions(result.err, "/dev/zero")) << result.err;

    // The emulated keyboard's memory file of the wrong size is refused, not overwritten.
    { std::ofstream(ctl.file("odd.bin"), std::ios::binary) << "not a memory image"; }
    result = ctl.run("--simulate=odd.bin --data-dir data read");
    EXPECT_EQ(result.exitCode, 2) << result.err;
    EXPECT_EQ(ctl.read("odd.bin"), "not a memory image");
}

TEST(CtlHostileInput, AWrongSizedKeymapOrMacroFileIsTakenButTheUserIsToldFirst) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("--no-apply set brightness=5").exitCode, 0);
    std::filesystem::resize_file(ctl.file("data/keymap.bin"), 1000);
    auto result = ctl.simulate("--no-apply set brightness=10");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(mentions(result.err, "holds 1000 bytes instead of 206928")) << result.err;
    EXPECT_EQ(std::filesystem::file_size(ctl.file("data/keymap.bin")), 206928u);

    // The same warning for MacroDefine.bin, empty or cut short, wherever it is loaded.
    std::filesystem::resize_file(ctl.file("data/MacroDefine.bin"), 0);
    result = ctl.simulate("--no-apply dump");
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_TRUE(mentions(result.err, "q905ctl: warning: data/MacroDefine.bin holds 0 bytes "
                                     "instead of 169860; what it holds was taken"))
        << result.err;
    ASSERT_EQ(ctl.simulate("--no-apply macro new M \"A dn\"").exitCode, 0);
    std::filesystem::resize_file(ctl.file("data/MacroDefine.bin"), 1000);
    result = ctl.simulate("macro list");
    EXPECT_EQ(result.out.rfind("0  M", 0), 0u) << "what it holds was taken: " << result.out;
    EXPECT_TRUE(mentions(result.err, "holds 1000 bytes instead of 169860")) << result.err;
}

TEST(CtlHostileInput, DisablingWinSurvivesTheNextApply) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("disable Win").exitCode, 0);
    // Any later apply folds the Windows-key lock into the key's enable bit.
    ASSERT_EQ(ctl.simulate("set brightness=10").exitCode, 0);
    const std::string memory = ctl.read("mem.bin");
    ASSERT_EQ(memory.size(), kSettingsImageSize);
    EXPECT_EQ(memory[layout::kWinKeyMaskByte] & 0x01, 0);
    EXPECT_EQ(memory[layout::kWinKeyLock.offset], 1);
    ASSERT_EQ(ctl.simulate("enable Win").exitCode, 0);
    ASSERT_EQ(ctl.simulate("set brightness=20").exitCode, 0);
    EXPECT_EQ(ctl.read("mem.bin")[layout::kWinKeyMaskByte] & 0x01, 1);
}

TEST(CtlHostileInput, APathCannotForgeALineOrDriveTheTerminal) {
    CtlRunner ctl;
    ASSERT_EQ(
        ctl.simulate(
               "--no-apply assign Q launch program \"$(printf '/tmp/a\\nkey:   forged\\033[2J')\"")
            .exitCode,
        0);
    const auto dump = ctl.simulate("--no-apply dump");
    EXPECT_EQ(dump.exitCode, 0);
    EXPECT_TRUE(mentions(dump.out, "/tmp/a\\nkey:   forged\\x1b[2J")) << dump.out;
    EXPECT_FALSE(mentions(dump.out, "\n  key:   forged"));
    EXPECT_FALSE(mentions(dump.out, "\033"));
    const auto json = ctl.simulate("--no-apply --json dump");
    EXPECT_TRUE(mentions(json.out, "/tmp/a\\nkey:   forged\\u001b[2J")) << json.out;
}

} // namespace
} // namespace q905
