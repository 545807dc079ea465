// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl's macro commands and the launch-action guard of profile import, from a shell.

#include "cli/CtlRunner.h"
#include "device/SettingsLayout.h"
#include "keys/KeyAssignmentTable.h"
#include "keys/KeyTable.h"
#include "macros/MacroFile.h"
#include "profiles/ProfileFiles.h"

#include <gtest/gtest.h>

#include <memory>

namespace q905 {
namespace {

using testing::CtlRunner;

std::string slotHex(const CtlRunner& ctl, std::size_t slot, std::size_t count) {
    const std::string memory = ctl.read("mem.bin");
    std::string hex;
    for (std::size_t i = 0; i < count; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X ",
                      static_cast<unsigned char>(memory.at(layout::macroSlot(slot).offset + i)));
        hex += byte;
    }
    return hex.substr(0, hex.size() - 1);
}

TEST(CtlMacro, EditsReachTheSlotsAndShowReadsBackIntoTheSameBytes) {
    CtlRunner ctl;
    auto result = ctl.simulate(R"(macro new Greet "A dn" "A up" "300 ms" "0x0D dn" "0x6C up")");
    ASSERT_EQ(result.exitCode, 0) << result.err;
    ASSERT_EQ(ctl.simulate(R"(macro new Click "MsLB dn" "50 ms" "MsLB up")").exitCode, 0);
    ASSERT_EQ(ctl.simulate("macro loop 0 3").exitCode, 0);
    EXPECT_EQ(slotHex(ctl, 0, 12), "00 03 01 04 81 04 7F 28 01 2C 81 58");
    EXPECT_EQ(slotHex(ctl, 1, 6), "00 01 01 F0 B2 F0");

    // Both Enter keys carry the name "Enter": they show as their codes.
    result = ctl.simulate("macro show 0");
    EXPECT_EQ(result.out, "Greet  loop 3\n  A dn\n  A up\n  300 ms\n  0x0D dn\n  0x6C up\n");
    const std::string before = ctl.read("data/MacroDefine.bin");
    ASSERT_EQ(ctl.simulate(R"(macro set 0 "A dn" "A up" "300 ms" "0x0D dn" "0x6C up")").exitCode,
              0);
    EXPECT_EQ(ctl.read("data/MacroDefine.bin"), before);

    // Deleting the first macro moves the second into slot 0; slot 1 keeps what it held.
    ASSERT_EQ(ctl.simulate("macro rename 1 Tap").exitCode, 0);
    ASSERT_EQ(ctl.simulate("macro delete 0").exitCode, 0);
    EXPECT_EQ(ctl.simulate("macro list").out.substr(0, 11), "0  Tap  loo");
    EXPECT_EQ(slotHex(ctl, 0, 6), "00 01 01 F0 B2 F0");
    EXPECT_EQ(slotHex(ctl, 1, 6), "00 01 01 F0 B2 F0");

    // --no-apply: the files change, the keyboard does not.
    ASSERT_EQ(ctl.simulate("--no-apply macro loop 0 7").exitCode, 0);
    EXPECT_EQ(slotHex(ctl, 0, 2), "00 01");
    EXPECT_NE(ctl.simulate("macro list").out.find("loop 7"), std::string::npos);
}

std::size_t keyIndexOf(std::string_view label) {
    for (std::size_t key = 0; key < KeyTable.size(); ++key)
        if (KeyTable[key].label == label)
            return key;
    ADD_FAILURE() << "no key " << label;
    return 0;
}

// A key's 4-byte key map entry in a settings image at the start of bytes, in hex.
std::string entryHex(const std::string& bytes, const char* label) {
    const KeyEntry& key = KeyTable[keyIndexOf(label)];
    std::string hex;
    for (std::size_t i = 0; i < 4; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X ",
                      static_cast<unsigned char>(
                          bytes.at(layout::kKeyMapBlock.offset + key.matrixOffset + i)));
        hex += byte;
    }
    return hex.substr(0, hex.size() - 1);
}

// Group and the first four data bytes of a key's record in keymap.bin.
std::string recordHex(const std::string& keymap, const char* label) {
    const auto offset = kSettingsImageSize + kKeyAssignmentRecordSize * keyIndexOf(label);
    std::string hex;
    for (std::size_t i = record_layout::kGroup; i < record_layout::kData.offset + 4; ++i) {
        char byte[4];
        std::snprintf(byte, sizeof byte, "%02X ",
                      static_cast<unsigned char>(keymap.at(offset + i)));
        hex += byte;
    }
    return hex.substr(0, hex.size() - 1);
}

