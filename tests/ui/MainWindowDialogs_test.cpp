// SPDX-License-Identifier: GPL-3.0-or-later
// The macro and profile dialogs as the main window opens them: what they leave in the host
// files, the image and, after Apply, the keyboard.
#include "MainWindowHarness.h"

#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "device/SettingsLayout.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyMapEntry.h"
#include "keys/KeyTable.h"
#include "keys/KeymapFile.h"
#include "macros/MacroFile.h"
#include "macros/MacroListEditing.h"
#include "macros/ui/MacroDialog.h"
#include "profiles/ProfileFiles.h"
#include "profiles/ui/ProfileDialog.h"
#include "support/ImmutableFile.h"

#include <QLineEdit>

#include <fstream>

namespace q905 {
namespace {

using testing::WindowHarness;
using Bytes = std::vector<std::uint8_t>;

constexpr QPoint kMacroButton{135, 620};
constexpr QPoint kProfileButton{54, 620};
constexpr QPoint kApply{870, 615};

Bytes slotBytes(const SettingsImage& image, std::size_t slot, std::size_t count) {
    const auto block = image.block(layout::macroSlot(slot));
    return {block.begin(), block.begin() + count};
}

void showAndWait(QDialog& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
}

// A key as the window system delivers it: the native scan code is the evdev code + 8.
void typeKey(QWidget* target, int evdevCode, Qt::Key qtKey, const QString& text) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, qtKey, Qt::NoModifier, quint32(evdevCode + 8), 0, 0, text);
        QApplication::sendEvent(target, &event);
    }
}

TEST(MainWindowDialogs, TypedMacroWithLoopReachesSlotZeroOnApply) {
    WindowHarness harness;
    harness.start();
    harness.dialogs.onExec = [](QDialog& opened) {
        auto& dialog = dynamic_cast<MacroDialog&>(opened);
        showAndWait(dialog);
        const auto click = [&dialog](QPoint at) {
            QTest::mouseClick(&dialog, Qt::LeftButton, {}, at);
        };
        click({48, 380});  // New
        click({310, 112}); // Start Recording
        typeKey(dialog.findChild<QLineEdit*>("loop"), 30, Qt::Key_A, QStringLiteral("a"));
        typeKey(dialog.findChild<QLineEdit*>("loop"), 48, Qt::Key_B, QStringLiteral("b"));
        click({310, 112}); // Stop Recording
        EXPECT_TRUE(dialog.findChild<QLineEdit*>("loop")->text() == QStringLiteral("1"))
            << "keys never reach widgets";
        click({272, 322}); // Loop
        dialog.findChild<QLineEdit*>("loop")->selectAll();
        QTest::keyClicks(dialog.findChild<QLineEdit*>("loop"), QStringLiteral("3"));
        click({278, 380}); // OK
        return dialog.result();
    };
    harness.click(kMacroButton.x(), kMacroButton.y());
    ASSERT_EQ(harness.dialogs.opened, std::vector<QString>{"macroDialog"});

    const Bytes expected{0x00, 0x03, 0x01, 0x04, 0x81, 0x04, 0x01, 0x05, 0x81, 0x05};
    EXPECT_EQ(slotBytes(harness.image(), 0, 10), expected);
    EXPECT_NE(slotBytes(harness.keyboard.memory(), 0, 10), expected) << "not before Apply";
    auto onDisk = std::make_unique<MacroList>();
    ASSERT_EQ(loadMacroFile(harness.services.dataFolder / kMacroFileName, *onDisk).status,
              MacroFileStatus::Loaded);
    EXPECT_EQ(onDisk->namedCount(), 1u);
    EXPECT_EQ((*onDisk)[0].name(), u"Macro_001");

    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(slotBytes(harness.keyboard.memory(), 0, 10), expected);

    // Cancel leaves everything as it was.
    harness.dialogs.onExec = [](QDialog& opened) {
        auto& dialog = dynamic_cast<MacroDialog&>(opened);
        showAndWait(dialog);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {48, 380});
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {338, 380});
        return dialog.result();
    };
    harness.click(kMacroButton.x(), kMacroButton.y());
    EXPECT_EQ(harness.window->host().macros().namedCount(), 1u);
}

int keyIndexOf(std::string_view label) {
    for (int key = 0; key < kKeyCount; ++key)
        if (KeyTable[std::size_t(key)].label == label)
            return key;
    ADD_FAILURE() << "no key " << label;
    return 0;
}

class MacroWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.start();
        HostState& host = harness.window->host();
        for (const char16_t* name : {u"Macro_001", u"Macro_002", u"Macro_003"})
            ASSERT_TRUE(appendMacro(host.macros(), name));
        ASSERT_TRUE(host.saveMacros());
    }
    // Opens the macro dialog from the window and lets play act on it.
    void openMacros(const std::function<void(MacroDialog&)>& play) {
        harness.dialogs.onExec = [&play](QDialog& opened) {
            auto& dialog = dynamic_cast<MacroDialog&>(opened);
            showAndWait(dialog);
            play(dialog);
            return dialog.result();
        };
        harness.click(kMacroButton.x(), kMacroButton.y());
    }
    KeyMapEntry entry(const char* label) {
        return keyMapEntryAt(harness.image(),
                             KeyTable[std::size_t(keyIndexOf(label))].matrixPosition());
    }
    // The key's record as keymap.bin holds it.
    KeyAssignmentRecord fileRecord(const char* label) {
        std::ifstream in(keymapPath(harness.services.dataFolder), std::ios::binary);
        in.seekg(std::streamoff(kSettingsImageSize +
                                kKeyAssignmentRecordSize * std::size_t(keyIndexOf(label))));
        KeyAssignmentRecord record;
        in.read(reinterpret_cast<char*>(record.bytes().data()), kKeyAssignmentRecordSize);
        EXPECT_TRUE(in.good());
        return record;
    }

    WindowHarness harness;
};

TEST_F(MacroWindowTest, DeletingMacrosKeepsKeysOnTheirMacros) {
    HostState& host = harness.window->host();
    for (const auto& [label, slot] : {std::pair{"F1", 0}, std::pair{"F2", 1}, std::pair{"F3", 2}})
        ASSERT_TRUE(assignKey(host.keys(), host.image(), host.macros(), keyIndexOf(label),
                              AssignmentChoice::macro(slot))
                        .ok());
    harness.dialogs.answerOk = true;
    openMacros([](MacroDialog& dialog) {
        dialog.findChild<SkinListBox*>("names")->selectRow(1);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {108, 380}); // Delete Macro_002
        dialog.findChild<SkinListBox*>("names")->selectRow(0);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {108, 380}); // Delete Macro_001
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {48, 380});  // New
        EXPECT_EQ(dialog.findChild<SkinListBox*>("names")->rowTexts(),
                  (QStringList{"Macro_003", "Macro_001"}));
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {278, 380}); // OK
    });
    ASSERT_EQ(harness.dialogs.asked.size(), 2u);
    EXPECT_EQ(harness.dialogs.asked[0],
              "Macro Management | F2 plays Macro_002: it will get its default function.\n"
              "Confirm to delete?");
    EXPECT_TRUE(harness.dialogs.asked[1].contains("F1 plays Macro_001"));

    // F3 follows Macro_003 to slot 0; the new macro in slot 1 is played by no key.
    EXPECT_EQ(entry("F3"), (KeyMapEntry{4, 1, 0, 0}));
    for (const char* lost : {"F1", "F2"}) {
        const int position = KeyTable[std::size_t(keyIndexOf(lost))].matrixPosition();
        EXPECT_EQ(entry(lost), defaultKeyMapEntry(position)) << lost;
        EXPECT_EQ(fileRecord(lost).group(), std::uint8_t(FunctionGroup::SingleKey)) << lost;
        EXPECT_EQ(fileRecord(lost).data()[0], 0) << lost;
    }
    const KeyAssignmentRecord f3 = fileRecord("F3");
    EXPECT_EQ(f3.group(), std::uint8_t(FunctionGroup::MacroKey));
    EXPECT_EQ(Bytes(f3.data().begin(), f3.data().begin() + 4), (Bytes{4, 1, 0, 0}));
    EXPECT_EQ(host.keys().flags()[std::size_t(keyIndexOf("F2"))], 0);

    // The keyboard gets the key map with the next Apply.
    harness.click(kApply.x(), kApply.y());
    EXPECT_EQ(keyMapEntryAt(harness.keyboard.memory(),
                            KeyTable[std::size_t(keyIndexOf("F3"))].matrixPosition()),
              (KeyMapEntry{4, 1, 0, 0}));
}

TEST_F(MacroWindowTest, AMacroFileThatCannotBeWrittenKeepsTheDialogAndItsEdits) {
    // A folder where MacroDefine.bin belongs: no file can take its place.
    const auto file = harness.services.dataFolder / kMacroFileName;
    std::filesystem::remove(file);
    std::filesystem::create_directory(file);
    openMacros([&file](MacroDialog& dialog) {
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {48, 380});  // New
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {278, 380}); // OK
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.findChild<SkinListBox*>("names")->count(), 4) << "the edit is still there";
        std::filesystem::remove(file);
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {278, 380}); // OK again
        EXPECT_FALSE(dialog.isVisible());
    });
    ASSERT_EQ(harness.dialogs.told.size(), 1u);
    EXPECT_TRUE(harness.dialogs.told[0].startsWith(
        "Macro Management | The macros could not be saved on this computer ("));
    EXPECT_TRUE(harness.dialogs.told[0].endsWith(
        "). Your changes are still here: press OK to try again, or Cancel to drop them."));
    auto onDisk = std::make_unique<MacroList>();
    ASSERT_TRUE(loadMacroFile(file, *onDisk).ok());
    EXPECT_EQ(onDisk->namedCount(), 4u);
    EXPECT_EQ(harness.window->host().macros().namedCount(), 4u);
}

class ProfileWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.start();
        profiles = profileFolder(harness.services.dataFolder);
        std::filesystem::create_directories(profiles);
        ASSERT_TRUE(saveProfile(profiles / "Old.bin", harness.image(),
                                harness.window->host().keys().table())
                        .ok());
    }
    // Opens the profile dialog from the window and lets play act on it.
    void openProfiles(const std::function<void(ProfileDialog&)>& play) {
        harness.dialogs.onExec = [&play](QDialog& opened) {
            auto& dialog = dynamic_cast<ProfileDialog&>(opened);
            showAndWait(dialog);
            play(dialog);
            return int(QDialog::Accepted);
        };
        const int refreshes = harness.readDoneCount;
        harness.click(kProfileButton.x(), kProfileButton.y());
        // The window refreshes after every closing of the dialog.
        EXPECT_TRUE(QTest::qWaitFor([&] { return harness.readDoneCount > refreshes; }));
    }
    std::vector<std::string> profileFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(profiles))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    QString scratch(const char* name) const {
        return QString::fromStdString((harness.services.dataFolder / name).string());
    }

    WindowHarness harness;
    std::filesystem::path profiles;
};

TEST_F(ProfileWindowTest, ImportExportAndRenameThenTheWindowRefreshes) {
    // A profile file from elsewhere with another brightness.
    SettingsImage other = harness.image();
    other.at(layout::kBrightness) = harness.image().brightness() == 1 ? 2 : 1;
    ASSERT_TRUE(saveProfile(harness.services.dataFolder / "Work.Profile.bin", other,
                            harness.window->host().keys().table())
                    .ok());
    const std::size_t framesBefore = harness.trace.sentFrames().size();
    const int refreshesBefore = harness.readDoneCount;

    harness.dialogs.fileAnswer = scratch("Work.Profile.bin");
    openProfiles([](ProfileDialog& dialog) {
        EXPECT_EQ(dialog.findChild<SkinListBox*>("profiles")->rowTexts(), QStringList{"Old"});
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {320, 70}); // IMPORT
        EXPECT_EQ(dialog.findChild<SkinListBox*>("profiles")->rowTexts(), QStringList{"Work"});
        QTest::keyClick(&dialog, Qt::Key_Return);
        EXPECT_TRUE(dialog.isVisible()) << "Enter does not close the dialog";
    });
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Work.bin"});
    EXPECT_EQ(harness.image().brightness(), other.brightness());
    EXPECT_EQ(harness.trace.sentFrames().size(), framesBefore) << "the keyboard waits for Apply";
    EXPECT_EQ(harness.readDoneCount, refreshesBefore + 1);
    EXPECT_EQ(harness.delays.waits.back(), 50);
    EXPECT_EQ(harness.dialogs.pickerFolders.back(), QDir::homePath());
    EXPECT_TRUE(harness.dialogs.pickerFilters.back().startsWith("bin Files(*.bin);;"));

    // Export into the profile folder itself, then rename in place.
    harness.dialogs.fileAnswer = QString::fromStdString((profiles / "Home").string());
    openProfiles([](ProfileDialog& dialog) {
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {320, 115}); // EXPORT
        EXPECT_EQ(dialog.findChild<SkinListBox*>("profiles")->rowTexts(), QStringList{"Home"});
        SkinListBox* list = dialog.findChild<SkinListBox*>("profiles");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(0)).center());
        ASSERT_NE(list->editor(), nullptr);
        QTest::keyClicks(list->editor(), QStringLiteral("Travel"));
        QTest::keyClick(list->editor(), Qt::Key_Return);
        EXPECT_EQ(list->rowTexts(), QStringList{"Travel"});
    });
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Travel.bin"});
    EXPECT_EQ(std::filesystem::file_size(profiles / "Travel.bin"), kHostStateFileSize);

    // A file that is not a profile: the user is told and the old name stays.
    { std::ofstream(harness.services.dataFolder / "junk.bin") << "junk"; }
    harness.dialogs.fileAnswer = scratch("junk.bin");
    openProfiles([](ProfileDialog& dialog) {
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {320, 70});
        EXPECT_EQ(dialog.findChild<SkinListBox*>("profiles")->rowTexts(), QStringList{"Travel"});
    });
    ASSERT_FALSE(harness.dialogs.told.empty());
    EXPECT_TRUE(
        harness.dialogs.told.back().startsWith("Profile | The profile could not be imported"));
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Travel.bin"});
}

