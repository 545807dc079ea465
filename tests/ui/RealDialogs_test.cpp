// SPDX-License-Identifier: GPL-3.0-or-later
// The real QFileDialog, QMessageBox and QMenu over the dialogs that capture keys: keys typed
// into them must work there and never reach the capture, and the capture must take the
// dialog's keys again once they close.
#include "MainWindowHarness.h"

#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "controls/ui/SkinTree.h"
#include "keys/KeyAssignmentTable.h"
#include "keys/ui/KeyAssignmentDialog.h"
#include "lighting/ui/ColourDialog.h"
#include "macros/MacroTestSupport.h"
#include "macros/ui/MacroDialog.h"
#include "platform/qt/KeyCapture.h"
#include "platform/qt/UserDialogs.h"
#include "profiles/ProfileFiles.h"
#include "profiles/ui/ProfileDialog.h"
#include "support/ShownEventRows.h"

#include <QFileDialog>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPointer>
#include <QSignalSpy>
#include <QTimer>

namespace q905 {
namespace {

constexpr int kEvdevEnter = 28, kEvdevEsc = 1, kEvdevSpace = 57, kEvdevDown = 108, kEvdevA = 30,
              kEvdevB = 48;

// Where the window system's key goes, as Qt routes it: an open popup (a menu, a completion
// list) first, else the focused widget of the window.
QWidget* keyTarget(QWidget* window) {
    if (QWidget* popup = QApplication::activePopupWidget())
        return popup->focusWidget() != nullptr ? popup->focusWidget() : popup;
    return window->focusWidget() != nullptr ? window->focusWidget() : window;
}

// A key pressed and released as the window system delivers it: the native scan code is the
// evdev code + 8. A key that closes its window is released over the window active then.
void pressKey(QWidget* window, Qt::Key key, int evdevCode) {
    const QString text = key == Qt::Key_Return   ? QStringLiteral("\r")
                         : key == Qt::Key_Escape ? QStringLiteral("\x1b")
                         : key == Qt::Key_Space  ? QStringLiteral(" ")
                                                 : QString();
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QWidget* over = window->isVisible() ? window : QApplication::activeWindow();
        if (over == nullptr)
            return;
        QKeyEvent event(type, key, Qt::NoModifier, quint32(evdevCode + 8), 0, 0, text);
        QApplication::sendEvent(keyTarget(over), &event);
    }
}

// Plays the user of the next modal window of type Modal once it shows. A window still open
// after play is closed, and the test fails, so a swallowed key cannot hang the test.
template <class Modal> void whenShown(std::function<void(Modal&)> play) {
    auto* timer = new QTimer;
    timer->setInterval(5);
    QObject::connect(timer, &QTimer::timeout, [timer, play] {
        QPointer<Modal> modal = qobject_cast<Modal*>(QApplication::activeModalWidget());
        if (modal == nullptr || !modal->isVisible())
            return;
        timer->stop();
        timer->deleteLater();
        play(*modal);
        if (!QTest::qWaitFor([&modal] { return modal == nullptr || !modal->isVisible(); }, 10000)) {
            ADD_FAILURE() << "the " << Modal::staticMetaObject.className() << " stayed open";
            modal->reject();
        }
    });
    timer->start();
}

void showActive(QWidget& window) {
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
}

void click(QWidget* widget, QPoint at) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, at);
}

class RealDialogs : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { QApplication::setAttribute(Qt::AA_DontUseNativeDialogs); }

    SkinCache english{QStringLiteral(Q905_SKIN_DIR "/png/english")};
    SkinCache german{QStringLiteral(Q905_SKIN_DIR "/png/german")};
    MessageBoxDialogs dialogs;
    QTemporaryDir scratch;
};