TEST(CtlMacro, DeleteKeepsKeysOnTheirMacros) {
    CtlRunner ctl;
    for (const char* name : {"One", "Two", "Three"})
        ASSERT_EQ(ctl.simulate(std::string("macro new ") + name + R"( "A dn" "A up")").exitCode, 0);
    ASSERT_EQ(ctl.simulate("assign F1 macro 0").exitCode, 0);
    ASSERT_EQ(ctl.simulate("assign F2 macro 1").exitCode, 0);
    ASSERT_EQ(ctl.simulate("assign F3 macro 2").exitCode, 0);

    const auto deleted = ctl.simulate("macro delete 1");
    ASSERT_EQ(deleted.exitCode, 0) << deleted.err;
    EXPECT_EQ(deleted.out, "F2: default function (its macro 1 was deleted)\n"
                           "F3: macro 1 (was macro 2)\n");
    const std::string keymap = ctl.read("data/keymap.bin");
    const std::string keyboard = ctl.read("mem.bin");
    for (const std::string* bytes : {&keymap, &keyboard}) {
        EXPECT_EQ(entryHex(*bytes, "F1"), "04 01 00 00");
        EXPECT_EQ(entryHex(*bytes, "F2"), "00 00 3B 00");
        EXPECT_EQ(entryHex(*bytes, "F3"), "04 01 01 00");
    }
    EXPECT_EQ(recordHex(keymap, "F1"), "02 04 01 00 00");
    EXPECT_EQ(recordHex(keymap, "F2"), "00 00 00 00 00");
    EXPECT_EQ(recordHex(keymap, "F3"), "02 04 01 01 00");
}

TEST(CtlMacro, BadEditsSayWhyAndWriteNothing) {
    CtlRunner ctl;
    std::string tooLong = "macro new Long";
    for (int i = 0; i < 96; ++i)
        tooLong += " \"B dn\"";
    const std::string longName(255, 'n');
    for (const std::string& arguments :
         {std::string(R"(macro new X "Nope dn")"),
          std::string(R"(macro new X "A dn" "1 ms" "A up")"),
          std::string(R"(macro new X "A dn" "60001 ms" "A up")"), tooLong,
          std::string(R"(macro new "" "A dn")"), "macro new " + longName,
          std::string("macro loop 0 3"), std::string("macro new X A"),
          std::string(R"(macro new X "A dn" "50 ms")")}) {
        const auto result = ctl.simulate(arguments);
        EXPECT_EQ(result.exitCode, 2) << arguments;
        EXPECT_FALSE(result.err.empty()) << arguments;
    }
    EXPECT_FALSE(std::filesystem::exists(ctl.file("mem.bin")));
    EXPECT_FALSE(std::filesystem::exists(ctl.file("data/keymap.bin")));

    // 32 macros fill every slot: a 33rd is refused.
    auto macros = std::make_unique<MacroList>();
    for (std::size_t i = 0; i < 32; ++i)
        (*macros)[i].setName(u"M" + std::u16string(1, char16_t(u'a' + i % 26)));
    std::filesystem::create_directories(ctl.file("data"));
    ASSERT_TRUE(saveMacroFile(ctl.file("data/MacroDefine.bin"), *macros));
    const auto full = ctl.simulate(R"(macro new Extra "A dn")");
    EXPECT_EQ(full.exitCode, 2);
    EXPECT_NE(full.err.find("32"), std::string::npos) << full.err;
    EXPECT_FALSE(std::filesystem::exists(ctl.file("mem.bin")));
}

TEST(CtlProfile, ImportOfLaunchActionsNeedsConsent) {
    CtlRunner ctl;
    ASSERT_EQ(ctl.simulate("profile export Home.bin").exitCode, 0);
    SettingsImage image;
    auto table = std::make_unique<KeyAssignmentTable>();
    table->resetKeyCodes();
    (*table)[42].setGroup(FunctionGroup::Startup);
    ASSERT_TRUE((*table)[42].setLaunchPath(u"/tmp/evil.sh"));
    ASSERT_TRUE(saveProfile(ctl.file("Gift.bin"), image, *table).ok());

    const std::string keymap = ctl.read("data/keymap.bin");
    const std::string memory = ctl.read("mem.bin");
    const auto refused = ctl.simulate("profile import Gift.bin");
    EXPECT_EQ(refused.exitCode, 2);
    EXPECT_NE(refused.err.find("Q  program  /tmp/evil.sh"), std::string::npos) << refused.err;
    EXPECT_NE(refused.err.find("--accept-launch-actions"), std::string::npos);
    EXPECT_EQ(ctl.read("data/keymap.bin"), keymap);
    EXPECT_EQ(ctl.read("mem.bin"), memory);
    EXPECT_NE(ctl.simulate("profile show").out.find("Home"), std::string::npos);

    const auto accepted = ctl.simulate("profile import Gift.bin --accept-launch-actions");
    EXPECT_EQ(accepted.exitCode, 0) << accepted.err;
    EXPECT_NE(accepted.out.find("/tmp/evil.sh"), std::string::npos);
    EXPECT_NE(ctl.simulate("profile show").out.find("Gift"), std::string::npos);
}

} // namespace
} // namespace q905
