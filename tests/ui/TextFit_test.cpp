// SPDX-License-Identifier: GPL-3.0-or-later
// Every text of the composed window, in both languages and every view of the panel, and of
// every dialog and dialog page, stays inside its panel and clear of the other texts and of the
// controls.
#include "MainWindowHarness.h"

#include "keys/KeyDialogControls.h"
#include "keys/ui/KeyAssignmentDialog.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"
#include "lighting/ui/ColourDialog.h"
#include "macros/KeyNameTable.h"
#include "macros/MacroTestSupport.h"
#include "macros/ui/MacroDialog.h"
#include "profiles/ui/ProfileDialog.h"

#include <QPushButton>
#include <QStyle>

namespace q905 {
namespace {

using testing::WindowHarness;

std::string describe(const PlacedText& text) {
    const QRect& b = text.box;
    return text.text.toStdString() + " at " + std::to_string(b.x()) + "," + std::to_string(b.y()) +
           " " + std::to_string(b.width()) + "x" + std::to_string(b.height()) + " (height " +
           std::to_string(text.height) + " of " + std::to_string(text.givenHeight) + ")";
}

// The failures of one composition, named after the view.
void expectTextsFit(const TextLayout& layout, const std::string& view) {
    const auto& texts = layout.texts();
    ASSERT_FALSE(texts.empty()) << view;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        const PlacedText& text = texts[i];
        EXPECT_TRUE(text.panel.contains(text.box))
            << view << ": leaves its panel: " << describe(text);
        EXPECT_GT(text.height, TextLayout::kSmallestHeight) << view << ": " << describe(text);
        for (const QRect& control : layout.controls())
            EXPECT_FALSE(control.intersects(text.box))
                << view << ": over a control: " << describe(text);
        for (std::size_t j = i + 1; j < texts.size(); ++j)
            EXPECT_FALSE(texts[j].box.intersects(text.box))
                << view << ": " << describe(text) << " meets " << describe(texts[j]);
    }
}

void expectTextsFit(MainWindow& window, const std::string& view) {
    (void)window.frame();
    expectTextsFit(window.textLayout(), view);
}

// A dialog's texts as it paints them now.
template <typename Dialog> void expectDialogTextsFit(Dialog& dialog, const std::string& view) {
    (void)dialog.grab();
    expectTextsFit(dialog.textLayout(), view);
    // Buttons that Qt draws must hold their captions too.
    for (const QPushButton* button : dialog.template findChildren<QPushButton*>()) {
        const int frame = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()),
                  button->width() - 2 * frame)
            << view << ": " << button->text().toStdString();
    }
}

void show(QDialog& dialog) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
}

// The key whose name takes the most room in the dialog's title line.
std::uint8_t widestKeyName() {
    std::uint8_t widest = 0;
    for (int code = 0; code < 256; ++code) {
        const auto width = [](int c) {
            return skinTextBox(QString::fromStdString(nameOf(static_cast<std::uint8_t>(c))), 0, 0,
                               18)
                .width();
        };
        if (width(code) > width(widest))
            widest = static_cast<std::uint8_t>(code);
    }
    return widest;
}

class TextFit : public ::testing::TestWithParam<Language> {};

TEST_P(TextFit, EveryViewInBothLanguages) {
    WindowHarness harness;
    harness.services.language = GetParam();
    MainWindow& window = harness.start();
    for (const EffectInfo& effect : EffectCatalogue) {
        harness.image().at(layout::kLightingEffect) = effect.code;
        for (int palmCode = 0; palmCode < kPalmEffectCount; ++palmCode) {
            harness.image().at(palm::kEffect) = static_cast<std::uint8_t>(palmCode);
            const std::string view =
                std::string(effect.name.english) + ", palm " + std::to_string(palmCode);
            window.view().perKeyColourMode = false;
            expectTextsFit(window, view);
            if (isProfileEffect(effect.code)) {
                window.view().perKeyColourMode = true;
                expectTextsFit(window, view + ", DIY");
            }
        }
    }
    harness.click(944, 12); // the help menu
    ASSERT_TRUE(window.helpMenuOpen());
    expectTextsFit(window, "help menu");
    harness.keyboard.unplug();
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.keyboard().connected(); }));
    expectTextsFit(window, "no keyboard");
}

TEST_P(TextFit, EveryDialogPageInBothLanguages) {
    WindowHarness harness;
    harness.services.language = GetParam();
    MainWindow& window = harness.start();
    SkinCache& skin = window.skin();

    ColourDialog colour(skin, GetParam(), makeColour(12, 34, 56));
    expectDialogTextsFit(colour, "colour dialog");

    HostState& host = window.host();
    ProfileDialog profiles(skin, GetParam(), host.settings(), host.keys(), host.dataFolder(),
                           QString(), harness.dialogs);
    expectDialogTextsFit(profiles, "profile dialog");

    {
        testing::ManualClock clock;
        testing::FakeKeyCapture capture;
        MacroList macros;
        MacroDialog dialog(skin, GetParam(), macros, clock, capture, harness.dialogs);
        show(dialog);
        expectDialogTextsFit(dialog, "macro dialog without macros");
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {48, 380}); // New
        ASSERT_TRUE(dialog.workingMacro().selected());
        expectDialogTextsFit(dialog, "macro dialog, macro selected");
        QTest::mouseClick(&dialog, Qt::LeftButton, {}, {310, 112}); // Record
        ASSERT_TRUE(dialog.workingMacro().recording());
        expectDialogTextsFit(dialog, "macro dialog, recording");
    }

    const std::uint8_t key = widestKeyName();
    KeyAssignmentDialog keys(skin, harness.dialogs, key, KeyAssignmentRecord{}, true,
                             window.host().macros(), GetParam(), nullptr);
    show(keys);
    const std::string named = "key dialog for " + nameOf(key) + ", ";
    expectDialogTextsFit(keys, named + "keys page");
    QTest::mouseClick(&keys, Qt::LeftButton, {}, {140, 40});
    ASSERT_EQ(keys.state().page(), KeyDialogPage::Macro);
    expectDialogTextsFit(keys, named + "macro page");
    QTest::mouseClick(&keys, Qt::LeftButton, {}, {240, 40});
    ASSERT_EQ(keys.state().page(), KeyDialogPage::Basic);
    expectDialogTextsFit(keys, named + "basic page");
    QTest::mouseClick(&keys, Qt::LeftButton, {}, {330, 40});
    ASSERT_EQ(keys.state().page(), KeyDialogPage::Advance);
    // A chosen file shows its name in its row's path box.
    harness.dialogs.fileAnswer = QStringLiteral("/home/user/Documents/shopping-list.txt");
    QTest::mouseClick(&keys, Qt::LeftButton, {},
                      {340, key_dialog::inLaunchRow(key_dialog::kBrowseRowZero, 2).top + 12});
    ASSERT_EQ(keys.state().launchType(), 2);
    expectDialogTextsFit(keys, named + "advance page");
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFit, ::testing::Values(Language::English, Language::German),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param == Language::German ? "German" : "English";
                         });

} // namespace
} // namespace q905
