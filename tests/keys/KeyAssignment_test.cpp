// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/Utf16.h"
#include "keys/AssignmentText.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyEnableMask.h"
#include "keys/KeyMapEntry.h"
#include "keys/KeyTable.h"
#include "keys/KeymapFile.h"
#include "keys/LaunchLookup.h"
#include "keys/ScratchFolder.h"
#include "macros/MacroModel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

namespace q905 {
namespace {

constexpr int kKeyQ = 42;    // code 0x51
constexpr int kKeyC = 81;    // code 0x43
constexpr int kKeyIso = 16;  // code 0xE2, which has no usage of its own
constexpr int kKeyApp = 101; // shares code 0x5D with Fn
constexpr int kKeyWin = 96;  // matrix position 6, the Windows-key lock's bit
constexpr int kKeyS1 = 108;

int positionOf(int keyIndex) {
    return KeyTable[keyIndex].matrixPosition();
}

// A keyboard as it comes from the factory: default key map, every key enabled.
class KeyAssignmentTest : public ::testing::Test {
  protected:
    KeyAssignmentTest() {
        std::ranges::copy(DefaultKeyMap, image.block(layout::kKeyMapBlock).begin());
        std::ranges::fill(image.block(layout::kKeyEnableMask), 0xFF);
        keys.table().resetKeyCodes();
        (*macros)[0].setName(u"first");
        (*macros)[0].setLoopCount(5);
        (*macros)[1].setName(u"second");
    }

    KeyMapEntry entryOf(int keyIndex) const { return keyMapEntryAt(image, positionOf(keyIndex)); }
    const KeyAssignmentRecord& record(int keyIndex) const {
        return keys.table()[static_cast<std::size_t>(keyIndex)];
    }
    std::uint8_t flag(int keyIndex) const {
        return keys.flags()[static_cast<std::size_t>(keyIndex)];
    }
    AssignResult commit(int keyIndex, const AssignmentChoice& choice) {
        return commitAssignment(keys, image, *macros, keyIndex, choice);
    }
    AssignResult assign(int keyIndex, const AssignmentChoice& choice) {
        return assignKey(keys, image, *macros, keyIndex, choice);
    }

    testing::ScratchFolder folder;
    SettingsImage image;
    KeyAssignments keys;
    std::unique_ptr<MacroList> macros = std::make_unique<MacroList>();
};

TEST_F(KeyAssignmentTest, SingleKeyOwnCodeGivesTheKeyBack) {
    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::singleKey(0x43)).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{0, 0, 0x06, 0}));
    EXPECT_EQ(record(kKeyQ).data()[0], 0x43);
    EXPECT_EQ(flag(kKeyQ), 1);
    EXPECT_EQ(describeAssignment(keys.table(), image, kKeyQ), "single C");

    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::singleKey(0x51)).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{0, 0, 0x14, 0}));
    EXPECT_EQ(record(kKeyQ).count(), 0);
    EXPECT_TRUE(std::ranges::all_of(record(kKeyQ).data(), [](auto b) { return b == 0; }));
    EXPECT_EQ(flag(kKeyQ), 0);

    // A key whose code has no usage keeps working when given its own code back.
    ASSERT_TRUE(commit(kKeyIso, AssignmentChoice::singleKey(0xE2)).ok());
    EXPECT_EQ(entryOf(kKeyIso), (KeyMapEntry{0, 0, 0x64, 0}));
    EXPECT_EQ(flag(kKeyIso), 0);
}

TEST_F(KeyAssignmentTest, MediaUsagesBecomeConsumerEntriesOnlyAsSingleKeys) {
    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::singleKey(0xAF)).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{3, 0, 0xE9, 0}));
    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::singleKey(0xB5)).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{3, 0, 0x83, 0x01}));

    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::combination({0xA2, 0xAF})).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{0, 0xE0, 0xE9, 0}));
    EXPECT_EQ(record(kKeyQ).group(), 1);
    EXPECT_EQ(record(kKeyQ).count(), 2);
    EXPECT_EQ(flag(kKeyQ), 1);
}

TEST_F(KeyAssignmentTest, OneKeyCombinationIsMarkedOnlyByRecompute) {
    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::combination({0x43})).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{0, 0x06, 0, 0}));
    EXPECT_EQ(flag(kKeyQ), 0);
    recomputeAssignedFlags(keys, image);
    EXPECT_EQ(flag(kKeyQ), 1);
}

