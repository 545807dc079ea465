// SPDX-License-Identifier: GPL-3.0-or-later
// The macro dialog, clicked at its places and used with the keyboard alone: recording, the list
// of macros, the loop and delay boxes, the event list's commands and the ways it closes, checked
// in the records it leaves; and what a screen reader finds in it.
#include "MainWindowHarness.h"

#include "controls/ui/InPlaceEditor.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/SkinListBox.h"
#include "macros/KeyNameTable.h"
#include "macros/MacroDialogControls.h"
#include "macros/MacroFile.h"
#include "macros/MacroListEditing.h"
#include "macros/MacroTestSupport.h"
#include "macros/ui/MacroDialog.h"
#include "support/ControlChecks.h"
#include "support/FakeKeyboardLayout.h"
#include "support/ShownEventRows.h"

#include <QAccessible>
#include <QLineEdit>
#include <QMenu>
#include <QScreen>
#include <QTimer>

namespace q905 {
namespace {

using testing::Bytes;
namespace md = macro_dialog;

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
    return list->objectName() == "events" ? test::shownEventRows(list) : list->rowTexts();
}

// A key as the window system delivers it, with its scan code (evdev + 8) for the key capture.
// timestamp: the window system's time of the key (ms); 0 when it gives none.
void sendKey(QWidget* target, QEvent::Type type, Qt::Key key, int evdevCode,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier, bool repeat = false,
             quint64 timestamp = 0) {
    QKeyEvent event(type, key, modifiers, quint32(evdevCode + 8), 0, 0, QString(), repeat);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(target, &event);
}
void typeKey(QWidget* target, Qt::Key key, int evdevCode) {
    sendKey(target, QEvent::KeyPress, key, evdevCode);
    sendKey(target, QEvent::KeyRelease, key, evdevCode);
}
QWidget* keyTarget(QWidget* dialog) {
    return QApplication::focusWidget() ? QApplication::focusWidget() : dialog;
}
// Tab until the control has the focus; false when a round did not reach it.
bool tabTo(MacroDialog& dialog, md::Control control) {
    for (std::size_t i = 0; i <= md::kControls.size(); ++i) {
        if (dialog.focusedControl() == control)
            return true;
        QTest::keyClick(keyTarget(&dialog), Qt::Key_Tab);
    }
    return false;
}

class MacroDialogTest : public ::testing::Test {
  protected:
    MacroDialog& open(Language language = Language::English) {
        dialog = std::make_unique<MacroDialog>(skin, language, *macros, clock, capture, dialogs);
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
        dialog->keyCaptured(code, false);
        dialog->keyCaptured(code, true);
    }
    const MacroRecord& working(int index) { return dialog->workingList()[index]; }
    SkinListBox* names() const { return dialog->findChild<SkinListBox*>("names"); }
    SkinListBox* events() const { return dialog->findChild<SkinListBox*>("events"); }
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
    testing::FakeKeyCapture capture;
    testing::AnsweringDialogs dialogs;
    std::unique_ptr<MacroDialog> dialog;
};

TEST_F(MacroDialogTest, RecordsWithAndWithoutDelaysWithinTheLimits) {
    open();
    click(kRecord);
    ASSERT_EQ(dialogs.told.size(), 1u) << "no macro selected";
    EXPECT_TRUE(dialogs.told[0].startsWith("Macro Management | Select a Macro file to record"));

    click(kNew);
    EXPECT_EQ(rows(names()), QStringList{"Macro_001"});
    EXPECT_EQ(names()->selectedRow(), 0);
    click(kRecord);
    EXPECT_TRUE(capture.installed);
    EXPECT_EQ(capture.lastMode, KeyCaptureMode::Macro);
    dialog->keyCaptured(0x41, false);
    dialog->keyCaptured(0x41, false); // a held key repeats: one press
    dialog->keyCaptured(0x41, true);
    click(kRecord);
    EXPECT_FALSE(capture.installed);
    EXPECT_EQ(rows(events()), (QStringList{"A dn", "A up"}));
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0x81, 0x04, 0, 0}));

    // With measured delays: the first press waits for nothing, the release 80 ms.
    click(kNew);
    click(kDelayBox);
    click(kRecord);
    dialog->keyCaptured(0x41, false);
    clock.advance(std::chrono::microseconds(80'900));
    dialog->keyCaptured(0x41, true);
    EXPECT_EQ(rows(events()), (QStringList{"A dn", "80 ms", "A up"}));
    EXPECT_EQ(deviceBytes(working(1), 4), (Bytes{0x01, 0x04, 0xD0, 0x04}));
    EXPECT_TRUE(working(1).hasDelay());
    EXPECT_EQ(events()->selectedRow(), 2) << "the last recorded row";

    // Alternating keys until the macro is full: presses stop at 184, releases at 188.
    click(kRecord);
    click(kDelayBox);
    click(kRecord);
    for (int i = 0; i < 60; ++i)
        tap(i % 2 == 0 ? 0x41 : 0x42);
    EXPECT_EQ(dialog->workingMacro().writePos(), 94u * 2);
    EXPECT_EQ(events()->count(), 94);

    click(kOk);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(dialog->editsSaved());
    EXPECT_FALSE(capture.installed);
    EXPECT_EQ(*macros, dialog->workingList());
}

TEST_F(MacroDialogTest, ListsKeysAsTheLayoutNamesThemAndRecordsTheKeyPressed) {
    const testing::GermanLikeLayout layout;
    open().setKeyboardLayout(&layout);
    click(kNew);
    click(kDelayBox);
    click(kRecord);
    dialog->keyCaptured('Z', false);
    clock.advance(std::chrono::milliseconds(60));
    dialog->keyCaptured('Z', true);
    click(kRecord);
    EXPECT_EQ(rows(events()), (QStringList{"Y dn", "60 ms", "Y up"}));
    EXPECT_EQ(deviceBytes(working(0), 2), (Bytes{0x01, usageOf('Z')}));
    EXPECT_EQ(working(0).keyEvents().bytes()[1], 'Z');
}

TEST_F(MacroDialogTest, DeleteShiftsTheRecordsAndNewTakesTheFreedName) {
    addMacro(u"Macro_001", 0x41);
    addMacro(u"Macro_002", 0x42);
    addMacro(u"Macro_003", 0x43);
    open();
    EXPECT_EQ(names()->selectedRow(), 0);
    EXPECT_EQ(rows(events()), (QStringList{"A dn", "A up"}));

    names()->selectRow(1);
    click(kDelete); // the question is answered with Cancel
    EXPECT_EQ(names()->count(), 3);
    dialogs.answerOk = true;
    click(kDelete);
    EXPECT_EQ(rows(names()), (QStringList{"Macro_001", "Macro_003"}));
    EXPECT_EQ(names()->selectedRow(), 1);
    EXPECT_EQ(rows(events()), (QStringList{"C dn", "C up"}));
    EXPECT_EQ(working(1).name(), u"Macro_003");
    EXPECT_TRUE(working(2).isFree());

    click(kNew);
    EXPECT_EQ(rows(names()), (QStringList{"Macro_001", "Macro_003", "Macro_002"}));
    EXPECT_EQ(names()->selectedRow(), 2);
    EXPECT_TRUE(events()->count() == 0);
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
    EXPECT_EQ(names()->count(), 0);
    EXPECT_EQ(events()->count(), 0);
    const std::size_t questions = dialogs.asked.size();
    click(kDelete);
    EXPECT_TRUE(dialogs.told.back().contains("Please select a Macro file to delete"));
    EXPECT_EQ(dialogs.asked.size(), questions) << "no question about deleting nothing";
}

TEST_F(MacroDialogTest, LoopBoxAndTheWaysToClose) {
    addMacro(u"Tap", 0x41);
    open();
    QLineEdit* loop = dialog->findChild<QLineEdit*>("loop");
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

    // Cancel, Esc and the close mark leave the program's list as it was.
    const MacroList before = *macros;
    click(kNew);
    click(kCancel);
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(*macros, before);
    open();
    click(kNew);
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(keyTarget(dialog.get()), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
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
    dialog->keyCaptured(0x41, false);
    const EventSequence events = working(0).keyEvents();
    editRow(names(), 0, QStringLiteral("Greeting"));
    EXPECT_EQ(working(0).name(), u"Greeting");
    EXPECT_EQ(working(0).keyEvents(), events);
    EXPECT_FALSE(dialog->workingMacro().recording());
    EXPECT_FALSE(capture.installed);
    EXPECT_TRUE(dialog->isVisible()) << "Enter ends the edit, not the dialog";

    dialog->keyCaptured(0x42, false); // stores the macro under its new name
    EXPECT_EQ(working(0).name(), u"Greeting");

    dialog->activateWindow();
    QTest::mouseDClick(names()->viewport(), Qt::LeftButton, {}, rowCentre(names(), 0));
    ASSERT_NE(names()->editor(), nullptr);
    names()->editor()->clear();
    QTest::keyClick(names()->editor(), Qt::Key_Return);
    EXPECT_EQ(rows(names()), QStringList{"Greeting"});
    EXPECT_EQ(working(0).name(), u"Greeting");
}

TEST_F(MacroDialogTest, EventListCommands) {
    addMacro(u"Tap", 0x41);
    open();
    SkinListBox* events = this->events();

    events->selectRow(0);
    dialog->runMenuCommand(EventMenuCommand::InsertDelay);
    EXPECT_EQ(rows(events), (QStringList{"A dn", "50 ms", "A up"}));
    EXPECT_EQ(deviceBytes(working(0), 4), (Bytes{0x01, 0x04, 0xB2, 0x04}));
    events->selectRow(1);
    dialog->runMenuCommand(EventMenuCommand::InsertDelay);
    EXPECT_TRUE(dialogs.told.back().startsWith("Macro Management | Please edit current delay"));

    // The in-place delay edit: 500 ms needs the extended form.
    editRow(events, 1, QStringLiteral("500"));
    EXPECT_EQ(rows(events), (QStringList{"A dn", "500 ms", "A up"}));
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0xFF, 0x04, 0x01, 0xF4}));
    events->selectRow(1);
    dialog->runMenuCommand(EventMenuCommand::DeleteEvent);
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0x81, 0x04, 0, 0}));

    events->selectRow(0);
    dialog->runMenuCommand(EventMenuCommand::LeftClick);
    EXPECT_EQ(rows(events), (QStringList{"A dn", "MsLB dn", "MsLB up", "A up"}));
    events->selectRow(3);
    dialog->runMenuCommand(EventMenuCommand::RightDown);
    events->selectRow(4);
    dialog->runMenuCommand(EventMenuCommand::MiddleUp);
    EXPECT_EQ(deviceBytes(working(0), 12),
              (Bytes{0x01, 0x04, 0x01, 0xF0, 0x81, 0xF0, 0x81, 0x04, 0x01, 0xF1, 0x81, 0xF2}));
    events->selectRow(0);
    dialog->runMenuCommand(EventMenuCommand::DeleteEvent);
    EXPECT_EQ(rows(events).first(), "MsLB dn");

    // Record Before and After take one key each; its release stops the capture.
    events->selectRow(0);
    dialog->runMenuCommand(EventMenuCommand::RecordBefore);
    EXPECT_TRUE(capture.installed);
    tap(0x42);
    EXPECT_FALSE(capture.installed);
    EXPECT_EQ(rows(events).mid(0, 3), (QStringList{"B dn", "B up", "MsLB dn"}));
    events->selectRow(0);
    dialog->runMenuCommand(EventMenuCommand::RecordAfter);
    tap(0x43);
    EXPECT_EQ(rows(events).mid(0, 4), (QStringList{"B dn", "C dn", "C up", "B up"}));
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
    ASSERT_EQ(rows(events())[1], "50 ms");
    editRow(events(), 1, QStringLiteral("500"));
    EXPECT_EQ(rows(events())[1], "50 ms");
    EXPECT_EQ(working(0).keyEvents(), key);
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_EQ(dialogs.told[0], QString::fromUtf8("Macro Management | Das Macro ist voll: diese "
                                                 "Änderung passt nicht in seine 190 Bytes."));
}

