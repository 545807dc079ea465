// SPDX-License-Identifier: GPL-3.0-or-later
// The profile dialog for screen readers and the keyboard: every control named in both
// languages, Tab through the list and the buttons with the mark, and rename, import, export and
// close without the mouse, checked in the profile folder.
#include "MainWindowHarness.h"

#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "profiles/ProfileDialogControls.h"
#include "profiles/ProfileFiles.h"
#include "profiles/ui/ProfileDialog.h"
#include "support/ControlChecks.h"

#include <QLineEdit>

#include <algorithm>

namespace q905 {
namespace {

using namespace profile_dialog;

class ProfileDialogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        harness.start();
        profiles = profileFolder(harness.services.dataFolder);
        std::filesystem::create_directories(profiles);
        ASSERT_TRUE(saveProfile(profiles / "Old.bin", harness.image(),
                                harness.window->host().keys().table())
                        .ok());
    }
    std::unique_ptr<ProfileDialog> open(Language language) {
        HostState& host = harness.window->host();
        auto dialog = std::make_unique<ProfileDialog>(
            language == Language::German ? germanSkin : englishSkin, language, host.settings(),
            host.keys(), host.dataFolder(), QDir::homePath(), harness.dialogs);
        dialog->show();
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
        return dialog;
    }
    std::vector<std::string> profileFiles() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(profiles))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
    static void press(Qt::Key key) { QTest::keyClick(QApplication::focusWidget(), key); }

    testing::WindowHarness harness;
    SkinCache englishSkin{QStringLiteral(Q905_SKIN_DIR "/png/english")};
    SkinCache germanSkin{QStringLiteral(Q905_SKIN_DIR "/png/german")};
    std::filesystem::path profiles;
};

TEST_F(ProfileDialogTest, EveryControlIsNamedAndTabVisitsThemInOrderWithTheMark) {
    for (Language language : {Language::English, Language::German}) {
        SCOPED_TRACE(language == Language::German ? "German" : "English");
        auto dialog = open(language);
        test::expectEveryControlAccessible(*dialog);
        EXPECT_EQ(dialog->findChild<SkinListBox*>("profiles")->accessibleName(),
                  language == Language::German ? "Aktuelles Profil" : "Current profile");
    }

    auto dialog = open(Language::English);
    const auto expected = test::expectedTabCycle(*dialog, dialog->controlFocus());
    EXPECT_EQ(expected, (std::vector<int>{kList, kImport, kExport, kCloseArea}));
    press(Qt::Key_Backtab); // from the list, which has the focus first, to the last stop
    EXPECT_EQ(test::tabRound(*dialog, dialog->controlFocus(), expected.size()), expected);
    press(Qt::Key_Tab);
    press(Qt::Key_Tab);
    ASSERT_EQ(dialog->focusedControl(), kImport);
    EXPECT_TRUE(
        test::focusMarkDrawnAround(dialog.get(), toQRect(controlById(kControls, kImport)->rect)));
}

TEST_F(ProfileDialogTest, RenameImportExportAndCloseWithTheKeyboardAlone) {
    auto dialog = open(Language::English);
    auto* list = dialog->findChild<SkinListBox*>("profiles");
    ASSERT_EQ(QApplication::focusWidget(), list);

    press(Qt::Key_F2);
    ASSERT_NE(list->editor(), nullptr);
    QTest::keyClicks(list->editor(), QStringLiteral("Travel"));
    QTest::keyClick(list->editor(), Qt::Key_Return);
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Travel.bin"});
    EXPECT_TRUE(dialog->isVisible()) << "Enter ends the rename, not the dialog";

    // Import with Space, export with Enter.
    harness.dialogs.fileAnswer =
        QString::fromStdString((harness.services.dataFolder / "Work.bin").string());
    ASSERT_TRUE(saveProfile(harness.services.dataFolder / "Work.bin", harness.image(),
                            harness.window->host().keys().table())
                    .ok());
    press(Qt::Key_Tab);
    press(Qt::Key_Space);
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Work.bin"});
    EXPECT_EQ(list->rowTexts(), QStringList{"Work"});
    harness.dialogs.fileAnswer =
        QString::fromStdString((harness.services.dataFolder / "Home").string());
    press(Qt::Key_Tab);
    press(Qt::Key_Return);
    EXPECT_EQ(profileFiles(), std::vector<std::string>{"Home.bin"});
    EXPECT_TRUE(std::filesystem::exists(harness.services.dataFolder / "Home.bin"));

    press(Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
}

// Without a current profile there is nothing to rename: F2 or typing says so.
TEST_F(ProfileDialogTest, ARenameWithoutAProfileIsAnswered) {
    std::filesystem::remove(profiles / "Old.bin");
    auto dialog = open(Language::English);
    auto* list = dialog->findChild<SkinListBox*>("profiles");
    ASSERT_EQ(list->count(), 0);
    list->setFocus();
    press(Qt::Key_F2);
    QTest::keyClick(list, Qt::Key_T, Qt::NoModifier);
    ASSERT_EQ(harness.dialogs.told.size(), 2u);
    EXPECT_EQ(harness.dialogs.told[0],
              "Profile | The profile could not be renamed:\nThere is no current profile.");
    EXPECT_EQ(list->editor(), nullptr);
}

} // namespace
} // namespace q905
