// SPDX-License-Identifier: GPL-3.0-or-later
// Which key a window point hits, where arrows move across the keys, and the selection rules
// of the per-key colour view.
#include "app/KeyboardView.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace q905 {
namespace {

constexpr bool kKeymap = false;
constexpr bool kCustom = true;

TEST(keyAtPoint, OverlapsAndEmptySlotsResolveByIndexOrder) {
    // The strip shared by the Enter key's bounding box and key 74.
    EXPECT_EQ(keyAtPoint(694, 273, kCustom), 54);
    EXPECT_EQ(keyAtPoint(700, 296, kCustom), 54);
    EXPECT_EQ(keyAtPoint(701, 296, kCustom), 54);
    // Edges belong to the key: Esc spans window 371..394 x 195..218.
    EXPECT_EQ(keyAtPoint(371, 195, kKeymap), 0);
    EXPECT_EQ(keyAtPoint(394, 218, kKeymap), 0);
    EXPECT_EQ(keyAtPoint(370, 195, kKeymap), kNoKeyAtPoint);
    // The unplaced keys answer only at the picture's corner, and no caller acts on them.
    EXPECT_EQ(keyAtPoint(309, 92, kKeymap), 17);
    EXPECT_FALSE(isActionableKey(17));
    EXPECT_EQ(keyAtPoint(310, 92, kKeymap), kNoKeyAtPoint);
}

TEST(keyAtPoint, KeysThatCannotBeReassignedAreOnlyFoundInTheCustomView) {
    for (int key : {95, 96, 100, 102}) {
        const KeyEntry& entry = KeyTable[static_cast<std::size_t>(key)];
        const int x = kPictureOriginX + entry.left + 2;
        const int y = kPictureOriginY + entry.top + 2;
        EXPECT_EQ(keyAtPoint(x, y, kKeymap), kNoKeyAtPoint) << key;
        EXPECT_EQ(keyAtPoint(x, y, kCustom), key) << key;
    }
}

TEST(HoverRepaint, OnlyChangesToSomethingOtherThanAnEmptySlotRepaint) {
    EXPECT_TRUE(hoverNeedsRepaint(kNoHoverKey, 5));
    EXPECT_TRUE(hoverNeedsRepaint(5, kNoHoverKey));
    EXPECT_FALSE(hoverNeedsRepaint(5, 5));
    EXPECT_FALSE(hoverNeedsRepaint(5, 17));
}

TEST(neighbourKey, ArrowsMoveByRowAndColumnAndStopAtTheEdge) {
    EXPECT_EQ(neighbourKey(42, KeyStep::Right), 43); // Q -> W
    EXPECT_EQ(neighbourKey(42, KeyStep::Left), 41);  // Q -> Tab
    EXPECT_EQ(neighbourKey(42, KeyStep::Up), 21);    // Q -> 1, the closer of 1 and 2
    EXPECT_EQ(neighbourKey(42, KeyStep::Down), 63);  // Q -> A
    EXPECT_EQ(neighbourKey(53, KeyStep::Right), 54); // ] -> the tall Enter
    EXPECT_EQ(neighbourKey(54, KeyStep::Right), 55); // Enter -> Del
    EXPECT_EQ(neighbourKey(0, KeyStep::Up), 0);      // Esc: nothing above
    EXPECT_EQ(neighbourKey(15, KeyStep::Right), 15); // Pause: the F row ends there
    // The unplaced keys are never reached.
    for (int key = 0; key < kKeyCount; ++key) {
        if (!isActionableKey(key))
            continue;
        for (KeyStep step : {KeyStep::Left, KeyStep::Right, KeyStep::Up, KeyStep::Down})
            EXPECT_TRUE(isActionableKey(neighbourKey(key, step))) << key;
    }
}

TEST(KeySelection, AKeyboardBandSelectsTheSameKeysWhicheverWayItIsDrawn) {
    KeySelection selection;
    selection.selectBetween(63, 43); // A up to W: Q, W, A and S
    const auto forwards = selection.selected();
    selection.selectBetween(43, 63);
    EXPECT_EQ(selection.selected(), forwards);
    for (int key : {42, 43, 63, 64})
        EXPECT_TRUE(selection.isSelected(key)) << key;
    EXPECT_EQ(std::count(forwards.begin(), forwards.end(), true), 4);
    EXPECT_EQ(selection.state(), SelectionState::Armed);
    EXPECT_EQ(selection.click(0, true), KeyClickOutcome::OpenColourDialog);
}

// Window rectangle of a key, for drawing bands around it.
struct Box {
    int left, top, right, bottom;
};
Box box(int key) {
    const KeyEntry& e = KeyTable[static_cast<std::size_t>(key)];
    return {kPictureOriginX + e.left, kPictureOriginY + e.top, kPictureOriginX + e.right,
            kPictureOriginY + e.bottom};
}

TEST(BandSelection, SelectsExactlyTheKeysEntirelyInsideADownwardBand) {
    KeySelection selection;
    const Box esc = box(0);
    selection.buttonDown(esc.left, esc.top);
    EXPECT_TRUE(selection.bandMove(esc.right, esc.bottom));
    EXPECT_TRUE(selection.isSelected(0));
    EXPECT_EQ(selection.state(), SelectionState::Banded);

    // One pixel short: the key is only partly covered.
    selection.bandMove(esc.right - 1, esc.bottom);
    EXPECT_FALSE(selection.anySelected());
    EXPECT_EQ(selection.state(), SelectionState::Idle);
}

TEST(BandSelection, ABandDrawnBackwardsSelectsNothing) {
    KeySelection selection;
    const Box esc = box(0);
    selection.buttonDown(esc.right + 50, esc.bottom + 50);
    selection.bandMove(esc.left - 10, esc.top - 10);
    EXPECT_FALSE(selection.anySelected());
    EXPECT_EQ(selection.state(), SelectionState::Idle);
}

TEST(BandSelection, CoveringThePictureCornerTakesTheEmptySlots) {
    KeySelection selection;
    selection.buttonDown(300, 80);
    selection.bandMove(320, 100);
    EXPECT_TRUE(selection.isSelected(17));
    EXPECT_TRUE(selection.isSelected(18));
    EXPECT_TRUE(selection.isSelected(19));
    EXPECT_EQ(selection.state(), SelectionState::Banded);
}

TEST(BandSelection, TheJitterOfAPlainClickLeavesTheSelectionAlone) {
    KeySelection selection(4);
    const Box esc = box(0);
    selection.buttonDown(esc.left, esc.top);
    selection.bandMove(esc.right, esc.bottom);
    selection.endBand();
    selection.click(kNoKeyAtPoint, true);
    ASSERT_EQ(selection.state(), SelectionState::Armed);

    selection.buttonDown(500, 300);
    EXPECT_FALSE(selection.bandMove(502, 301));
    EXPECT_TRUE(selection.isSelected(0));
    EXPECT_EQ(selection.state(), SelectionState::Armed);
    EXPECT_TRUE(selection.bandMove(510, 300));
    EXPECT_FALSE(selection.anySelected());
}

TEST(KeyClickRules, IdleSelectsTheKeyAndOpensTheDialogWhichClearsEverything) {
    KeySelection selection;
    EXPECT_EQ(selection.click(5, true), KeyClickOutcome::OpenColourDialog);
    EXPECT_TRUE(selection.isSelected(5));
    selection.colourDialogClosed();
    EXPECT_FALSE(selection.anySelected());
    EXPECT_EQ(selection.state(), SelectionState::Idle);
}

TEST(KeyClickRules, ABandIsArmedByTheNextClickAndAppliedByTheOneAfter) {
    KeySelection selection;
    const Box esc = box(0);
    selection.buttonDown(esc.left, esc.top);
    selection.bandMove(esc.right, esc.bottom);
    selection.endBand();
    // Released on a key: armed, the clicked key is not added.
    EXPECT_EQ(selection.click(5, true), KeyClickOutcome::Nothing);
    EXPECT_EQ(selection.state(), SelectionState::Armed);
    EXPECT_FALSE(selection.isSelected(5));
    // The next click on any key colours the selection, not the clicked key.
    EXPECT_EQ(selection.click(30, true), KeyClickOutcome::OpenColourDialog);
    EXPECT_TRUE(selection.isSelected(0));
    EXPECT_FALSE(selection.isSelected(30));
}

TEST(KeyClickRules, OutsideTheCustomViewOrOnEmptySlotsAKeyClickDoesNothing) {
    KeySelection selection;
    EXPECT_EQ(selection.click(5, false), KeyClickOutcome::Nothing);
    EXPECT_EQ(selection.click(17, true), KeyClickOutcome::Nothing);
    EXPECT_FALSE(selection.anySelected());
    EXPECT_EQ(selection.click(kNoKeyAtPoint, true), KeyClickOutcome::Nothing);
    EXPECT_EQ(selection.state(), SelectionState::Idle);
}

TEST(KeyClickRules, CtrlClickTogglesAndReleasingCtrlArms) {
    KeySelection selection;
    selection.setCtrlHeld(false);
    EXPECT_EQ(selection.state(), SelectionState::Idle); // nothing selected: unchanged

    selection.setCtrlHeld(true);
    EXPECT_EQ(selection.click(5, true), KeyClickOutcome::Nothing);
    EXPECT_EQ(selection.click(6, true), KeyClickOutcome::Nothing);
    EXPECT_EQ(selection.click(5, true), KeyClickOutcome::Nothing);
    EXPECT_FALSE(selection.isSelected(5));
    EXPECT_TRUE(selection.isSelected(6));
    EXPECT_EQ(selection.state(), SelectionState::Idle);
    selection.setCtrlHeld(false);
    EXPECT_EQ(selection.state(), SelectionState::Armed);
}

} // namespace
} // namespace q905
