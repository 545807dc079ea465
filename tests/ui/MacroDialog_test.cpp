// The macro dialog, clicked at its places: recording, the list of macros, the loop and delay
// boxes, the event list's commands and the ways it closes, checked in the records it leaves.
#include "MainWindowHarness.h"

#include "controls/ui/InPlaceEditor.h"
#include "controls/ui/SkinListBox.h"
#include "macros/KeyNameTable.h"
#include "macros/MacroListEditing.h"
#include "macros/MacroTestSupport.h"
#include "macros/ui/MacroDialog.h"
#include "support/FakeKeyboardLayout.h"

#include <QLineEdit>
#include <QMenu>

namespace q905 {
namespace {

using testing::Bytes;

constexpr QPoint kRecord{310, 112};
constexpr QPoint kDelayBox{345, 175};
constexpr QPoint kLoopBox{272, 322};
constexpr QPoint kNew{48, 380};
constexpr QPoint kDelete{108, 380};
constexpr QPoint kOk{278, 380};
constexpr QPoint kCancel{338, 380};
constexpr QPoint kCloseMark{373, 11};

Bytes deviceBytes(const MacroRecord& record, std::size_t count) {
    const auto events = record.deviceEvents();
    return {events.bytes().begin(), events.bytes().begin() + count};
}

QStringList rows(const SkinListBox* list) {
    return list->rowTexts();
}

class MacroDialogTest : public ::testing::Test {
  protected:
    MacroDialog& open(Language language = Language::English) {
        dialog = std::make_unique<MacroDialog>(skin, language, *macros, clock, hook, dialogs);
        dialog->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
        return *dialog;
    }
    void click(QPoint at) { QTest::mouseClick(dialog.get(), Qt::LeftButton, {}, at); }
    // A macro with one tap of key code, named.
    void addMacro(const char16_t* name, std::uint8_t code) {
        const int index = *appendMacro(*macros, name);
        EventSequence device, key;
        ASSERT_TRUE(device.insert(0, encodeEvent(false, 1, usageOf(code))));
        ASSERT_TRUE(device.insert(2, encodeEvent(true, 1, usageOf(code))));
        ASSERT_TRUE(key.insert(0, encodeEvent(false, 1, code)));
        ASSERT_TRUE(key.insert(2, encodeEvent(true, 1, code)));
        ASSERT_EQ(commitMacro(*macros, index, name, false, "1", false, device, key),
                  CommitResult::Stored);
    }
    void tap(std::uint8_t code) {
        dialog->hookKey(code, false);
        dialog->hookKey(code, true);
    }
    const MacroRecord& working(int index) { return dialog->workingList()[index]; }
    QPoint rowCentre(SkinListBox* list, int row) {
        return list->visualItemRect(list->item(row)).center();
    }
    // Double-clicks a row and types into the editor that opens; Enter commits.
    void editRow(SkinListBox* list, int row, const QString& text) {
        dialog->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, rowCentre(list, row));
        ASSERT_NE(list->editor(), nullptr);
        QTest::keyClicks(list->editor(), text);
        QTest::keyClick(list->editor(), Qt::Key_Return);
    }

