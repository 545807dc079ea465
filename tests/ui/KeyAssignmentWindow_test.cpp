// SPDX-License-Identifier: GPL-3.0-or-later
// The key assignment dialog opened from the Keymap view, driven with clicks at its places, with
// the keyboard alone and keys through the capture; each outcome checked in keymap.bin, the key
// map and the enable bit.
#include "MainWindowHarness.h"

#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinTree.h"
#include "device/SettingsLayout.h"
#include "keys/KeyDialogControls.h"
#include "keys/KeyEnableMask.h"
#include "keys/KeyMapEntry.h"
#include "keys/KeymapFile.h"
#include "keys/ui/KeyAssignmentDialog.h"
#include "keys/ui/KeyAssignmentTexts.h"
#include "macros/KeyNameTable.h"
#include "macros/MacroModel.h"
#include "support/ControlChecks.h"
#include "support/FakeKeyboardLayout.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>

#include <deque>
#include <functional>
#include <set>

namespace q905 {
namespace {

using testing::WindowHarness;
using Dialog = KeyAssignmentDialog;

// Runs the key dialog with a test's script instead of a user; pickers answer from queues.
class ScriptedDialogs final : public UserDialogs {
  public:
    bool askOkCancel(QWidget*, const QString&, const QString&) override { return false; }
    void tell(QWidget*, const QString&, const QString& text) override { told.push_back(text); }
    int exec(QDialog& dialog) override {
        auto* keys = qobject_cast<Dialog*>(&dialog);
        if (keys == nullptr || !script)
            return QDialog::Rejected;
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        // The main window is still in its click; make the dialog the active one as a window
        // manager would.
        QApplication::setActiveWindow(&dialog);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
        script(*keys);
        return dialog.result();
    }
    QString openFileName(QWidget*, const QString&, const QString& folder,
                         const QString& filter) override {
        folders.push_back(folder);
        filters.push_back(filter);
        return next(fileAnswers);
    }
    QString saveFileName(QWidget*, const QString&, const QString&, const QString&) override {
        return {};
    }
    QString existingFolder(QWidget*, const QString&, const QString& folder) override {
        folders.push_back(folder);
        return next(folderAnswers);
    }

    std::function<void(Dialog&)> script;
    std::deque<QString> fileAnswers, folderAnswers;
    std::vector<QString> told, folders, filters;