TEST_F(MacroDialogTest, EveryMouseCommandInsertsItsButtonAfterTheSelectedRow) {
    addMacro(u"Tap", 0x41);
    open();
    SkinListBox* events = this->events();
    const std::pair<EventMenuCommand, QStringList> commands[] = {
        {EventMenuCommand::LeftDown, {"MsLB dn"}},
        {EventMenuCommand::LeftUp, {"MsLB up"}},
        {EventMenuCommand::LeftClick, {"MsLB dn", "MsLB up"}},
        {EventMenuCommand::RightDown, {"MsRB dn"}},
        {EventMenuCommand::RightUp, {"MsRB up"}},
        {EventMenuCommand::RightClick, {"MsRB dn", "MsRB up"}},
        {EventMenuCommand::MiddleDown, {"MsMB dn"}},
        {EventMenuCommand::MiddleUp, {"MsMB up"}},
        {EventMenuCommand::MiddleClick, {"MsMB dn", "MsMB up"}},
    };
    for (const auto& [command, inserted] : commands) {
        events->selectRow(0);
        dialog->runMenuCommand(command);
        EXPECT_EQ(rows(events).mid(1, inserted.size()), inserted) << static_cast<int>(command);
        EXPECT_EQ(rows(events).last(), "A up") << static_cast<int>(command);
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

TEST_F(MacroDialogTest, EveryControlIsAccessibleAndNamedInBothLanguages) {
    addMacro(u"Tap", 0x41);
    for (Language language : {Language::English, Language::German}) {
        open(language);
        test::expectEveryControlAccessible(*dialog);
    }
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(dialog.get());
    const auto child = [root](md::Control control) { return root->child(control); };
    EXPECT_EQ(child(md::kDelayBox)->text(QAccessible::Name),
              QString::fromUtf8("Verzögerung zwischen Tastenanschlägen"));
    EXPECT_EQ(child(md::kNameList)->object(), dialog->findChild<SkinListBox*>("names"));
    EXPECT_EQ(child(md::kNameList)->text(QAccessible::Name), "Makros");
    EXPECT_TRUE(child(md::kLoopCount)->state().disabled) << "until Loop is ticked";
    EXPECT_FALSE(child(md::kDelayBox)->state().checked);
    child(md::kDelayBox)->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_TRUE(child(md::kDelayBox)->state().checked);
    child(md::kRecord)->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(child(md::kRecord)->text(QAccessible::Name), "Aufnahme stoppen");
}

TEST_F(MacroDialogTest, TabVisitsTheControlsInOrderAndTheMarkShowsWhere) {
    addMacro(u"Tap", 0x41);
    open();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    ASSERT_EQ(dialog->focusedControl(), md::kNameList);
    const auto round = [this](std::size_t stops) {
        std::vector<int> visited;
        for (std::size_t i = 0; i < stops; ++i) {
            QTest::keyClick(keyTarget(dialog.get()), Qt::Key_Tab);
            visited.push_back(dialog->focusedControl().value_or(-1));
        }
        return visited;
    };
    // The loop count takes the focus only while Loop is ticked.
    EXPECT_EQ(round(9),
              (std::vector<int>{md::kEventList, md::kRecord, md::kDelayBox, md::kLoopBox, md::kNew,
                                md::kDelete, md::kOk, md::kCancel, md::kNameList}));
    ASSERT_TRUE(tabTo(*dialog, md::kLoopBox));
    QTest::keyClick(dialog.get(), Qt::Key_Space);
    EXPECT_EQ(round(2), (std::vector<int>{md::kLoopCount, md::kNew}));
    QTest::keyClick(keyTarget(dialog.get()), Qt::Key_Backtab);
    EXPECT_EQ(dialog->focusedControl(), md::kLoopCount);
    ASSERT_TRUE(tabTo(*dialog, md::kRecord));
    EXPECT_TRUE(test::focusMarkDrawnAround(dialog.get(), toQRect(md::placeOf(md::kRecord))));
}

// What the dialog last put on the screen, once the paints it asked for are done: a grab would
// paint afresh and show a mark the dialog never repainted.
QImage shownFrame(QWidget* window) {
    QCoreApplication::sendPostedEvents();
    return window->screen()->grabWindow(window->winId()).toImage();
}

TEST_F(MacroDialogTest, TheMarkStaysOnTheNameListThroughAnF2Rename) {
    addMacro(u"Tap", 0x41);
    open();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    QTest::keyClick(keyTarget(dialog.get()), Qt::Key_Tab);
    QTest::keyClick(keyTarget(dialog.get()), Qt::Key_Backtab);
    ASSERT_EQ(QApplication::focusWidget(), names());
    const QRect list = toQRect(md::placeOf(md::kNameList));
    ASSERT_TRUE(test::focusMarkDrawnAround(shownFrame(dialog.get()), list));

    QTest::keyClick(names(), Qt::Key_F2);
    ASSERT_NE(names()->editor(), nullptr);
    // The event loop runs while the user types: the dialog repaints with the editor focused.
    EXPECT_TRUE(test::focusMarkDrawnAround(shownFrame(dialog.get()), list)) << "while editing";
    names()->editor()->selectAll();
    QTest::keyClicks(names()->editor(), "Greeting");
    QTest::keyClick(names()->editor(), Qt::Key_Return);
    EXPECT_EQ(working(0).name(), u"Greeting");
    EXPECT_EQ(QApplication::focusWidget(), names());
    EXPECT_TRUE(test::focusMarkDrawnAround(shownFrame(dialog.get()), list)) << "after the edit";
}

// Keys in the lists: Delete and F2 on an event row, and the event menu from the keyboard at the
// selected row.
TEST_F(MacroDialogTest, TheEventListsKeysDeleteEditAndOpenTheMenu) {
    addMacro(u"Tap", 0x41);
    open();
    dialog->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    SkinListBox* events = this->events();
    events->setFocus();
    events->selectRow(0);
    dialog->runMenuCommand(EventMenuCommand::InsertDelay);
    QTest::keyClick(events, Qt::Key_Down);
    ASSERT_EQ(events->selectedRow(), 1);
    QTest::keyClick(events, Qt::Key_F2);
    ASSERT_NE(events->editor(), nullptr);
    events->editor()->selectAll();
    QTest::keyClicks(events->editor(), "300");
    QTest::keyClick(events->editor(), Qt::Key_Return);
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0xFF, 0x04, 0x01, 0x2C}));
    EXPECT_TRUE(dialog->isVisible()) << "Enter ended the edit only";

    QTest::keyClick(events, Qt::Key_Delete);
    EXPECT_EQ(deviceBytes(working(0), 6), (Bytes{0x01, 0x04, 0x81, 0x04, 0, 0}));

    int menus = 0;
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QTimer::singleShot(0, [&menus] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            EXPECT_EQ(menu->objectName(), "eventMenu");
            ++menus;
            menu->close();
        });
        QTest::keyClick(events, key, modifiers);
    }
    EXPECT_EQ(menus, 2);
}