TEST_F(RealDialogs, PickerAndMessageBoxOverTheKeyDialogGetTheirKeys) {
    // The pickers open in the home folder.
    struct Home {
        QByteArray saved = qgetenv("HOME");
        ~Home() { qputenv("HOME", saved); }
    } home;
    qputenv("HOME", scratch.path().toLocal8Bit());
    const QString notes = scratch.filePath(QStringLiteral("notes.txt"));
    testing::WindowHarness::writeFile(notes.toStdString(), "notes");
    auto macros = std::make_unique<MacroList>();
    KeyAssignmentDialog dialog(german, dialogs, 'Q', KeyAssignmentRecord{}, true, *macros,
                               Language::German, nullptr);
    showActive(dialog);
    QSignalSpy captured(dialog.findChild<KeyCapture*>(), &KeyCapture::keyCaptured);

    // A path typed into the picker's name field, Enter: the picker takes it.
    click(&dialog, {330, 40}); // Advance
    whenShown<QFileDialog>([](QFileDialog& picker) {
        auto* name = picker.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, QStringLiteral("notes.txt"));
        pressKey(&picker, Qt::Key_Return, kEvdevEnter);
    });
    click(&dialog, {347, 91 + 62 * 2}); // "…" of "Open file"
    EXPECT_EQ(dialog.state().launchPath(), notes.toStdString());
    // Esc closes the picker and chooses nothing.
    whenShown<QFileDialog>(
        [](QFileDialog& picker) { pressKey(&picker, Qt::Key_Escape, kEvdevEsc); });
    click(&dialog, {347, 91 + 62 * 2});
    EXPECT_EQ(dialog.state().launchPath(), notes.toStdString());

    // A group node saved on the Basic page: the message box takes Enter, Esc and Space.
    click(&dialog, {240, 40}); // Einfach
    auto* tree = dialog.findChild<SkinTree*>(QStringLiteral("functions"));
    QTreeWidgetItem* media = tree->findItems(QStringLiteral("Media"), Qt::MatchExactly)[0];
    tree->setCurrentItem(media);
    for (const auto& [key, evdev] :
         {std::pair{Qt::Key_Return, kEvdevEnter}, std::pair{Qt::Key_Escape, kEvdevEsc},
          std::pair{Qt::Key_Space, kEvdevSpace}}) {
        whenShown<QMessageBox>(
            [key, evdev](QMessageBox& box) { pressKey(&box, Qt::Key(key), evdev); });
        click(&dialog, {345, 357}); // Speichern
        EXPECT_TRUE(dialog.isVisible());
    }
    EXPECT_EQ(captured.size(), 0) << "nothing typed into the picker or the box was captured";

    // Back in the dialog, Enter on the field arms the capture and it takes keys again.
    click(&dialog, {40, 40});
    pressKey(&dialog, Qt::Key_Return, kEvdevEnter);
    pressKey(&dialog, Qt::Key_B, kEvdevB);
    ASSERT_EQ(captured.size(), 2); // B down and up
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("single"))->text(), QStringLiteral("B"));
}

class RecordingMacroDialog : public RealDialogs {
  protected:
    void SetUp() override {
        capture.watch(dialog.get());
        QObject::connect(&capture, &KeyCapture::keyCaptured, dialog.get(),
                         &MacroDialog::keyCaptured);
        showActive(*dialog);
    }
    QStringList rows() const { return test::shownEventRows(list("events")); }
    SkinListBox* list(const char* name) const { return dialog->findChild<SkinListBox*>(name); }

    std::unique_ptr<MacroList> macros = std::make_unique<MacroList>();
    testing::ManualClock clock;
    KeyCapture capture;
    std::unique_ptr<MacroDialog> dialog =
        std::make_unique<MacroDialog>(english, Language::English, *macros, clock, capture, dialogs);
};

TEST_F(RecordingMacroDialog, TheDeleteQuestionGetsItsKeysWhileRecording) {
    click(dialog.get(), {48, 380});  // New
    click(dialog.get(), {310, 112}); // Start Recording
    pressKey(dialog.get(), Qt::Key_A, kEvdevA);
    ASSERT_EQ(rows(), (QStringList{"A dn", "A up"}));

    // Esc answers Cancel: the macro stays, and neither key went into it.
    whenShown<QMessageBox>([](QMessageBox& box) { pressKey(&box, Qt::Key_Escape, kEvdevEsc); });
    click(dialog.get(), {108, 380}); // Delete
    EXPECT_EQ(list("names")->count(), 1);
    EXPECT_EQ(rows(), (QStringList{"A dn", "A up"}));
    EXPECT_EQ(dialog->workingList()[0].keyEvents().end(), 4u);

    // Still recording: the dialog's own keys are recorded again.
    pressKey(dialog.get(), Qt::Key_B, kEvdevB);
    EXPECT_EQ(rows().size(), 4);

    whenShown<QMessageBox>([](QMessageBox& box) { pressKey(&box, Qt::Key_Return, kEvdevEnter); });
    click(dialog.get(), {108, 380});
    EXPECT_EQ(list("names")->count(), 0) << "Enter answered OK";
    EXPECT_FALSE(capture.isCapturing());
}