TEST_F(KeyAssignmentTest, ResetRestoresFactoryEntriesAndKeepsInertPathBytes) {
    ASSERT_TRUE(
        commit(kKeyQ, AssignmentChoice::launch(FunctionGroup::Startup, "/usr/bin/foo")).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{10, 0, 0x51, 0}));
    EXPECT_EQ(record(kKeyQ).data()[0], 3);
    const auto pathBytes = record(kKeyQ).bytes();
    setKeyEnabled(image, positionOf(kKeyQ), false);

    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::reset()).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{0, 0, 0x14, 0}));
    EXPECT_EQ(record(kKeyQ).group(), 0);
    EXPECT_EQ(record(kKeyQ).count(), 0);
    EXPECT_TRUE(std::equal(pathBytes.begin() + record_layout::kLaunchPath.offset, pathBytes.end(),
                           record(kKeyQ).bytes().begin() + record_layout::kLaunchPath.offset));
    EXPECT_TRUE(isKeyEnabled(image, positionOf(kKeyQ)));
    EXPECT_FALSE(findLaunchAction(keys.table(), 0x51));

    for (int keyIndex : {kFnKeyIndex, kKeyS1, kKeyS1 + 4, kKeyIso}) {
        SCOPED_TRACE(keyIndex);
        setKeyMapEntry(image, positionOf(keyIndex), {4, 1, 0, 0});
        ASSERT_TRUE(commit(keyIndex, AssignmentChoice::reset()).ok());
        EXPECT_EQ(entryOf(keyIndex), defaultKeyMapEntry(positionOf(keyIndex)));
    }
    EXPECT_EQ(entryOf(kFnKeyIndex), (KeyMapEntry{2, 0, 0, 0}));
    EXPECT_EQ(entryOf(kKeyS1 + 4), (KeyMapEntry{0, 0, 0xE1, 0x08}));
}

TEST_F(KeyAssignmentTest, LaunchLookupTakesTheLowerIndexOfASharedCode) {
    ASSERT_TRUE(
        commit(kKeyApp, AssignmentChoice::launch(FunctionGroup::OpenFolder, "/home/u")).ok());
    auto action = findLaunchAction(keys.table(), 0x5D);
    ASSERT_TRUE(action);
    EXPECT_EQ(action->recordIndex, static_cast<std::size_t>(kKeyApp));
    EXPECT_EQ(action->group, FunctionGroup::OpenFolder);

    ASSERT_TRUE(
        commit(kFnKeyIndex, AssignmentChoice::launch(FunctionGroup::PlayMusic, "/m/a.mp3")).ok());
    action = findLaunchAction(keys.table(), 0x5D);
    ASSERT_TRUE(action);
    EXPECT_EQ(action->recordIndex, static_cast<std::size_t>(kFnKeyIndex));
    EXPECT_EQ(action->path, "/m/a.mp3");
    EXPECT_FALSE(findLaunchAction(keys.table(), 0x41));

    const std::string longest = "/" + std::string(254, 'p');
    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::launch(FunctionGroup::OpenFile, longest)).ok());
    EXPECT_EQ(findLaunchAction(keys.table(), 0x51)->path, longest);

    EXPECT_EQ(splitLaunchPath("/m/a.mp3").workingFolder, "/m");
    EXPECT_EQ(splitLaunchPath("/m/a.mp3").file, "a.mp3");
    EXPECT_EQ(splitLaunchPath("/a.mp3").workingFolder, "/");
    EXPECT_EQ(splitLaunchPath("a.mp3").file, "");
}

TEST_F(KeyAssignmentTest, CatalogueAndMacroChoices) {
    ASSERT_TRUE(commit(kKeyQ, AssignmentChoice::catalogue("Copy")).ok());
    EXPECT_EQ(entryOf(kKeyQ), (KeyMapEntry{0, 0xE0, 0x06, 0}));
    EXPECT_EQ(record(kKeyQ).group(), 3);
    EXPECT_EQ(record(kKeyQ).data()[1], 0xE0);

    ASSERT_TRUE(commit(kKeyC, AssignmentChoice::macro(1)).ok());
    EXPECT_EQ(entryOf(kKeyC), (KeyMapEntry{4, 1, 1, 0}));
    EXPECT_EQ(record(kKeyC).group(), 2);
    EXPECT_EQ(flag(kKeyC), 1);
    // The macros reach the device slots, loop count high byte first.
    EXPECT_EQ(image.at(layout::macroSlot(0).offset), 0);
    EXPECT_EQ(image.at(layout::macroSlot(0).offset + 1), 5);
}