class MacroDialogKeyboard : public ::testing::Test {
  protected:
    // Opens the macro dialog from the window and lets play act on it with keys.
    void openMacros(const std::function<void(MacroDialog&)>& play) {
        harness.dialogs.onExec = [&play](QDialog& opened) {
            auto& dialog = dynamic_cast<MacroDialog&>(opened);
            dialog.show();
            EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
            dialog.activateWindow();
            EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
            play(dialog);
            return dialog.result();
        };
        harness.click(135, 620); // the Macro button
    }
    std::unique_ptr<MacroList> saved() {
        auto list = std::make_unique<MacroList>();
        EXPECT_EQ(loadMacroFile(harness.services.dataFolder / kMacroFileName, *list).status,
                  MacroFileStatus::Loaded);
        return list;
    }
    testing::WindowHarness harness;
};

TEST_F(MacroDialogKeyboard, NewRecordStopWithAHeldEscAndOk) {
    harness.start();
    openMacros([this](MacroDialog& dialog) {
        ASSERT_TRUE(tabTo(dialog, md::kNew));
        QTest::keyClick(&dialog, Qt::Key_Space);
        ASSERT_TRUE(tabTo(dialog, md::kRecord));
        std::vector<QString> said;
        listenToAccessibleEvents([&](QAccessibleEvent& event) {
            if (event.type() == QAccessible::ObjectShow)
                said.push_back(event.accessibleInterface()->text(QAccessible::Name));
        });
        QTest::keyClick(&dialog, Qt::Key_Return);
        listenToAccessibleEvents({});
        // The button turned into its opposite under the focus: said aloud, unlike a name change.
        EXPECT_EQ(said, std::vector<QString>{QStringLiteral("Stop Recording")});
        typeKey(&dialog, Qt::Key_A, 30);
        typeKey(&dialog, Qt::Key_Tab, 15); // recorded, not a move
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_Escape, 1);
        harness.clock.sleep(std::chrono::milliseconds(1000));
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_Escape, 1, Qt::NoModifier, true);
        // The key still repeats until it is let go, marked as a repeat or not: the dialog stays.
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_Escape, 1, Qt::NoModifier, true);
        harness.clock.sleep(std::chrono::milliseconds(30));
        sendKey(&dialog, QEvent::KeyRelease, Qt::Key_Escape, 1);
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_Escape, 1);
        harness.clock.sleep(std::chrono::milliseconds(30));
        sendKey(&dialog, QEvent::KeyRelease, Qt::Key_Escape, 1);
        EXPECT_TRUE(dialog.isVisible());
        // The focus went on to the events: Enter does not start a recording over them.
        EXPECT_EQ(dialog.focusedControl(), md::kEventList);
        QTest::keyClick(keyTarget(&dialog), Qt::Key_Return);
        EXPECT_FALSE(dialog.workingMacro().recording());
        ASSERT_TRUE(tabTo(dialog, md::kOk));
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.editsSaved());
    });
    const auto list = saved();
    ASSERT_EQ(list->namedCount(), 1u);
    EXPECT_EQ((*list)[0].name(), u"Macro_001");
    EXPECT_EQ(testing::used((*list)[0].keyEvents()),
              (Bytes{0x01, 0x41, 0x81, 0x41, 0x01, 0x09, 0x81, 0x09}));
}

