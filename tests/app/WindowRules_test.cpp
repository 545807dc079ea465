// SPDX-License-Identifier: GPL-3.0-or-later
// The language choice, the launch actions the keyboard asks for, and the redraw burst.
#include "app/Language.h"
#include "app/LaunchPlan.h"
#include "app/RedrawBurst.h"
#include "firmware/Launcher.h"
#include "support/RecordingLauncher.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace q905 {
namespace {

using testing::RecordingLauncher;

TEST(Language, TheFirstSourceThatNamesALanguageDecides) {
    EXPECT_EQ(chooseLanguage("de", std::nullopt, "en_GB"), Language::German);
    EXPECT_EQ(chooseLanguage("en", "German", "de_DE"), Language::English);
    EXPECT_EQ(chooseLanguage(std::nullopt, "Deutsch", "en_US"), Language::German);
    EXPECT_EQ(chooseLanguage(std::nullopt, "english", "de_AT"), Language::English);
    // A stored value nobody understands leaves the choice to the locale.
    EXPECT_EQ(chooseLanguage(std::nullopt, "klingon", "de_CH"), Language::German);
    EXPECT_EQ(chooseLanguage(std::nullopt, std::nullopt, "fr_FR"), Language::English);
    EXPECT_EQ(chooseLanguage(std::nullopt, std::nullopt, "dee"), Language::English);
    EXPECT_EQ(assetFolder("/usr/share/q905", Language::German),
              std::filesystem::path("/usr/share/q905/png/german"));
    EXPECT_EQ(assetFolder("/usr/share/q905", Language::English),
              std::filesystem::path("/usr/share/q905/png/english"));
}

class LaunchPlanTest : public ::testing::Test {
  protected:
    void bind(std::size_t record, FunctionGroup group, std::uint8_t code, std::u16string path) {
        table[record].setKeyCode(code);
        table[record].setGroup(group);
        ASSERT_TRUE(table[record].setLaunchPath(path));
    }
    std::vector<std::string> launch(std::uint8_t code) {
        RecordingLauncher launcher;
        runLaunchPlan(planLaunch(table, code), launcher);
        return launcher.calls;
    }
    KeyAssignmentTable table;
};

TEST_F(LaunchPlanTest, ProgramsStartInTheirFolderEverythingElseOpensWithItsApplication) {
    bind(3, FunctionGroup::Startup, 0x41, u"/opt/tools/run me");
    bind(4, FunctionGroup::PlayMusic, 0x42, u"/home/u/Music/song.ogg");
    bind(5, FunctionGroup::OpenFolder, 0x43, u"/home/u/Documents");
    EXPECT_EQ(launch(0x41), std::vector<std::string>{"start /opt/tools/run me in /opt/tools"});
    EXPECT_EQ(launch(0x42), std::vector<std::string>{"open /home/u/Music/song.ogg"});
    EXPECT_EQ(launch(0x43), std::vector<std::string>{"open /home/u/Documents"});
}

TEST_F(LaunchPlanTest, TheLowerRecordWinsAndOtherGroupsAreIgnored) {
    bind(2, FunctionGroup::SingleKey, 0x41, u"/bin/never");
    bind(7, FunctionGroup::OpenFile, 0x41, u"/home/u/first.txt");
    bind(9, FunctionGroup::OpenFile, 0x41, u"/home/u/second.txt");
    EXPECT_EQ(launch(0x41), std::vector<std::string>{"open /home/u/first.txt"});
    EXPECT_TRUE(launch(0x55).empty());
}

TEST_F(LaunchPlanTest, PathsThatNameNoFileOpenNothing) {
    bind(1, FunctionGroup::Startup, 0x41, u"program");
    bind(2, FunctionGroup::OpenFolder, 0x42, u"/home/u/");
    bind(3, FunctionGroup::Startup, 0x43, u"bin/tool");
    bind(4, FunctionGroup::OpenFile, 0x44, u"");
    for (std::uint8_t code : {0x41, 0x42, 0x43, 0x44})
        EXPECT_TRUE(launch(code).empty()) << int(code);
}

TEST(RedrawBurst, FourRedrawsThenTheBurstEnds) {
    RedrawBurst burst;
    EXPECT_FALSE(burst.tick());
    burst.start();
    int redraws = 0;
    while (burst.tick())
        ++redraws;
    EXPECT_EQ(redraws, kRedrawBurstLength);
    EXPECT_FALSE(burst.running());

    // A new report during a burst starts the count again.
    burst.start();
    burst.tick();
    burst.tick();
    burst.start();
    redraws = 0;
    while (burst.tick())
        ++redraws;
    EXPECT_EQ(redraws, kRedrawBurstLength);
}

} // namespace
} // namespace q905
