// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/MacroFile.h"

#include "MacroTestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

namespace q905 {
namespace {

namespace fs = std::filesystem;
using testing::Bytes;

class MacroFile : public ::testing::Test {
  protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path() /
                (std::string("q905-macros-") +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    static Bytes read(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    }
    static void write(const fs::path& path, const Bytes& bytes) {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
    }
    static Bytes noise(std::size_t size) {
        std::mt19937 random(905);
        Bytes bytes(size);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        return bytes;
    }

    fs::path m_dir;
};

TEST_F(MacroFile, RoundTripsEveryByteIncludingTheReservedOnes) {
    const fs::path path = m_dir / kMacroFileName;
    const Bytes original = noise(kMacroListSize);
    write(path, original);
    MacroList macros;
    ASSERT_EQ(loadMacroFile(path, macros).status, MacroFileStatus::Loaded);
    EXPECT_EQ(macros[189].bytes()[893], original.back());
    const fs::path copy = m_dir / "copy.bin";
    ASSERT_TRUE(saveMacroFile(copy, macros).ok());
    EXPECT_EQ(read(copy), original);
}

TEST_F(MacroFile, AShortFileFillsOnlyItsPartAndALongerOneIsRefused) {
    const fs::path path = m_dir / kMacroFileName;
    const Bytes part = noise(1000); // record 0 and the start of record 1
    write(path, part);
    MacroList macros;
    macros[5].setName(u"stale"); // the file replaces whatever the list held
    const MacroFileResult shorter = loadMacroFile(path, macros);
    ASSERT_EQ(shorter.status, MacroFileStatus::LoadedWrongSize);
    EXPECT_EQ(shorter.fileSize, 1000u);
    Bytes expected(kMacroListSize, 0);
    std::ranges::copy(part, expected.begin());
    EXPECT_EQ(macros.toBytes(), expected);
    EXPECT_EQ(read(path), part); // loading never rewrites an existing file

    const Bytes longer = noise(kMacroListSize + 100);
    write(path, longer);
    const MacroFileResult refused = loadMacroFile(path, macros);
    EXPECT_EQ(refused.status, MacroFileStatus::Failed);
    EXPECT_NE(refused.message.find("too large"), std::string::npos) << refused.message;
    EXPECT_EQ(read(path), longer);
}

TEST_F(MacroFile, AMissingFileIsCreatedAndAnUnreadableOneIsLeftAlone) {
    const fs::path path = m_dir / kMacroFileName;
    MacroList macros;
    macros[0].setName(u"stale");
    ASSERT_EQ(loadMacroFile(path, macros).status, MacroFileStatus::Created);
    EXPECT_EQ(macros, MacroList{});
    EXPECT_EQ(read(path), Bytes(kMacroListSize, 0));

    const fs::path folder = m_dir / "folder.bin";
    fs::create_directory(folder);
    macros[0].setName(u"stale");
    EXPECT_EQ(loadMacroFile(folder, macros).status, MacroFileStatus::Failed);
    EXPECT_EQ(macros, MacroList{});
    EXPECT_TRUE(fs::is_directory(folder));
    EXPECT_FALSE(saveMacroFile(m_dir / "no-such-folder" / kMacroFileName, macros).ok());
}

} // namespace
} // namespace q905
