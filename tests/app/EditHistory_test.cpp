// SPDX-License-Identifier: GPL-3.0-or-later
// The history's steps restore the assignment table and the macros with their files; the window
// tests cover the image.
#include "app/EditHistory.h"

#include "base/RegularFile.h"
#include "keys/KeymapFile.h"
#include "macros/MacroFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace q905 {
namespace {

class EditHistoryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        m_folder =
            std::filesystem::temp_directory_path() /
            ("q905-history-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
        m_host = std::make_unique<HostState>(m_folder);
        (void)m_host->loadAtStartUp();
    }
    void TearDown() override { std::filesystem::remove_all(m_folder); }

    std::vector<std::uint8_t> file(const char* name) {
        return readRegularFile(m_folder / name, 1 << 20).bytes;
    }

    std::filesystem::path m_folder;
    std::unique_ptr<HostState> m_host;
};

TEST_F(EditHistoryTest, AMacroOkAndAnAssignmentAreUndoneWithTheirFilesAndRedone) {
    HostState& host = *m_host;
    EditHistory history;
    const auto startMacros = file(kMacroFileName);
    const auto startKeymap = file(kKeymapFileName);
    const KeyAssignmentTable startTable = host.keys().table();

    history.begin(host);
    host.macros()[0].setName(u"Combo");
    ASSERT_TRUE(host.saveMacros().ok());
    host.keys().table()[5].bytes()[0] ^= 0x5A;
    ASSERT_TRUE(host.saveKeymap().ok());
    history.end(host);
    const auto endMacros = file(kMacroFileName);
    const auto endKeymap = file(kKeymapFileName);
    ASSERT_NE(endMacros, startMacros);

    // A click that changed nothing is no step.
    history.begin(host);
    history.end(host);

    ASSERT_TRUE(history.undo(host).restored());
    EXPECT_FALSE(history.canUndo());
    EXPECT_EQ(file(kMacroFileName), startMacros);
    EXPECT_EQ(file(kKeymapFileName), startKeymap);
    EXPECT_EQ(host.keys().table(), startTable);
    EXPECT_EQ(host.macros()[0].name(), u"");

    ASSERT_TRUE(history.redo(host).restored());
    EXPECT_EQ(file(kMacroFileName), endMacros);
    EXPECT_EQ(file(kKeymapFileName), endKeymap);
    EXPECT_EQ(host.macros()[0].name(), u"Combo");
    EXPECT_FALSE(history.redo(host).restored());

    // A file that cannot be put back (a folder in its place) is no "nothing to undo": the
    // state in memory is restored and the failure is told.
    std::filesystem::remove(m_folder / kKeymapFileName);
    std::filesystem::create_directory(m_folder / kKeymapFileName);
    const HistoryStep step = history.undo(host);
    EXPECT_TRUE(step.restored());
    EXPECT_FALSE(step.saved.ok());
    EXPECT_EQ(host.keys().table(), startTable);
}

TEST_F(EditHistoryTest, AMissingFileComesBackMissingAndAnUnreadableOneIsLeftAlone) {
    HostState& host = *m_host;
    EditHistory history;
    std::filesystem::remove(m_folder / kMacroFileName);
    history.begin(host);
    host.macros()[0].setName(u"Combo");
    ASSERT_TRUE(host.saveMacros().ok());
    history.end(host);
    ASSERT_TRUE(history.undo(host).restored());
    EXPECT_FALSE(std::filesystem::exists(m_folder / kMacroFileName));
    EXPECT_EQ(host.macros()[0].name(), u"") << "the list follows its file";

    // keymap.bin replaced by a folder: not readable as a file, and not to be removed.
    std::filesystem::remove(m_folder / kKeymapFileName);
    std::filesystem::create_directory(m_folder / kKeymapFileName);
    std::ofstream(m_folder / kKeymapFileName / "inside") << "kept";
    history.begin(host);
    host.keys().table()[5].bytes()[0] ^= 0x5A;
    history.end(host);
    ASSERT_TRUE(history.undo(host).restored());
    EXPECT_TRUE(std::filesystem::exists(m_folder / kKeymapFileName / "inside"));
}

} // namespace
} // namespace q905