    SkinCache skin{QStringLiteral(Q905_SKIN_DIR "/png/english")};
    std::unique_ptr<MacroList> macros = std::make_unique<MacroList>();
    testing::ManualClock clock;
    testing::FakeHook hook;
    testing::AnsweringDialogs dialogs;
    std::unique_ptr<MacroDialog> dialog;
};

TEST_F(MacroDialogTest, RecordsWithAndWithoutDelaysWithinTheLimits) {
    open();
    click(kRecord);
    ASSERT_EQ(dialogs.told.size(), 1u) << "no macro selected";
    EXPECT_TRUE(dialogs.told[0].startsWith("Macro Management | Select a Macro file to record"));

    click(kNew);
    EXPECT_EQ(rows(dialog->nameList()), QStringList{"Macro_001"});
    EXPECT_EQ(dialog->nameList()->selectedRow(), 0);
    click(kRecord);
    EXPECT_TRUE(hook.installed);
    EXPECT_EQ(hook.lastMode, kHookModeMacro);
    dialog->hookKey(0x41, false);
    dialog->hookKey(0x41, false); // a held key repeats: one press
    dialog->hookKey(0x41, true);
    click(kRecord);
    EXPECT_FALSE(hook.installed);
    EXPECT_EQ(rows(dialog->eventList()), (QStringList{"A  dn", "A  up"}));
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0x81, 0x04, 0, 0}));

    // With measured delays: the first press waits for nothing, the release 80 ms.
    click(kNew);
    click(kDelayBox);
    click(kRecord);
    dialog->hookKey(0x41, false);
    clock.advance(std::chrono::microseconds(80'900));
    dialog->hookKey(0x41, true);
    EXPECT_EQ(rows(dialog->eventList()), (QStringList{"A  dn", "80 ms", "A  up"}));
    EXPECT_EQ(deviceBytes(working(1), 4), (Bytes{0x01, 0x04, 0xD0, 0x04}));
    EXPECT_TRUE(working(1).hasDelay());
    EXPECT_EQ(dialog->eventList()->selectedRow(), 2) << "the last recorded row";

    // Alternating keys until the macro is full: presses stop at 184, releases at 188.
    click(kRecord);
    click(kDelayBox);
    click(kRecord);
    for (int i = 0; i < 60; ++i)
        tap(i % 2 == 0 ? 0x41 : 0x42);
    EXPECT_EQ(dialog->workingMacro().writePos(), 94u * 2);
    EXPECT_EQ(dialog->eventList()->count(), 94);

    click(kOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->editsSaved());
    EXPECT_FALSE(hook.installed);
    EXPECT_EQ(*macros, dialog->workingList());
}

TEST_F(MacroDialogTest, ListsKeysAsTheLayoutNamesThemAndRecordsTheKeyPressed) {
    const testing::GermanLikeLayout layout;
    open().setKeyboardLayout(&layout);
    click(kNew);
    click(kDelayBox);
    click(kRecord);
    dialog->hookKey('Z', false);
    clock.advance(std::chrono::milliseconds(60));
    dialog->hookKey('Z', true);
    click(kRecord);
    EXPECT_EQ(rows(dialog->eventList()), (QStringList{"Y  dn", "60 ms", "Y  up"}));
    EXPECT_EQ(deviceBytes(working(0), 2), (Bytes{0x01, usageOf('Z')}));
    EXPECT_EQ(working(0).keyEvents().bytes()[1], 'Z');
}

TEST_F(MacroDialogTest, DeleteShiftsTheRecordsAndNewTakesTheFreedName) {
    addMacro(u"Macro_001", 0x41);
    addMacro(u"Macro_002", 0x42);
    addMacro(u"Macro_003", 0x43);
    open();
    EXPECT_EQ(dialog->nameList()->selectedRow(), 0);
    EXPECT_EQ(rows(dialog->eventList()), (QStringList{"A  dn", "A  up"}));

    dialog->nameList()->selectRow(1);
    click(kDelete); // the question is answered with Cancel
    EXPECT_EQ(dialog->nameList()->count(), 3);
    dialogs.answerOk = true;
    click(kDelete);
    EXPECT_EQ(rows(dialog->nameList()), (QStringList{"Macro_001", "Macro_003"}));
    EXPECT_EQ(dialog->nameList()->selectedRow(), 1);
    EXPECT_EQ(rows(dialog->eventList()), (QStringList{"C  dn", "C  up"}));
    EXPECT_EQ(working(1).name(), u"Macro_003");
    EXPECT_TRUE(working(2).isFree());

    click(kNew);
    EXPECT_EQ(rows(dialog->nameList()), (QStringList{"Macro_001", "Macro_003", "Macro_002"}));
    EXPECT_EQ(dialog->nameList()->selectedRow(), 2);
    EXPECT_TRUE(dialog->eventList()->count() == 0);
    click(kOk);

    // The slots follow the list: slot 1 plays what was the third macro.
    SettingsImage image;
    fillMacroSlots(*macros, image);
    const auto slot1 = image.block(layout::macroSlot(1));
    EXPECT_EQ(Bytes(slot1.begin(), slot1.begin() + 4), (Bytes{0x00, 0x01, 0x01, usageOf(0x43)}));
    const auto slot2 = image.block(layout::macroSlot(2));
    EXPECT_EQ(Bytes(slot2.begin(), slot2.begin() + 3), (Bytes{0x00, 0x01, 0x00}));

    // Deleting every macro leaves nothing selected and no events.
    open();
    for (int i = 0; i < 3; ++i)
        click(kDelete);
    EXPECT_EQ(dialog->nameList()->count(), 0);
    EXPECT_EQ(dialog->eventList()->count(), 0);
    const std::size_t questions = dialogs.asked.size();
    click(kDelete);
    EXPECT_TRUE(dialogs.told.back().contains("Please select a Macro file to delete"));
    EXPECT_EQ(dialogs.asked.size(), questions) << "no question about deleting nothing";
}

TEST_F(MacroDialogTest, LoopBoxAndTheWaysToClose) {
    addMacro(u"Tap", 0x41);
    open();
    QLineEdit* loop = dialog->loopBox();
    EXPECT_FALSE(loop->isEnabled());
    click(kLoopBox);
    EXPECT_TRUE(loop->isEnabled());
    loop->clear();
    EXPECT_EQ(loop->text(), "1") << "an empty box becomes 1";
    loop->selectAll();
    QTest::keyClicks(loop, "0");
    EXPECT_EQ(loop->text(), "1") << "0 becomes 1";
    loop->selectAll();
    QTest::keyClicks(loop, "1234");
    EXPECT_EQ(loop->text(), "123") << "three digits at most";
    EXPECT_EQ(working(0).loopCount(), 123);
    click(kLoopBox);
    EXPECT_FALSE(loop->isEnabled());
    EXPECT_EQ(loop->text(), "1");
    EXPECT_EQ(working(0).loopCount(), 1) << "Loop off stores 1";

    // Enter and Esc do not close the dialog.
    QTest::keyClick(dialog.get(), Qt::Key_Return);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_TRUE(dialog->isVisible());

    // Cancel and the close mark leave the program's list as it was.
    const MacroList before = *macros;
    click(kNew);
    click(kCancel);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(*macros, before);
    open();
    click(kNew);
    click(kCloseMark);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog->editsSaved());
    EXPECT_EQ(*macros, before);
}