TEST_F(KeyAssignmentTest, RefusedChoicesChangeNothing) {
    const auto before = std::make_unique<KeyAssignments>(keys);
    const SettingsImage imageBefore = image;
    struct Case {
        int key;
        AssignmentChoice choice;
        AssignStatus status;
    };
    AssignmentChoice noGroup = AssignmentChoice::singleKey(0x41);
    noGroup.group = FunctionGroup::None;
    const Case cases[] = {
        {17, AssignmentChoice::reset(), AssignStatus::KeyRefused},
        {19, AssignmentChoice::singleKey(0x41), AssignStatus::KeyRefused},
        {113, AssignmentChoice::singleKey(0x41), AssignStatus::KeyRefused},
        {-1, AssignmentChoice::singleKey(0x41), AssignStatus::KeyRefused},
        {kKeyQ, AssignmentChoice::catalogue(""), AssignStatus::UnknownFunction},
        {kKeyQ, AssignmentChoice::catalogue("Media"), AssignStatus::UnknownFunction},
        {kKeyQ, AssignmentChoice::macro(2), AssignStatus::InvalidChoice}, // only two macros
        {kKeyQ, AssignmentChoice::macro(kMacroSlotNone), AssignStatus::InvalidChoice},
        {kKeyQ, AssignmentChoice::singleKey(0), AssignStatus::InvalidChoice},
        {kKeyQ, AssignmentChoice::singleKey(0xE9), AssignStatus::CodeWithoutUsage},
        {kKeyQ, AssignmentChoice::combination({0xA2, 0xE2}), AssignStatus::CodeWithoutUsage},
        {kKeyQ, AssignmentChoice::combination({0x41, 0x42, 0x43, 0x44}),
         AssignStatus::InvalidChoice},
        {kKeyQ, AssignmentChoice::launch(FunctionGroup::OpenFile, "/" + std::string(255, 'x')),
         AssignStatus::PathTooLong},
        {kKeyQ, noGroup, AssignStatus::InvalidChoice},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key);
        const AssignResult result = assign(c.key, c.choice);
        EXPECT_EQ(result.status, c.status);
        EXPECT_FALSE(result.message.empty());
    }
    EXPECT_TRUE(image == imageBefore);
    EXPECT_TRUE(keys.table() == before->table());
    EXPECT_EQ(keys.flags(), before->flags());
    EXPECT_FALSE(std::filesystem::exists(keymapPath(folder.path())));
}

TEST_F(KeyAssignmentTest, AssignKeyAppliesTheEnabledFlag) {
    ASSERT_TRUE(assign(kKeyQ, AssignmentChoice::singleKey(0x51, /*enabled=*/false)).ok());
    EXPECT_FALSE(isKeyEnabled(image, positionOf(kKeyQ)));
    EXPECT_EQ(flag(kKeyQ), 1);
    EXPECT_EQ(describeAssignment(keys.table(), image, kKeyQ), "disabled");

    // RestoreDefault sets the bit, but a disabled choice clears it again.
    ASSERT_TRUE(assign(kKeyQ, AssignmentChoice::restoreDefault(false)).ok());
    EXPECT_FALSE(isKeyEnabled(image, positionOf(kKeyQ)));

    // Reset enables the key whatever the choice says.
    AssignmentChoice reset = AssignmentChoice::reset();
    reset.enabled = false;
    ASSERT_TRUE(assign(kKeyQ, reset).ok());
    EXPECT_TRUE(isKeyEnabled(image, positionOf(kKeyQ)));
    EXPECT_EQ(flag(kKeyQ), 0);
    EXPECT_EQ(describeAssignment(keys.table(), image, kKeyQ), "default");
}