  private:
    static QString next(std::deque<QString>& answers) {
        if (answers.empty())
            return {};
        QString answer = answers.front();
        answers.pop_front();
        return answer;
    }
};

// Dialog places.
constexpr QPoint kKeysTab{40, 40}, kMacroTab{140, 40}, kBasicTab{240, 40}, kAdvanceTab{330, 40};
constexpr QPoint kDisableBox{24, 355}, kReset{165, 357}, kClose{255, 357}, kSave{345, 357};
constexpr QPoint kPageElsewhere{200, 330};
QPoint markOf(int row) {
    return {6, 89 + 62 * row};
}
QPoint browseOf(int row) {
    return {347, 91 + 62 * row};
}

void click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}
QLineEdit* single(Dialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("single"));
}
QLineEdit* combine(Dialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("combine"));
}
SkinTree* tree(Dialog& dialog) {
    return dialog.findChild<SkinTree*>(QStringLiteral("functions"));
}
QListWidget* macroList(Dialog& dialog) {
    return dialog.findChild<QListWidget*>(QStringLiteral("macros"));
}
// A key as the window system delivers it to the focused widget: the native scan code is the
// evdev code + 8.
// timestamp: the window system's time of the key (ms); 0 when it gives none.
void key(Dialog& dialog, QEvent::Type type, int evdevCode, Qt::Key qtKey = Qt::Key_unknown,
         bool repeat = false, quint64 timestamp = 0) {
    const QString text = qtKey == Qt::Key_Return   ? QStringLiteral("\r")
                         : qtKey == Qt::Key_Escape ? QStringLiteral("\x1b")
                         : qtKey == Qt::Key_Space  ? QStringLiteral(" ")
                         : qtKey == Qt::Key_Tab    ? QStringLiteral("\t")
                                                   : QString();
    QKeyEvent event(type, qtKey, Qt::NoModifier, quint32(evdevCode + 8), 0, 0, text, repeat);
    event.setTimestamp(timestamp);
    QApplication::sendEvent(dialog.focusWidget() ? dialog.focusWidget() : &dialog, &event);
}
// A key held past the repeat delay the way X repeats it when the press of a pair has not
// arrived in time: unmarked release/press pairs with one timestamp, then a marked repeat.
void holdPastRepeatDelay(Dialog& dialog, int evdevCode, quint64 pressedAt) {
    key(dialog, QEvent::KeyPress, evdevCode, Qt::Key_unknown, false, pressedAt);
    for (quint64 at : {pressedAt + 500, pressedAt + 533})
        for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress})
            key(dialog, type, evdevCode, Qt::Key_unknown, false, at);
    key(dialog, QEvent::KeyPress, evdevCode, Qt::Key_unknown, true, pressedAt + 566);
}
void type(Dialog& dialog, int evdevCode, Qt::Key qtKey = Qt::Key_unknown) {
    key(dialog, QEvent::KeyPress, evdevCode, qtKey);
    key(dialog, QEvent::KeyRelease, evdevCode, qtKey);
}
// Keys held down together, then let go.
void chord(Dialog& dialog, std::initializer_list<int> evdevCodes) {
    for (int code : evdevCodes)
        key(dialog, QEvent::KeyPress, code);
    for (int code : evdevCodes)
        key(dialog, QEvent::KeyRelease, code);
}
void clickItem(QAbstractItemView* view, const QRect& rect) {
    click(view->viewport(), rect.center());
}
constexpr int kEvdevEnter = 28, kEvdevEsc = 1, kEvdevTab = 15, kEvdevSpace = 57;
// Tab until the control has the focus.
void tabTo(Dialog& dialog, int id) {
    for (int i = 0; i < 30 && dialog.focusedControl() != id; ++i)
        type(dialog, kEvdevTab, Qt::Key_Tab);
    ASSERT_EQ(dialog.focusedControl(), id);
}

int keyWithCode(std::uint8_t code) {
    for (int key = 0; key < kKeyCount; ++key)
        if (KeyTable[static_cast<std::size_t>(key)].keyCode == code)
            return key;
    ADD_FAILURE() << "no key with code " << int(code);
    return 0;
}

class KeyAssignmentWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.services.dialogs = &dialogs;
        harness.start();
    }
    // Clicks the key in the Keymap view; the script plays the user in the dialog.
    void assign(std::uint8_t keyCode, std::function<void(Dialog&)> script) {
        dialogs.script = std::move(script);
        const QPoint centre = testing::keyCentre(keyWithCode(keyCode));
        harness.click(centre.x(), centre.y());
        dialogs.script = nullptr;
    }

    QByteArray keymapFile() const {
        QFile file(QString::fromStdString(keymapPath(harness.services.dataFolder).string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // keymap.bin's record of the key, byte for byte.
    KeyAssignmentRecord fileRecord(std::uint8_t keyCode) const {
        const QByteArray file = keymapFile();
        KeyAssignmentRecord record;
        const auto offset = kSettingsImageSize + kKeyAssignmentRecordSize *
                                                     static_cast<std::size_t>(keyWithCode(keyCode));
        if (file.size() >= qsizetype(offset + kKeyAssignmentRecordSize))
            std::copy_n(file.constData() + offset, kKeyAssignmentRecordSize,
                        reinterpret_cast<char*>(record.bytes().data()));
        return record;
    }
    // The key map entry, the same in the image and in keymap.bin.
    KeyMapEntry entry(std::uint8_t keyCode) {
        const int position = KeyTable[std::size_t(keyWithCode(keyCode))].matrixPosition();
        const KeyMapEntry inImage = keyMapEntryAt(harness.image(), position);
        const QByteArray file = keymapFile();
        const auto offset = layout::kKeyMapBlock.offset + 4 * std::size_t(position);
        EXPECT_EQ(QByteArray(reinterpret_cast<const char*>(inImage.data()), 4),
                  file.mid(qsizetype(offset), 4));
        return inImage;
    }
    bool enabled(std::uint8_t keyCode) {
        const int position = KeyTable[std::size_t(keyWithCode(keyCode))].matrixPosition();
        const QByteArray file = keymapFile();
        SettingsImage fromFile;
        std::copy_n(file.constData(), kSettingsImageSize, reinterpret_cast<char*>(&fromFile.at(0)));
        EXPECT_EQ(isKeyEnabled(fromFile, position), isKeyEnabled(harness.image(), position));
        return isKeyEnabled(harness.image(), position);
    }
    static KeyAssignmentRecord expected(std::uint8_t keyCode, FunctionGroup group,
                                        std::vector<std::uint8_t> data, std::uint8_t count,
                                        std::u16string path = {}) {
        KeyAssignmentRecord record;
        record.setKeyCode(keyCode);
        record.setGroup(group);
        std::copy(data.begin(), data.end(), record.data().begin());
        record.setCount(count);
        if (!path.empty()) {
            EXPECT_TRUE(record.setLaunchPath(path));
        }
        return record;
    }
    KeyMapEntry factoryEntry(std::uint8_t keyCode) const {
        return defaultKeyMapEntry(KeyTable[std::size_t(keyWithCode(keyCode))].matrixPosition());
    }

    WindowHarness harness;
    ScriptedDialogs dialogs;
};

constexpr int kEvdevA = 30, kEvdevB = 48, kEvdevC = 46, kEvdevD = 32, kEvdevLeftCtrl = 29,
              kEvdevMute = 113;

TEST_F(KeyAssignmentWindow, SingleKeysAndCombinations) {
    assign('Q', [](Dialog& dialog) {
        EXPECT_EQ(dialog.state().page(), KeyDialogPage::Keys);
        click(single(dialog), {5, 5});
        type(dialog, kEvdevB);
        EXPECT_EQ(single(dialog)->text(), QStringLiteral("B"));
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('Q'), expected('Q', FunctionGroup::SingleKey, {'B'}, 1));
    EXPECT_EQ(entry('Q'), (KeyMapEntry{0, 0, 0x05, 0}));
    EXPECT_TRUE(enabled('Q'));

    assign('W', [](Dialog& dialog) {
        click(combine(dialog), {5, 5});
        // Held keys repeat as presses; the capture ends once all are up.
        key(dialog, QEvent::KeyPress, kEvdevLeftCtrl);
        key(dialog, QEvent::KeyPress, kEvdevLeftCtrl, Qt::Key_unknown, true);
        chord(dialog, {kEvdevC});
        key(dialog, QEvent::KeyRelease, kEvdevLeftCtrl);
        type(dialog, kEvdevA);
        EXPECT_EQ(combine(dialog)->text(), QStringLiteral("LCtrl + C"));
        EXPECT_TRUE(single(dialog)->text().isEmpty());
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('W'), expected('W', FunctionGroup::KeyCombination, {0xA2, 'C'}, 2));
    EXPECT_EQ(entry('W'), (KeyMapEntry{0, 0xE0, 0x06, 0}));

    // Held past the repeat delay, a key still counts once, alone or in a combination.
    assign('T', [](Dialog& dialog) {
        click(single(dialog), {5, 5});
        holdPastRepeatDelay(dialog, kEvdevB, 1000);
        key(dialog, QEvent::KeyRelease, kEvdevB);
        EXPECT_EQ(single(dialog)->text(), QStringLiteral("B"));
        click(combine(dialog), {5, 5});
        key(dialog, QEvent::KeyPress, kEvdevLeftCtrl, Qt::Key_unknown, false, 3000);
        holdPastRepeatDelay(dialog, kEvdevC, 3100);
        key(dialog, QEvent::KeyRelease, kEvdevC);
        key(dialog, QEvent::KeyRelease, kEvdevLeftCtrl);
        EXPECT_EQ(combine(dialog)->text(), QStringLiteral("LCtrl + C"));
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('T'), expected('T', FunctionGroup::KeyCombination, {0xA2, 'C'}, 2));

    // A fourth key starts a new combination: only it goes out.
    assign('E', [](Dialog& dialog) {
        click(combine(dialog), {5, 5});
        chord(dialog, {kEvdevA, kEvdevB, kEvdevC, kEvdevD});
        EXPECT_EQ(combine(dialog)->text(), QStringLiteral("D"));
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('E'), expected('E', FunctionGroup::KeyCombination, {'D'}, 1));
    EXPECT_EQ(entry('E'), (KeyMapEntry{0, 0x07, 0, 0}));

    // Reopened, the stored combination shows; choosing the other field and saving with nothing
    // captured gives the key its own function back.
    assign('W', [](Dialog& dialog) {
        EXPECT_EQ(combine(dialog)->text(), QStringLiteral("LCtrl + C"));
        click(single(dialog), {5, 5});
        EXPECT_TRUE(combine(dialog)->text().isEmpty());
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('W'), expected('W', FunctionGroup::SingleKey, {}, 0));
    EXPECT_EQ(entry('W'), factoryEntry('W'));
    EXPECT_EQ(harness.window->host().keys().flags()[std::size_t(keyWithCode('W'))], 0);

    // A key the keyboard cannot send (Mute) is refused in words, and nothing changes.
    const KeyAssignmentRecord before = fileRecord('R');
    assign('R', [](Dialog& dialog) {
        click(single(dialog), {5, 5});
        type(dialog, kEvdevMute);
        click(&dialog, kSave);
    });
    EXPECT_EQ(dialogs.told,
              std::vector<QString>{qtText(key_texts::kCannotSendKey, Language::English)});
    EXPECT_EQ(fileRecord('R'), before);

    // Keys the Keymap view does not reassign open nothing.
    for (std::uint8_t code : {0xA2, 0xA3, 0x5B})
        assign(code, [](Dialog&) { ADD_FAILURE() << "a key that cannot be reassigned"; });
}

// Under the user's layout the dialog names keys by what they type there; what is stored is the
// key pressed, as without a layout.
class KeyAssignmentInLayout : public KeyAssignmentWindow {
  protected:
    void SetUp() override {
        harness.services.keyboardLayout = &kLayout;
        KeyAssignmentWindow::SetUp();
    }
    static inline const testing::GermanLikeLayout kLayout;
};

TEST_F(KeyAssignmentInLayout, NamesKeysAsTheLayoutDoesAndStoresTheKeyPressed) {
    constexpr int kEvdevZ = 44, kEvdevSemicolon = 39;
    assign('Y', [](Dialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Z")) << "the US Y key types Z";
        click(single(dialog), {5, 5});
        type(dialog, kEvdevZ);
        EXPECT_EQ(single(dialog)->text(), QStringLiteral("Y"));
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('Y'), expected('Y', FunctionGroup::SingleKey, {'Z'}, 1));

    assign('U', [](Dialog& dialog) {
        click(combine(dialog), {5, 5});
        chord(dialog, {kEvdevLeftCtrl, kEvdevSemicolon});
        EXPECT_EQ(combine(dialog)->text(), QStringLiteral("LCtrl + Ö"));
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('U'), expected('U', FunctionGroup::KeyCombination, {0xA2, 0xBA}, 2));
    // Reopened, the stored keys are named the same way.
    assign('U', [](Dialog& dialog) {
        EXPECT_EQ(combine(dialog)->text(), QStringLiteral("LCtrl + Ö"));
        click(&dialog, kClose);
    });
}

TEST_F(KeyAssignmentWindow, FunctionsFromTheTreeAndMacros) {
    assign('T', [](Dialog& dialog) {
        EXPECT_TRUE(tree(dialog)->selectedItems().isEmpty());
        click(&dialog, kBasicTab);
        ASSERT_TRUE(tree(dialog)->isVisible());
        QTreeWidgetItem* media = tree(dialog)->findItems("Media", Qt::MatchExactly)[0];
        clickItem(tree(dialog), tree(dialog)->visualItemRect(media));
        click(&dialog, kSave);
        EXPECT_TRUE(dialog.isVisible()) << "a group node is not a function";
        media->setExpanded(true);
        clickItem(tree(dialog), tree(dialog)->visualItemRect(media->child(5)));
        EXPECT_EQ(media->child(5)->text(0), QStringLiteral("Volume Up"));
        click(&dialog, kSave);
    });
    ASSERT_EQ(dialogs.told.size(), 1u);
    EXPECT_EQ(dialogs.told[0], qtText(key_texts::kSelectSubItem, Language::English));
    EXPECT_EQ(fileRecord('T'), expected('T', FunctionGroup::CatalogueFunction, {3, 0, 0xE9, 0}, 0));
    EXPECT_EQ(entry('T'), (KeyMapEntry{3, 0, 0xE9, 0}));

    // The stored function is selected and its group open; a plain key afterwards selects none.
    assign('T', [](Dialog& dialog) {
        EXPECT_EQ(dialog.state().page(), KeyDialogPage::Basic);
        const auto selected = tree(dialog)->selectedItems();
        ASSERT_EQ(selected.size(), 1);
        EXPECT_EQ(selected[0]->text(0), QStringLiteral("Volume Up"));
        EXPECT_TRUE(selected[0]->parent()->isExpanded());
        // Painted by the tree itself: the dark-red bar across the row, flat dark below.
        const QImage shot = tree(dialog)->viewport()->grab().toImage();
        const QRect row = tree(dialog)->visualItemRect(selected[0]);
        EXPECT_EQ(shot.pixelColor(2, row.center().y()), SkinTree::kSelectionColour);
        EXPECT_EQ(shot.pixelColor(2, shot.height() - 2), SkinTree::kFlatColour);
        click(&dialog, kClose);
    });
    assign('Y', [](Dialog& dialog) {
        EXPECT_TRUE(tree(dialog)->selectedItems().isEmpty());
        click(&dialog, kClose);
    });

    MacroList& macros = harness.window->host().macros();
    macros[0].setName(u"First");
    macros[1].setName(u"Second");
    assign('U', [](Dialog& dialog) {
        click(&dialog, kMacroTab);
        ASSERT_EQ(macroList(dialog)->count(), 2);
        clickItem(macroList(dialog), macroList(dialog)->visualItemRect(macroList(dialog)->item(1)));
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('U'), expected('U', FunctionGroup::MacroKey, {4, 1, 1, 0}, 0));
    EXPECT_EQ(entry('U'), (KeyMapEntry{4, 1, 1, 0}));
    assign('U', [](Dialog& dialog) {
        EXPECT_EQ(macroList(dialog)->currentRow(), 1);
        click(&dialog, kClose);
    });

    // Save on Macro without a selection: the key's own function, working whatever the box says.
    assign('I', [](Dialog& dialog) {
        click(&dialog, kDisableBox);
        click(&dialog, kMacroTab);
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('I'), expected('I', FunctionGroup::SingleKey, {}, 0));
    EXPECT_EQ(entry('I'), factoryEntry('I'));
    EXPECT_TRUE(enabled('I'));
}

TEST_F(KeyAssignmentWindow, LaunchRowsTakeOnlyAChosenPath) {
    QTemporaryDir folder;
    const QString text = folder.filePath("notes.txt");
    const QString program = folder.filePath("tool");
    for (const QString& name : {text, program}) {
        QFile file(name);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    }
    QFile::setPermissions(program, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);

    const std::array<std::pair<std::uint8_t, QString>, 4> rows{
        {{'A', "/music/song.mp3"}, {'S', program}, {'D', text}, {'F', folder.path()}}};
    dialogs.fileAnswers = {rows[0].second, text, program, rows[2].second};
    dialogs.folderAnswers = {rows[3].second};
    for (int row = 0; row < 4; ++row) {
        assign(rows[std::size_t(row)].first, [&](Dialog& dialog) {
            click(&dialog, kAdvanceTab);
            click(&dialog, browseOf(row));
            if (row == 1) // a file that is not a program is refused; the next answer is one
                click(&dialog, browseOf(row));
            EXPECT_EQ(dialog.state().launchMarkRow(), row);
            click(&dialog, kSave);
        });
        const std::uint8_t code = rows[std::size_t(row)].first;
        EXPECT_EQ(fileRecord(code), expected(code, launchRowGroup(row), {3, 0, 0x23, 0x02}, 0,
                                             rows[std::size_t(row)].second.toStdU16String()))
            << "row " << row;
        EXPECT_EQ(entry(code), (KeyMapEntry{10, 0, code, 0}));
    }
    EXPECT_EQ(dialogs.told,
              std::vector<QString>{qtText(key_texts::kNotAProgram, Language::English)});
    EXPECT_TRUE(dialogs.filters[0].startsWith("mp3 Files(*.mp3);;"));
    EXPECT_TRUE(dialogs.filters[3].startsWith("txt Files(*.txt);;"));
    for (const QString& start : dialogs.folders)
        EXPECT_EQ(start, QDir::homePath());

    // Advance and Save without a choice: the factory function, also after a radio mark.
    assign('G', [](Dialog& dialog) {
        click(&dialog, kAdvanceTab);
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('G'), expected('G', FunctionGroup::SingleKey, {}, 0));
    assign('A', [](Dialog& dialog) {
        EXPECT_EQ(dialog.state().page(), KeyDialogPage::Advance);
        EXPECT_EQ(dialog.state().launchType(), 0);
        EXPECT_EQ(dialog.state().launchMarkRow(), kNoLaunchRow);
        click(&dialog, markOf(1));
        click(&dialog, kSave);
    });
    const KeyAssignmentRecord record = fileRecord('A');
    EXPECT_EQ(record.group(), 0);
    EXPECT_EQ(record.count(), 0);
    EXPECT_TRUE(std::ranges::all_of(record.data(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(entry('A'), factoryEntry('A'));
    EXPECT_EQ(harness.window->host().keys().flags()[std::size_t(keyWithCode('A'))], 0);
}

TEST_F(KeyAssignmentWindow, DisableResetCloseAndApply) {
    assign('H', [](Dialog& dialog) {
        click(single(dialog), {5, 5});
        type(dialog, kEvdevB);
        click(&dialog, kDisableBox);
        click(&dialog, kSave);
    });
    EXPECT_EQ(fileRecord('H'), expected('H', FunctionGroup::SingleKey, {'B'}, 1));
    EXPECT_FALSE(enabled('H'));
    EXPECT_EQ(harness.window->host().keys().flags()[std::size_t(keyWithCode('H'))], 1);

    assign('H', [](Dialog& dialog) {
        EXPECT_TRUE(dialog.state().disableBox());
        click(&dialog, kReset);
    });
    EXPECT_EQ(fileRecord('H'), expected('H', FunctionGroup::SingleKey, {}, 0));
    EXPECT_EQ(entry('H'), factoryEntry('H'));
    EXPECT_TRUE(enabled('H'));

    assign('J', [](Dialog& dialog) {
        click(single(dialog), {5, 5});
        type(dialog, kEvdevB);
        click(&dialog, kDisableBox);
        click(&dialog, kSave);
    });
    const QByteArray before = keymapFile();
    const SettingsImage image = harness.image();
    assign('J', [](Dialog& dialog) {
        click(&dialog, kAdvanceTab);
        click(&dialog, kDisableBox);
        click(&dialog, kPageElsewhere);
        click(&dialog, kClose);
    });
    assign('K', [](Dialog& dialog) {
        click(single(dialog), {5, 5});
        type(dialog, kEvdevB);
        click(&dialog, {374, 11}); // the close mark
    });
    EXPECT_EQ(keymapFile(), before);
    EXPECT_EQ(harness.image(), image);

    // Apply: of the blocks only the key map and the enable mask (the lighting and palm-rest
    // frames go with every apply).
    harness.trace.clear();
    harness.click(870, 615);
    std::set<std::string> commands;
    for (const auto& frame : harness.trace.sentFrames())
        commands.insert(frame.commandHex());
    EXPECT_EQ(commands, (std::set<std::string>{"07", "08", "0D", "0E", "18"}));
    const int position = KeyTable[std::size_t(keyWithCode('J'))].matrixPosition();
    EXPECT_EQ(keyMapEntryAt(harness.keyboard.memory(), position), (KeyMapEntry{0, 0, 0x05, 0}));
    EXPECT_FALSE(isKeyEnabled(harness.keyboard.memory(), position));
}

class GermanKeyAssignmentWindow : public KeyAssignmentWindow {
  protected:
    void SetUp() override {
        harness.services.language = Language::German;
        KeyAssignmentWindow::SetUp();
    }
};

TEST_F(GermanKeyAssignmentWindow, ARefusedAssignmentIsToldInGermanOnly) {
    const KeyAssignmentRecord before = fileRecord('L');
    dialogs.fileAnswers.push_back(QStringLiteral("/tmp/") + QString(300, QLatin1Char('a')));
    assign('L', [](Dialog& dialog) {
        click(&dialog, kAdvanceTab);
        click(&dialog, browseOf(2));
        click(&dialog, kSave);
    });
    EXPECT_EQ(dialogs.told,
              std::vector<QString>{QString::fromUtf8("Die Taste konnte nicht belegt werden: der "
                                                     "Pfad ist länger als 255 Zeichen.")});
    EXPECT_EQ(fileRecord('L'), before);
}

// With the keyboard alone: Enter arms the capture, which then takes any key, Esc and Tab
// included, and ends with it; unarmed, Tab moves on, Space toggles, Enter presses and Esc closes.
TEST_F(KeyAssignmentWindow, TheKeyboardAloneAssignsAnyKeyWithoutBeingTrapped) {
    assign('Q', [](Dialog& dialog) {
        ASSERT_EQ(dialog.focusedControl(), key_dialog::kSingleField);
        type(dialog, kEvdevEnter, Qt::Key_Return);
        EXPECT_EQ(single(dialog)->placeholderText(),
                  qtText(key_texts::kPressKey, Language::English));
        type(dialog, kEvdevB, Qt::Key_B);
        EXPECT_EQ(single(dialog)->text(), QStringLiteral("B"));
        tabTo(dialog, key_dialog::kSave);
        type(dialog, kEvdevEnter, Qt::Key_Return);
    });
    EXPECT_EQ(fileRecord('Q'), expected('Q', FunctionGroup::SingleKey, {'B'}, 1));

    assign('W', [](Dialog& dialog) {
        type(dialog, kEvdevEnter, Qt::Key_Return);
        type(dialog, kEvdevEsc, Qt::Key_Escape);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(single(dialog)->text(), QStringLiteral("Esc"));
        type(dialog, kEvdevTab, Qt::Key_Tab);
        EXPECT_EQ(dialog.focusedControl(), key_dialog::kCombineField);
        tabTo(dialog, key_dialog::kDisableBox);
        type(dialog, kEvdevSpace, Qt::Key_Space);
        tabTo(dialog, key_dialog::kSave);
        type(dialog, kEvdevEnter, Qt::Key_Return);
    });
    EXPECT_EQ(fileRecord('W'), expected('W', FunctionGroup::SingleKey, {0x1B}, 1));
    EXPECT_FALSE(enabled('W'));

    const QByteArray before = keymapFile();
    assign('E', [](Dialog& dialog) {
        type(dialog, kEvdevEsc, Qt::Key_Escape);
        EXPECT_FALSE(dialog.isVisible());
    });
    EXPECT_EQ(keymapFile(), before);
}

class KeyDialogControls : public ::testing::Test {
  protected:
    void open(Language language) {
        dialog.reset();
        skin = std::make_unique<SkinCache>(QStringLiteral(Q905_SKIN_DIR) +
                                           (language == Language::German
                                                ? QStringLiteral("/png/german")
                                                : QStringLiteral("/png/english")));
        dialog = std::make_unique<Dialog>(*skin, dialogs, 'Q', KeyAssignmentRecord{}, true, *macros,
                                          language, nullptr);
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }
    QAccessibleInterface* accessible(int id) {
        QAccessibleInterface* root = QAccessible::queryAccessibleInterface(dialog.get());
        return root->child(static_cast<int>(controlById(key_dialog::kControls, id) -
                                            key_dialog::kControls.data()));
    }

    ScriptedDialogs dialogs;
    std::unique_ptr<MacroList> macros = std::make_unique<MacroList>();
    std::unique_ptr<SkinCache> skin;
    std::unique_ptr<Dialog> dialog;
};

TEST_F(KeyDialogControls, EveryControlIsNamedInTheWindowsLanguageAndHiddenPagesAreNotShowing) {
    for (Language language : {Language::English, Language::German}) {
        SCOPED_TRACE(language == Language::German ? "German" : "English");
        open(language);
        test::expectEveryControlAccessible(*dialog);
        const bool german = language == Language::German;
        EXPECT_EQ(QAccessible::queryAccessibleInterface(dialog.get())->text(QAccessible::Name),
                  german ? QStringLiteral("Gewählte Taste: Q") : QStringLiteral("Selected key: Q"));
        EXPECT_EQ(accessible(key_dialog::kSingleField)->text(QAccessible::Name),
                  german ? QStringLiteral("Einzeln") : QStringLiteral("Single"));
        // The first two tabs keep their English labels in German.
        EXPECT_EQ(accessible(key_dialog::kKeysTab)->text(QAccessible::Name),
                  QStringLiteral("Single/Combine"));
        EXPECT_EQ(accessible(key_dialog::kMacroTab)->text(QAccessible::Name),
                  QStringLiteral("Macro"));
        EXPECT_TRUE(accessible(key_dialog::kKeysTab)->state().checked);
        EXPECT_TRUE(accessible(key_dialog::kLaunchBrowse + 2)->state().invisible);
        accessible(key_dialog::kAdvanceTab)
            ->actionInterface()
            ->doAction(QAccessibleActionInterface::pressAction());
        EXPECT_TRUE(accessible(key_dialog::kAdvanceTab)->state().checked);
        EXPECT_FALSE(accessible(key_dialog::kLaunchBrowse + 2)->state().invisible);
        EXPECT_TRUE(single(*dialog)->isHidden());
        test::expectEveryControlAccessible(*dialog);
    }
}

// The first two tabs keep their English labels in German: their places hold the same pixels in
// both languages, where the translated "Basic" tab differs.
TEST_F(KeyDialogControls, TheFirstTwoTabsAreDrawnInEnglishInGerman) {
    open(Language::English);
    const QImage english = dialog->grab().toImage();
    open(Language::German);
    const QImage german = dialog->grab().toImage();
    const auto same = [&](int tab) {
        const QRect place = toQRect(controlById(key_dialog::kControls, tab)->rect);
        return english.copy(place) == german.copy(place);
    };
    EXPECT_TRUE(same(key_dialog::kKeysTab)) << "Single/Combine";
    EXPECT_TRUE(same(key_dialog::kMacroTab)) << "Macro";
    EXPECT_FALSE(same(key_dialog::kBasicTab)) << "Basic is Einfach in German";
}

TEST_F(KeyDialogControls, TabVisitsTheControlsInOrderWithTheMarkAndArrowsTurnThePages) {
    open(Language::English);
    const ControlFocus& focus = dialog->controlFocus();
    std::vector<int> expected = test::expectedTabCycle(*dialog, focus);
    // The tab bar is one stop, at the current tab.
    EXPECT_EQ(std::count_if(expected.begin(), expected.end(),
                            [](int id) {
                                return id >= key_dialog::kKeysTab && id <= key_dialog::kAdvanceTab;
                            }),
              1);
    // From the "Single" field, where the dialog opens, round to it again.
    const auto start = std::find(expected.begin(), expected.end(), key_dialog::kSingleField);
    ASSERT_NE(start, expected.end());
    std::rotate(expected.begin(), start + 1, expected.end());
    EXPECT_EQ(test::tabRound(*dialog, focus, expected.size()), expected);
    tabTo(*dialog, key_dialog::kSave);
    EXPECT_TRUE(test::focusMarkDrawnAround(
        dialog.get(), toQRect(controlById(key_dialog::kControls, key_dialog::kSave)->rect)));

    tabTo(*dialog, key_dialog::kKeysTab);
    QTest::keyClick(dialog.get(), Qt::Key_Right);
    EXPECT_EQ(dialog->state().page(), KeyDialogPage::Macro);
    QTest::keyClick(dialog.get(), Qt::Key_Left);
    QTest::keyClick(dialog.get(), Qt::Key_Left);
    EXPECT_EQ(dialog->state().page(), KeyDialogPage::Advance);
    EXPECT_EQ(dialog->focusedControl(), key_dialog::kAdvanceTab);
    QTest::keyClick(dialog.get(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(dialog->state().page(), KeyDialogPage::Keys);
    EXPECT_EQ(dialog->focusedControl(), key_dialog::kKeysTab) << "the page's tab names it";
    EXPECT_EQ(accessible(key_dialog::kKeysTab)->role(), QAccessible::PageTab);
    EXPECT_TRUE(accessible(key_dialog::kKeysTab)->state().focused);
    EXPECT_EQ(accessible(key_dialog::kKeysTab)->text(QAccessible::Name), "Single/Combine");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab,
                    Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(dialog->state().page(), KeyDialogPage::Advance);
}

} // namespace
} // namespace q905
