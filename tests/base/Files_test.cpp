// SPDX-License-Identifier: GPL-3.0-or-later
// Reading only regular, bounded files; saving without leaving temporaries; text from outside
// checked and escaped.

#include "base/AtomicFile.h"
#include "base/RegularFile.h"
#include "base/TextSafety.h"
#include "keys/ScratchFolder.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace q905 {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(RegularFile, OnlyRegularFilesWithinTheBoundAreRead) {
    testing::ScratchFolder folder;
    testing::writeBytes(folder / "four", {1, 2, 3, 4});
    FileContents read = readRegularFile(folder / "four", 4);
    EXPECT_TRUE(read.ok());
    EXPECT_EQ(read.bytes, (std::vector<std::uint8_t>{1, 2, 3, 4}));

    EXPECT_EQ(readRegularFile(folder / "four", 3).status, FileReadStatus::TooLarge);
    EXPECT_EQ(readRegularFile(folder / "none", 3).status, FileReadStatus::Missing);
    EXPECT_EQ(readRegularFile(folder.path(), 3).status, FileReadStatus::NotRegular);
    // Neither waits for a writer nor reads without end.
    ASSERT_EQ(::mkfifo((folder / "fifo").c_str(), 0600), 0);
    EXPECT_EQ(readRegularFile(folder / "fifo", 3).status, FileReadStatus::NotRegular);
    read = readRegularFile("/dev/zero", 3);
    EXPECT_EQ(read.status, FileReadStatus::NotRegular);
    EXPECT_NE(read.message.find("/dev/zero"), std::string::npos);
}

TEST(AtomicFile, SavesLeaveNoTemporaryAndStaleOnesOfOursAreRemoved) {
    testing::ScratchFolder folder;
    ASSERT_TRUE(saveFileAtomically(folder / "keymap.bin", std::vector<std::uint8_t>{7}).ok());
    ASSERT_TRUE(saveFileAtomically(folder / "keymap.bin", std::vector<std::uint8_t>{8}).ok());
    EXPECT_EQ(namesIn(folder.path()), std::vector<std::string>{"keymap.bin"});
    EXPECT_EQ(testing::readBytes(folder / "keymap.bin"), std::vector<std::uint8_t>{8});
    EXPECT_FALSE(saveFileAtomically(folder / "no" / "x.bin", std::vector<std::uint8_t>{1}).ok());

    // What a save killed in the named fallback leaves behind: removed once old enough; a
    // younger one may belong to a save under way, and other files are not ours.
    const fs::path stale = folder / (std::string("keymap.bin") + kTemporaryMark + "abcdefgh");
    const fs::path young = folder / (std::string("MacroDefine.bin") + kTemporaryMark + "12345678");
    testing::writeBytes(stale, {1});
    testing::writeBytes(young, {1});
    testing::writeBytes(folder / "notes.tmp", {1});
    fs::last_write_time(stale, fs::file_time_type::clock::now() - std::chrono::hours(1));
    removeStaleTemporaries(folder.path());
    EXPECT_FALSE(fs::exists(stale));
    EXPECT_TRUE(fs::exists(young));
    EXPECT_TRUE(fs::exists(folder / "notes.tmp"));
}

// QSaveFile once wrote through a symlinked cache into its target and hung on a FIFO there.
TEST(AtomicFile, WhatStandsAtTheTargetIsReplacedNeverWrittenThrough) {
    testing::ScratchFolder folder;
    testing::writeBytes(folder / "elsewhere", {1, 2, 3});
    fs::create_symlink(folder / "elsewhere", folder / "keymap.bin");
    ASSERT_EQ(::mkfifo((folder / "MacroDefine.bin").c_str(), 0600), 0);
    const std::vector<std::uint8_t> head{9}, tail{8, 7};
    const std::span<const std::uint8_t> parts[] = {head, tail};
    for (const char* name : {"keymap.bin", "MacroDefine.bin"}) {
        ASSERT_TRUE(saveFileAtomically(folder / name, parts).ok()) << name;
        EXPECT_EQ(fs::symlink_status(folder / name).type(), fs::file_type::regular) << name;
        EXPECT_EQ(testing::readBytes(folder / name), (std::vector<std::uint8_t>{9, 8, 7})) << name;
    }
    EXPECT_EQ(testing::readBytes(folder / "elsewhere"), (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST(TextSafety, OutsideTextIsCheckedAndEscaped) {
    EXPECT_TRUE(isValidUtf8("Gr\xC3\xBC\xC3\x9F"
                            "e \xF0\x9F\x8E\xB9"));
    for (const char* bad :
         {"\xFF", "\xC0\xAF", "\xE0\x80\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80", "\xC3", "a\x80"})
        EXPECT_FALSE(isValidUtf8(bad)) << escapeForTerminal(bad);

    EXPECT_EQ(escapeForTerminal("/tmp/a\nkey: x\x1B[2J"), "/tmp/a\\nkey: x\\x1b[2J");
    EXPECT_EQ(escapeForTerminal("C1 \xC2\x9B"
                                "31m, DEL \x7F, bad \xFF, ok \xC3\xBC"),
              "C1 \\xc2\\x9b31m, DEL \\x7f, bad \\xff, ok \xC3\xBC");
}

} // namespace
} // namespace q905
