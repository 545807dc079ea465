// Every text of the composed window, in both languages and every view of the panel, stays
// inside its panel and clear of the other texts and of the controls.
#include "MainWindowHarness.h"

#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"

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
void expectTextsFit(MainWindow& window, const std::string& view) {
    (void)window.frame();
    const TextLayout& layout = window.textLayout();
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
                std::string(effect.englishName) + ", palm " + std::to_string(palmCode);
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
    ASSERT_TRUE(QTest::qWaitFor([&window] { return !window.connection().connected(); }));
    expectTextsFit(window, "no keyboard");
}

INSTANTIATE_TEST_SUITE_P(Languages, TextFit, ::testing::Values(Language::English, Language::German),
                         [](const ::testing::TestParamInfo<Language>& info) {
                             return info.param == Language::German ? "German" : "English";
                         });

} // namespace
} // namespace q905
