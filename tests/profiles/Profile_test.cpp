// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyTable.h"
#include "keys/KeymapFile.h"
#include "keys/ScratchFolder.h"
#include "profiles/ProfileActions.h"
#include "support/ImmutableFile.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

namespace q905 {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> profileBytes(std::uint8_t seed) {
    std::vector<std::uint8_t> bytes(kHostStateFileSize);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(i * 31 + seed);
    // Key codes as every load leaves them, and nothing past the keys, so loaded state
    // compares equal to the file.
    for (int key = 0; key < kKeyCount; ++key)
        bytes[kSettingsImageSize + static_cast<std::size_t>(key) * kKeyAssignmentRecordSize] =
            KeyTable[key].keyCode;
    std::fill(bytes.begin() + static_cast<std::ptrdiff_t>(kSettingsImageSize +
                                                          kKeyCount * kKeyAssignmentRecordSize),
              bytes.end(), 0);
    return bytes;
}

std::vector<std::string> fileNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

bool acceptAll(const std::vector<ProfileLaunchAction>&) {
    return true;
}

class ProfileTest : public ::testing::Test {
  protected:
    fs::path profiles() const { return profileFolder(scratch.path()); }
    std::vector<std::uint8_t> currentState() const { return hostStateBytes(image, *table); }

    testing::ScratchFolder scratch;
    SettingsImage image;
    std::unique_ptr<KeyAssignmentTable> table = std::make_unique<KeyAssignmentTable>();
    ProfilePathTable paths;
};

TEST_F(ProfileTest, SaveAndLoadRoundTrip) {
    const auto bytes = profileBytes(1);
    takeHostStateBytes(bytes, &image, *table);
    ASSERT_TRUE(saveProfile(scratch / "p.bin", image, *table).ok());
    EXPECT_EQ(testing::readBytes(scratch / "p.bin"), bytes);

    SettingsImage loadedImage;
    auto loadedTable = std::make_unique<KeyAssignmentTable>();
    ASSERT_TRUE(loadProfile(scratch / "p.bin", loadedImage, *loadedTable).ok());
    EXPECT_EQ(hostStateBytes(loadedImage, *loadedTable), bytes);
}

TEST_F(ProfileTest, ForeignFilesAreRefusedAndChangeNothing) {
    takeHostStateBytes(profileBytes(2), &image, *table);
    const auto before = currentState();
    testing::writeBytes(scratch / "short.bin",
                        std::vector<std::uint8_t>(kHostStateFileSize - 1, 7));
    testing::writeBytes(scratch / "long.bin", std::vector<std::uint8_t>(kHostStateFileSize + 1, 7));
    testing::writeBytes(scratch / "empty.bin", {});
    for (const char* name : {"short.bin", "long.bin", "empty.bin"}) {
        SCOPED_TRACE(name);
        const ProfileResult result = loadProfile(scratch / name, image, *table);
        EXPECT_EQ(result.status, ProfileStatus::WrongSize);
        EXPECT_NE(result.message.find("206928"), std::string::npos) << result.message;
        const ProfileResult imported =
            importProfile(profiles(), scratch / name, image, *table, paths, acceptAll);
        EXPECT_EQ(imported.status, ProfileStatus::WrongSize);
    }
    EXPECT_EQ(loadProfile(scratch / "missing.bin", image, *table).status,
              ProfileStatus::Unreadable);
    EXPECT_EQ(currentState(), before);
    EXPECT_FALSE(fs::exists(profiles()));
    EXPECT_TRUE(paths.empty());
}

TEST_F(ProfileTest, ListingShowsOnlyTheNewestProfile) {
    EXPECT_FALSE(listCurrentProfile(profiles(), paths)); // no folder yet
    fs::create_directories(profiles());
    EXPECT_FALSE(listCurrentProfile(profiles(), paths));
    EXPECT_TRUE(paths.empty());

    fs::create_directories(profiles() / "a.bin"); // a folder, not a profile
    testing::writeBytes(profiles() / "notes.txt", {1});
    testing::writeBytes(profiles() / "c.bin", profileBytes(3));
    testing::writeBytes(profiles() / "b.bin.bin", profileBytes(4));
    EXPECT_EQ(scanProfileFolder(profiles()).size(), 2u);
    // The most recently written one, whatever the names.
    fs::last_write_time(profiles() / "b.bin.bin", fs::file_time_type::clock::now());
    fs::last_write_time(profiles() / "c.bin",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));

    const auto current = listCurrentProfile(profiles(), paths);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->name, "b");
    EXPECT_EQ(current->path, profiles() / "b.bin.bin");
    ASSERT_EQ(paths.size(), 1u);
    EXPECT_EQ(otherProfiles(profiles(), paths[0]), ProfilePathTable{profiles() / "c.bin"});

    // Rebuilding from the list keeps the real file of a name that lost more than one ".bin".
    rebuildProfilePaths(profiles(), std::vector<std::string>{"b"}, paths);
    EXPECT_EQ(paths[0], profiles() / "b.bin.bin");
    rebuildProfilePaths(profiles(), std::vector<std::string>{"x"}, paths);
    EXPECT_EQ(paths[0], profiles() / "x.bin");
}