TEST_F(RecordingMacroDialog, AnInsertionChosenWithTheKeyboardTakesTheNextKey) {
    click(dialog.get(), {48, 380});
    click(dialog.get(), {310, 112});
    pressKey(dialog.get(), Qt::Key_A, kEvdevA);
    click(dialog.get(), {310, 112});
    list("events")->selectRow(0);

    // Down and Return in the menu choose "Insert Before"; the Return's release then reaches the
    // dialog, as it does once the menu has closed.
    QTimer::singleShot(0, [] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier, kEvdevDown + 8, 0, 0);
        QApplication::sendEvent(menu, &down);
        QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, kEvdevEnter + 8, 0, 0,
                        QStringLiteral("\r"));
        QApplication::sendEvent(menu, &enter);
    });
    const QRect row = list("events")->visualItemRect(list("events")->item(0));
    emit list("events")->customContextMenuRequested(row.center());
    ASSERT_TRUE(dialog->workingMacro().insertMode());
    QKeyEvent enterUp(QEvent::KeyRelease, Qt::Key_Return, Qt::NoModifier, kEvdevEnter + 8, 0, 0,
                      QStringLiteral("\r"));
    QApplication::sendEvent(dialog->focusWidget() ? dialog->focusWidget() : dialog.get(), &enterUp);
    EXPECT_TRUE(dialog->workingMacro().insertMode()) << "the Return that chose is not the key";

    pressKey(dialog.get(), Qt::Key_B, kEvdevB);
    EXPECT_EQ(rows(), (QStringList{"B dn", "B up", "A dn", "A up"}));
    EXPECT_FALSE(dialog->workingMacro().insertMode());
}

// A window manager keeps a place the program chose; left to place a frameless window itself,
// it need not tell Qt where it put it.
TEST_F(RealDialogs, DialogsChooseTheirPlaceOverTheirWindowBeforeTheyShow) {
    testing::WindowHarness harness;
    harness.start();
    MainWindow& window = *harness.window;
    auto macros = std::make_unique<MacroList>();
    testing::ManualClock clock;
    testing::FakeKeyCapture capture;
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.push_back(std::make_unique<KeyAssignmentDialog>(english, this->dialogs, 'Q',
                                                            KeyAssignmentRecord{}, true, *macros,
                                                            Language::English, nullptr, &window));
    dialogs.push_back(std::make_unique<MacroDialog>(english, Language::English, *macros, clock,
                                                    capture, this->dialogs, &window));
    HostState& host = window.host();
    dialogs.push_back(std::make_unique<ProfileDialog>(english, Language::English, host.settings(),
                                                      host.keys(), host.dataFolder(),
                                                      QDir::homePath(), this->dialogs, &window));
    dialogs.push_back(std::make_unique<ColourDialog>(english, Language::English, 0, &window));
    for (const auto& dialog : dialogs) {
        SCOPED_TRACE(dialog->objectName().toStdString());
        EXPECT_TRUE(dialog->testAttribute(Qt::WA_Moved));
        EXPECT_EQ(dialog->geometry().center(), window.frameGeometry().center());
    }
}

TEST_F(RealDialogs, TheProfileDialogOffersToRemoveOldProfileFiles) {
    testing::WindowHarness harness;
    harness.services.dialogs = &dialogs;
    harness.start();
    const auto folder = profileFolder(harness.services.dataFolder);
    std::filesystem::create_directories(folder);
    for (const char* name : {"Old.bin", "New.bin"})
        ASSERT_TRUE(
            saveProfile(folder / name, harness.image(), harness.window->host().keys().table())
                .ok());
    std::filesystem::last_write_time(
        folder / "Old.bin", std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));

    bool asked = false;
    whenShown<QMessageBox>([&asked](QMessageBox& box) {
        asked = box.text().contains(QStringLiteral("Old.bin"));
        pressKey(&box, Qt::Key_Return, kEvdevEnter);
    });
    HostState& host = harness.window->host();
    ProfileDialog dialog(english, Language::English, host.settings(), host.keys(),
                         host.dataFolder(), QDir::homePath(), dialogs);
    showActive(dialog);
    EXPECT_TRUE(QTest::qWaitFor([&asked] { return asked; }));
    EXPECT_EQ(dialog.findChild<SkinListBox*>("profiles")->rowTexts(), QStringList{"New"});
    EXPECT_TRUE(
        QTest::qWaitFor([&folder] { return !std::filesystem::exists(folder / "Old.bin"); }));
    EXPECT_TRUE(std::filesystem::exists(folder / "New.bin"));
}

} // namespace
} // namespace q905