// The window was busy for the whole hold: the key's first repeat, an X release/press pair with
// one timestamp and no repeat mark, is handled late. The hold counts from the first press.
TEST_F(MacroDialogKeyboard, AHeldEscStopsTheRecordingWhenTheWindowWasBusy) {
    harness.start();
    openMacros([this](MacroDialog& dialog) {
        ASSERT_TRUE(tabTo(dialog, md::kNew));
        QTest::keyClick(&dialog, Qt::Key_Space);
        ASSERT_TRUE(tabTo(dialog, md::kRecord));
        QTest::keyClick(&dialog, Qt::Key_Return);
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_A, 30, Qt::NoModifier, false, 1000);
        sendKey(&dialog, QEvent::KeyRelease, Qt::Key_A, 30, Qt::NoModifier, false, 1080);
        sendKey(&dialog, QEvent::KeyPress, Qt::Key_Escape, 1, Qt::NoModifier, false, 1200);
        harness.clock.sleep(std::chrono::milliseconds(1300));
        for (quint64 at : {1700, 1733})
            for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress})
                sendKey(&dialog, type, Qt::Key_Escape, 1, Qt::NoModifier, false, at);
        sendKey(&dialog, QEvent::KeyRelease, Qt::Key_Escape, 1, Qt::NoModifier, false, 1750);
        EXPECT_FALSE(dialog.workingMacro().recording());
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.workingMacro().rowTexts(), (std::vector<std::string>{"A dn", "A up"}));
        EXPECT_EQ(dialog.focusedControl(), md::kEventList);
        QTest::keyClick(keyTarget(&dialog), Qt::Key_Return);
        EXPECT_EQ(dialog.workingMacro().rowTexts().size(), 2u) << "Enter kept the recording";
        dialog.reject();
    });
}