TEST_F(MacroDialogTest, RenameReachesTheRecordAndAnEmptyNameIsRefused) {
    addMacro(u"Tap", 0x41);
    open();
    click(kRecord); // the edit's start stops the recording
    dialog->hookKey(0x41, false);
    const EventSequence events = working(0).keyEvents();
    editRow(dialog->nameList(), 0, QStringLiteral("Greeting"));
    EXPECT_EQ(working(0).name(), u"Greeting");
    EXPECT_EQ(working(0).keyEvents(), events);
    EXPECT_FALSE(dialog->workingMacro().recording());
    EXPECT_FALSE(hook.installed);
    EXPECT_TRUE(dialog->isVisible()) << "Enter ends the edit, not the dialog";

    dialog->hookKey(0x42, false); // stores the macro under its new name
    EXPECT_EQ(working(0).name(), u"Greeting");

    dialog->activateWindow();
    QTest::mouseDClick(dialog->nameList()->viewport(), Qt::LeftButton, {},
                       rowCentre(dialog->nameList(), 0));
    ASSERT_NE(dialog->nameList()->editor(), nullptr);
    dialog->nameList()->editor()->clear();
    QTest::keyClick(dialog->nameList()->editor(), Qt::Key_Return);
    EXPECT_EQ(rows(dialog->nameList()), QStringList{"Greeting"});
    EXPECT_EQ(working(0).name(), u"Greeting");
}

TEST_F(MacroDialogTest, EventListCommands) {
    addMacro(u"Tap", 0x41);
    open();
    SkinListBox* events = dialog->eventList();

    events->selectRow(0);
    dialog->runMenuCommand(kMenuInsertDelay);
    EXPECT_EQ(rows(events), (QStringList{"A  dn", "50 ms", "A  up"}));
    EXPECT_EQ(deviceBytes(working(0), 4), (Bytes{0x01, 0x04, 0xB2, 0x04}));
    events->selectRow(1);
    dialog->runMenuCommand(kMenuInsertDelay);
    EXPECT_TRUE(dialogs.told.back().startsWith("Macro Management | Please edit current delay"));

    // The in-place delay edit: 500 ms needs the extended form.
    editRow(events, 1, QStringLiteral("500"));
    EXPECT_EQ(rows(events), (QStringList{"A  dn", "500 ms", "A  up"}));
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0xFF, 0x04, 0x01, 0xF4}));
    events->selectRow(1);
    dialog->runMenuCommand(kMenuDeleteEvent);
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0x81, 0x04, 0, 0}));

    events->selectRow(0);
    dialog->runMenuCommand(kMenuLeftClick);
    EXPECT_EQ(rows(events), (QStringList{"A  dn", "MsLB dn", "MsLB up", "A  up"}));
    events->selectRow(3);
    dialog->runMenuCommand(kMenuRightDown);
    events->selectRow(4);
    dialog->runMenuCommand(kMenuMiddleUp);
    EXPECT_EQ(deviceBytes(working(0), 12),
              (Bytes{0x01, 0x04, 0x01, 0xF0, 0x81, 0xF0, 0x81, 0x04, 0x01, 0xF1, 0x81, 0xF2}));
    events->selectRow(0);
    dialog->runMenuCommand(kMenuDeleteEvent);
    EXPECT_EQ(rows(events).first(), "MsLB dn");

    // Record Before and After take one key each; its release gives the hook back.
    events->selectRow(0);
    dialog->runMenuCommand(kMenuRecordBefore);
    EXPECT_TRUE(hook.installed);
    tap(0x42);
    EXPECT_FALSE(hook.installed);
    EXPECT_EQ(rows(events).mid(0, 3), (QStringList{"B  dn", "B  up", "MsLB dn"}));
    events->selectRow(0);
    dialog->runMenuCommand(kMenuRecordAfter);
    tap(0x43);
    EXPECT_EQ(rows(events).mid(0, 4), (QStringList{"B  dn", "C  dn", "C  up", "B  up"}));
    EXPECT_EQ(working(0).keyEvents().bytes()[2], 0x01);
    EXPECT_EQ(working(0).keyEvents().bytes()[3], 0x43);
}