TEST_F(KeyAssignmentTest, DisablingTheWindowsKeyKeepsTheLockInStep) {
    ASSERT_TRUE(assign(kKeyWin, AssignmentChoice::restoreDefault(false)).ok());
    EXPECT_EQ(image.winKeyLock(), 1);
    image.foldWinKeyLock(); // what the next apply does first
    EXPECT_FALSE(isKeyEnabled(image, positionOf(kKeyWin)));

    ASSERT_TRUE(assign(kKeyWin, AssignmentChoice::restoreDefault(true)).ok());
    EXPECT_EQ(image.winKeyLock(), 0);
    image.foldWinKeyLock();
    EXPECT_TRUE(isKeyEnabled(image, positionOf(kKeyWin)));
}

TEST_F(KeyAssignmentTest, RecomputeMarksChangedAndDisabledKeysButNeverFn) {
    setKeyMapEntry(image, positionOf(kKeyQ), {0, 0, 0x06, 0}); // as read from a keyboard
    setKeyEnabled(image, positionOf(kKeyC), false);
    ASSERT_TRUE(commit(kFnKeyIndex, AssignmentChoice::singleKey(0x41)).ok());
    ASSERT_TRUE(commit(kKeyApp, AssignmentChoice::catalogue("Search")).ok());
    keys.flags()[kKeyApp] = 0;
    recomputeAssignedFlags(keys, image);
    EXPECT_EQ(flag(kKeyQ), 1);
    EXPECT_EQ(flag(kKeyC), 1);
    EXPECT_EQ(flag(kKeyApp), 1);
    EXPECT_EQ(flag(kFnKeyIndex), 0);
    EXPECT_EQ(std::count(keys.flags().begin(), keys.flags().end(), 1), 3);
}

TEST_F(KeyAssignmentTest, DescriptionsNameWhatTheKeyDoes) {
    const std::pair<AssignmentChoice, const char*> cases[] = {
        {AssignmentChoice::combination({0xA2, 0x43}), "combo LCtrl+C"},
        {AssignmentChoice::catalogue("Play / Stop"), "function Play / Stop"},
        {AssignmentChoice::macro(1), "macro 1"},
        {AssignmentChoice::launch(FunctionGroup::Startup, "/usr/bin/foo"),
         "launch program /usr/bin/foo"},
    };
    for (const auto& [choice, text] : cases) {
        ASSERT_TRUE(commit(kKeyQ, choice).ok());
        EXPECT_EQ(describeAssignment(keys.table(), image, kKeyQ), text);
    }
    setKeyEnabled(image, positionOf(kKeyQ), false);
    EXPECT_EQ(describeAssignment(keys.table(), image, kKeyQ),
              "launch program /usr/bin/foo, disabled");
    setKeyMapEntry(image, positionOf(kKeyC), {0, 0, 0x04, 0}); // read from a keyboard
    EXPECT_EQ(describeAssignment(keys.table(), image, kKeyC), "entry 00 00 04 00");
}

} // namespace
} // namespace q905

namespace q905 {
namespace {

TEST_F(KeyAssignmentTest, ALaunchActionIsOnlyWhereTheUserCanSeeIt) {
    // A crafted file: a launch action hidden in record 200 under Q's code, while Q's own
    // record says plain key and its key map entry reports Q to the host.
    KeyAssignmentTable crafted = keys.table();
    KeyAssignmentRecord& hidden = crafted[200];
    hidden.setGroup(FunctionGroup::Startup);
    hidden.setKeyCode(KeyTable[kKeyQ].keyCode);
    ASSERT_TRUE(hidden.setLaunchPath(utf8ToUtf16("/tmp/payload.sh")));
    setKeyMapEntry(image, positionOf(kKeyQ),
                   {entry_kind::kHostAction, 0, KeyTable[kKeyQ].keyCode, 0});
    EXPECT_FALSE(findLaunchAction(crafted, KeyTable[kKeyQ].keyCode))
        << "the lookup never looks past the keys";

    takeHostStateBytes(hostStateBytes(image, crafted), &image, keys.table());
    EXPECT_EQ(keys.table()[200], KeyAssignmentRecord{});
    // The key reports itself to the host, so it shows as a launch, whatever its record says.
    EXPECT_EQ(describeAssignment(keys.table(), image, kKeyQ).rfind("launch", 0), 0u);
    recomputeAssignedFlags(keys, image);
    EXPECT_EQ(flag(kKeyQ), 1);
}

} // namespace
} // namespace q905