TEST_F(ProfileWindowTest, FailuresAreToldInTheWindowsLanguage) {
    SkinCache german{QStringLiteral(Q905_SKIN_DIR "/png/german")};
    HostState& host = harness.window->host();
    ASSERT_TRUE(
        saveProfile(harness.services.dataFolder / "Work.bin", harness.image(), host.keys().table())
            .ok());
    {
        ProfileDialog dialog(german, Language::German, host.settings(), host.keys(),
                             host.dataFolder(), QDir::homePath(), harness.dialogs);
        showAndWait(dialog);
        SkinListBox* list = dialog.findChild<SkinListBox*>("profiles");
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {},
                           list->visualItemRect(list->item(0)).center());
        ASSERT_NE(list->editor(), nullptr);
        list->editor()->clear();
        QTest::keyClick(list->editor(), Qt::Key_Return);
        EXPECT_EQ(list->rowTexts(), QStringList{"Old"});
        ASSERT_EQ(harness.dialogs.told.size(), 1u);
        EXPECT_EQ(harness.dialogs.told[0],
                  QString::fromUtf8("Profil | Das Profil konnte nicht umbenannt werden:\n"
                                    "Ein Profilname darf nicht leer, \".\" oder \"..\" sein, "
                                    "kein \"/\" oder \"\\\" enthalten und nicht nur aus "
                                    "\".bin\" bestehen."));

        testing::ImmutableFile stuck(profiles / "Old.bin");
        if (!stuck.isSet())
            GTEST_SKIP() << "no immutable files here";
        harness.dialogs.fileAnswer = scratch("Work.bin");
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {320, 70}); // Importieren
        EXPECT_EQ(list->rowTexts(), QStringList{"Work"});
        ASSERT_EQ(harness.dialogs.told.size(), 2u);
        EXPECT_EQ(harness.dialogs.told[1],
                  QString::fromUtf8("Profil | Das aktuelle Profil ist jetzt \"Work\", aber die "
                                    "alten Profildateien konnten nicht entfernt werden:\n") +
                      QString::fromStdString((profiles / "Old.bin").string()));
    }
    EXPECT_EQ(profileFiles(), (std::vector<std::string>{"Old.bin", "Work.bin"}));
}

TEST_F(ProfileWindowTest, DeclinedLaunchActionsChangeNothing) {
    auto table = std::make_unique<KeyAssignmentTable>(harness.window->host().keys().table());
    (*table)[42].setGroup(FunctionGroup::Startup);
    ASSERT_TRUE((*table)[42].setLaunchPath(u"/usr/bin/xterm"));
    SettingsImage other = harness.image();
    other.at(layout::kBrightness) = harness.image().brightness() == 1 ? 2 : 1;
    ASSERT_TRUE(saveProfile(harness.services.dataFolder / "Gift.bin", other, *table).ok());
    const QByteArray keymapBefore = [&] {
        QFile file(QString::fromStdString(keymapPath(harness.services.dataFolder).string()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }();
    const std::uint8_t brightness = harness.image().brightness();

    harness.dialogs.fileAnswer = scratch("Gift.bin");
    harness.dialogs.answerOk = false;
    openProfiles([](ProfileDialog& dialog) {
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {320, 70});
        EXPECT_EQ(dialog.findChild<SkinListBox*>("profiles")->rowTexts(), QStringList{"Old"});
    });
    ASSERT_EQ(harness.dialogs.asked.size(), 1u);
    EXPECT_TRUE(harness.dialogs.asked[0].contains("Q  Startup  /usr/bin/xterm"));
    EXPECT_TRUE(harness.dialogs.told.empty());
    EXPECT_EQ(harness.image().brightness(), brightness);
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Old.bin"});
    QFile keymap(QString::fromStdString(keymapPath(harness.services.dataFolder).string()));
    ASSERT_TRUE(keymap.open(QIODevice::ReadOnly));
    EXPECT_EQ(keymap.readAll(), keymapBefore);

    harness.dialogs.answerOk = true;
    openProfiles([](ProfileDialog& dialog) {
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {320, 70});
    });
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Gift.bin"});
    EXPECT_EQ(harness.window->host().keys().table()[42].launchPath(), u"/usr/bin/xterm");
}

} // namespace
} // namespace q905