TEST_F(ProfileTest, FileNamesThatAreNotUtf8AreNotListed) {
    fs::create_directories(profiles());
    // The newer one, so it would be the current profile if it were listed.
    testing::writeBytes(profiles() / "b.bin", profileBytes(6));
    testing::writeBytes(profiles() / "a\xff.bin", profileBytes(5));
    fs::last_write_time(profiles() / "b.bin",
                        fs::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_EQ(scanProfileFolder(profiles()), ProfilePathTable{profiles() / "b.bin"});
    const auto current = listCurrentProfile(profiles(), paths);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->name, "b");
}

TEST_F(ProfileTest, ReplaceLeavesExactlyOneProfileWithTheSourceContent) {
    testing::writeBytes(profiles() / "old.bin", profileBytes(5));
    testing::writeBytes(profiles() / "older.bin", profileBytes(6));
    testing::writeBytes(scratch / "elsewhere.bin", profileBytes(7));

    ProfileResult result = replaceCurrentProfile(profiles(), scratch / "elsewhere.bin", "Work.bin");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.name, "Work");
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Work.bin"});
    EXPECT_EQ(testing::readBytes(profiles() / "Work.bin"), profileBytes(7));

    // The source is one of the files being replaced: a rename in place.
    result = replaceCurrentProfile(profiles(), profiles() / "Work.bin", "Play");
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Play.bin"});
    EXPECT_EQ(testing::readBytes(profiles() / "Play.bin"), profileBytes(7));

    // The same name again.
    ASSERT_TRUE(replaceCurrentProfile(profiles(), profiles() / "Play.bin", "Play").ok());
    EXPECT_EQ(testing::readBytes(profiles() / "Play.bin"), profileBytes(7));
}

TEST_F(ProfileTest, NamesThatLeaveTheFolderAreRefused) {
    testing::writeBytes(profiles() / "keep.bin", profileBytes(8));
    testing::writeBytes(scratch / "src.bin", profileBytes(9));
    for (const char* name : {"", ".", "..", "../x", "a/b", "a\\b", ".bin", ".bin.bin"}) {
        SCOPED_TRACE(name);
        const ProfileResult result = replaceCurrentProfile(profiles(), scratch / "src.bin", name);
        EXPECT_EQ(result.status, ProfileStatus::BadName);
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"keep.bin"});
    EXPECT_EQ(fileNames(scratch.path()), (std::vector<std::string>{"Configure", "src.bin"}));
    EXPECT_EQ(replaceCurrentProfile(profiles(), scratch / "none.bin", "x").status,
              ProfileStatus::Unreadable);
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"keep.bin"});

    EXPECT_EQ(profileTargetPath("/f", "a.bin"), fs::path("/f/a.bin"));
    EXPECT_EQ(profileTargetPath("/f", "a.bin.txt"), fs::path("/f/a.bin.txt.bin"));
}

TEST_F(ProfileTest, ImportExportAndRenameAsTheDialogDoesThem) {
    testing::writeBytes(profiles() / "Old.bin", profileBytes(10));
    ASSERT_TRUE(listCurrentProfile(profiles(), paths));

    testing::writeBytes(scratch / "in" / "Work.Profile.bin", profileBytes(11));
    ProfileResult result = importProfile(profiles(), scratch / "in" / "Work.Profile.bin", image,
                                         *table, paths, acceptAll);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(result.name, "Work");
    EXPECT_EQ(currentState(), profileBytes(11));
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Work.bin"});
    EXPECT_EQ(paths[0], profiles() / "Work.bin");

    // Exporting into the profile folder itself, under a longer file name.
    image.at(3) ^= 0xFF;
    const auto exported = currentState();
    result = exportProfile(profiles(), profiles() / "Home.v2.bin", image, *table, paths);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Home.bin"});
    EXPECT_EQ(testing::readBytes(profiles() / "Home.bin"), exported);

    result = renameCurrentProfile(profiles(), "Travel", paths);
    ASSERT_TRUE(result.ok()) << result.message;
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Travel.bin"});
    EXPECT_EQ(testing::readBytes(profiles() / "Travel.bin"), exported);
    EXPECT_EQ(paths[0], profiles() / "Travel.bin");

    // A file whose name starts with "." gives no name: refused before the state changes.
    testing::writeBytes(scratch / ".hidden.bin", profileBytes(12));
    EXPECT_EQ(
        importProfile(profiles(), scratch / ".hidden.bin", image, *table, paths, acceptAll).status,
        ProfileStatus::BadName);
    EXPECT_EQ(currentState(), exported);

    paths.clear();
    EXPECT_EQ(renameCurrentProfile(profiles(), "x", paths).status, ProfileStatus::NoProfile);
}