TEST_F(MacroDialogKeyboard, RenameWithF2AndDeleteWithDelete) {
    harness.start();
    HostState& host = harness.window->host();
    for (const char16_t* name : {u"Macro_001", u"Macro_002", u"Macro_003"})
        ASSERT_TRUE(appendMacro(host.macros(), name));
    ASSERT_TRUE(host.saveMacros());
    harness.dialogs.answerOk = true;
    openMacros([](MacroDialog& dialog) {
        auto* names = dialog.findChild<SkinListBox*>("names");
        ASSERT_EQ(QApplication::focusWidget(), names);
        QTest::keyClick(names, Qt::Key_Down);
        QTest::keyClick(names, Qt::Key_F2);
        ASSERT_NE(names->editor(), nullptr);
        names->editor()->selectAll();
        QTest::keyClicks(names->editor(), "Hello");
        QTest::keyClick(names->editor(), Qt::Key_Return);
        QTest::keyClick(names, Qt::Key_Up);
        QTest::keyClick(names, Qt::Key_Delete);
        QTest::keyClick(names, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "Enter in the list is not OK";
        ASSERT_TRUE(tabTo(dialog, macro_dialog::kDelayBox));
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.editsSaved()) << "Enter on a box is OK";
    });
    ASSERT_EQ(harness.dialogs.asked.size(), 1u);
    EXPECT_TRUE(harness.dialogs.asked[0].endsWith("Confirm to delete?"));
    const auto list = saved();
    ASSERT_EQ(list->namedCount(), 2u);
    EXPECT_EQ((*list)[0].name(), u"Hello");
    EXPECT_EQ((*list)[1].name(), u"Macro_003");
}

} // namespace
} // namespace q905