TEST_F(MacroDialogTest, ADelayThatDoesNotFitIsRefusedAndTheRowShowsWhatIsStored) {
    // A 50 ms release, then presses and releases up to the 190 bytes.
    Bytes keys{0x01, 0x41, 0xB2, 0x41};
    while (keys.size() < kEventSequenceSize)
        keys.insert(keys.end(), {std::uint8_t(keys.size() % 4 == 0 ? 0x01 : 0x81), 0x42});
    EventSequence key{keys}, device{keys};
    for (const MacroEvent& event : key.events())
        device[event.offset + 1] = usageOf(event.key);
    const int index = *appendMacro(*macros, u"Full");
    ASSERT_EQ(commitMacro(*macros, index, u"Full", false, "1", true, device, key),
              CommitResult::Stored);

    open(Language::German);
    ASSERT_EQ(rows(dialog->eventList())[1], "50 ms");
    editRow(dialog->eventList(), 1, QStringLiteral("500"));
    EXPECT_EQ(rows(dialog->eventList())[1], "50 ms");
    EXPECT_EQ(working(0).keyEvents(), key);
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_EQ(dialogs.told[0], QString::fromUtf8("Macro Management | Das Macro ist voll: diese "
                                                 "Änderung passt nicht in seine 190 Bytes."));
}

TEST_F(MacroDialogTest, EveryMouseCommandInsertsItsButtonAfterTheSelectedRow) {
    addMacro(u"Tap", 0x41);
    open();
    SkinListBox* events = dialog->eventList();
    const std::pair<int, QStringList> commands[] = {
        {kMenuLeftDown, {"MsLB dn"}},
        {kMenuLeftUp, {"MsLB up"}},
        {kMenuLeftClick, {"MsLB dn", "MsLB up"}},
        {kMenuRightDown, {"MsRB dn"}},
        {kMenuRightUp, {"MsRB up"}},
        {kMenuRightClick, {"MsRB dn", "MsRB up"}},
        {kMenuMiddleDown, {"MsMB dn"}},
        {kMenuMiddleUp, {"MsMB up"}},
        {kMenuMiddleClick, {"MsMB dn", "MsMB up"}},
    };
    for (const auto& [command, inserted] : commands) {
        events->selectRow(0);
        dialog->runMenuCommand(command);
        EXPECT_EQ(rows(events).mid(1, inserted.size()), inserted) << command;
        EXPECT_EQ(rows(events).last(), "A  up") << command;
    }
    EXPECT_EQ(dialog->workingMacro().writePos(), 2u * (2 + 12));
    EXPECT_EQ(working(0).keyEvents(), dialog->workingMacro().keyEvents());
}

TEST_F(MacroDialogTest, TextsInBothLanguages) {
    open(Language::German);
    QStringList texts;
    auto menu = dialog->buildEventMenu();
    for (QAction* action : menu->actions())
        texts << action->text();
    menu.reset();
    EXPECT_EQ(texts, (QStringList{"Vorher aufnehmen", "Nachher aufnehmen", "Maus Funktion umdrehen",
                                  QString::fromUtf8("Verzögerung einfügen"),
                                  QString::fromUtf8("Löschen")}));
    click(kRecord);
    EXPECT_EQ(dialogs.told.back(),
              "Macro Management | " + QString::fromUtf8("Wähle ein Macro zum aufnehmen aus"));
    open(Language::English);
    texts.clear();
    menu = dialog->buildEventMenu();
    for (QAction* action : menu->actions()[2]->menu()->actions()[0]->menu()->actions())
        texts << action->text();
    EXPECT_EQ(texts, (QStringList{"Down", "Up", "Click"}));
}

} // namespace
} // namespace q905