TEST_F(ProfileTest, AnOldProfileThatCannotBeRemovedIsReportedAndNeverBecomesCurrent) {
    // Sorts first and carries a later time: by name or by a clock that did not move, the old
    // file would be taken for the current one.
    testing::writeBytes(profiles() / "A.bin", profileBytes(30));
    fs::last_write_time(profiles() / "A.bin",
                        fs::file_time_type::clock::now() + std::chrono::hours(1));
    testing::ImmutableFile stuck(profiles() / "A.bin");
    if (!stuck.isSet())
        GTEST_SKIP() << "no immutable files here";
    testing::writeBytes(scratch / "B.bin", profileBytes(31));

    const ProfileResult result =
        importProfile(profiles(), scratch / "B.bin", image, *table, paths, acceptAll);
    EXPECT_EQ(result.status, ProfileStatus::CleanupFailed);
    EXPECT_EQ(result.leftOver, ProfilePathTable{profiles() / "A.bin"});
    EXPECT_EQ(currentState(), profileBytes(31)) << "the import itself took";
    ProfilePathTable listed;
    const auto current = listCurrentProfile(profiles(), listed);
    ASSERT_TRUE(current);
    EXPECT_EQ(current->name, "B");

    const ProfilePathTable others = otherProfiles(profiles(), listed[0]);
    EXPECT_EQ(removeProfileFiles(others).leftOver, others);
    stuck.release();
    EXPECT_TRUE(removeProfileFiles(others).ok());
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"B.bin"});
}

TEST_F(ProfileTest, TheProfileKeptIsTheOneLoadedEvenIfTheFileChangesMeanwhile) {
    SettingsImage giftImage;
    auto gift = std::make_unique<KeyAssignmentTable>();
    gift->resetKeyCodes();
    (*gift)[42].setGroup(FunctionGroup::Startup);
    ASSERT_TRUE((*gift)[42].setLaunchPath(u"/tmp/run.sh"));
    ASSERT_TRUE(saveProfile(scratch / "Gift.bin", giftImage, *gift).ok());
    const auto loaded = testing::readBytes(scratch / "Gift.bin");

    // The question about launch actions comes between the read and the copy into the folder.
    const auto swap = [this](const std::vector<ProfileLaunchAction>&) {
        testing::writeBytes(scratch / "Gift.bin", profileBytes(40));
        return true;
    };
    ASSERT_TRUE(importProfile(profiles(), scratch / "Gift.bin", image, *table, paths, swap).ok());
    EXPECT_EQ(currentState(), loaded);
    EXPECT_EQ(testing::readBytes(profiles() / "Gift.bin"), loaded);
}

TEST_F(ProfileTest, LaunchActionsAreListedAndADeclinedImportChangesNothing) {
    testing::writeBytes(profiles() / "Old.bin", profileBytes(20));
    ASSERT_TRUE(listCurrentProfile(profiles(), paths));
    takeHostStateBytes(profileBytes(20), &image, *table);
    const auto before = currentState();

    // A clean profile but for one key that starts a program and one record beyond the keys.
    SettingsImage foreignImage;
    auto foreign = std::make_unique<KeyAssignmentTable>();
    foreign->resetKeyCodes();
    (*foreign)[42].setGroup(FunctionGroup::Startup);
    ASSERT_TRUE((*foreign)[42].setLaunchPath(u"/tmp/run.sh"));
    (*foreign)[200].setGroup(FunctionGroup::OpenFolder);
    ASSERT_TRUE((*foreign)[200].setLaunchPath(u"/home"));
    (*foreign)[43].setGroup(FunctionGroup::OpenFile); // no path: opens nothing
    ASSERT_TRUE(saveProfile(scratch / "Gift.bin", foreignImage, *foreign).ok());

    std::vector<ProfileLaunchAction> shown;
    const auto decline = [&shown](const std::vector<ProfileLaunchAction>& actions) {
        shown = actions;
        return false;
    };
    const ProfileResult result =
        importProfile(profiles(), scratch / "Gift.bin", image, *table, paths, decline);
    EXPECT_EQ(result.status, ProfileStatus::Declined);
    // Record 200 lies beyond the keys: a load clears it, so it never launches and needs no consent.
    EXPECT_EQ(describeLaunchActions(shown), "Q  program  /tmp/run.sh\n");
    EXPECT_EQ(currentState(), before);
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Old.bin"});
    EXPECT_EQ(paths[0], profiles() / "Old.bin");

    ASSERT_TRUE(
        importProfile(profiles(), scratch / "Gift.bin", image, *table, paths, acceptAll).ok());
    EXPECT_EQ(fileNames(profiles()), std::vector<std::string>{"Gift.bin"});
    EXPECT_EQ((*table)[42].launchPath(), u"/tmp/run.sh");
}

} // namespace
} // namespace q905
