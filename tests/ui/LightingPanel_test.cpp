// SPDX-License-Identifier: GPL-3.0-or-later
// The lighting panel on a stand-in for the main window that hit-tests clicks in the panel's
// control table, keeps the keyboard focus across its controls and hands keys to it, as the main
// window does.
#include "controls/ui/ControlFocus.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinSlider.h"
#include "controls/ui/TextLayout.h"
#include "device/Settings.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"
#include "lighting/PanelSliders.h"
#include "lighting/ui/ColourPicker.h"
#include "lighting/ui/LightingPanel.h"
#include "lighting/ui/LightingPanelTexts.h"
#include "support/ControlChecks.h"

#include <QAccessible>
#include <QApplication>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace q905 {
namespace {

class AnsweringPicker : public ColourPicker {
  public:
    std::optional<std::uint32_t> pickColour(QWidget*, std::uint32_t initial) override {
        initials.push_back(initial);
        if (answers.empty()) {
            ADD_FAILURE() << "the colour dialog opened unexpectedly";
            return std::nullopt;
        }
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::uint32_t>> answers;
    std::vector<std::uint32_t> initials;
};

class PanelHost : public QWidget, public PaintedControlHost {
  public:
    PanelHost(Settings& settings, SkinCache& skin, ColourPicker& picker, PanelView& view,
              Language language = Language::English)
        : panel(new LightingPanel(settings, skin, picker, view, language, this)),
          m_settings(settings), m_language(language) {
        setWindowTitle(QStringLiteral("Panel"));
        resize(1000, 640);
        setMouseTracking(true);
        QObject::connect(panel, &LightingPanel::repaintRequested, this, [this] { update(); });
        QObject::connect(panel, &LightingPanel::focusRequested, this,
                         [this](int id) { focus.setFocusedControl(id); });
        nameControlWidgets(*this);
    }
    LightingPanel* panel;

    QWidget* hostWidget() override { return this; }
    std::span<const ControlSpec> controls() const override { return panel->controls(); }
    Language controlLanguage() const override { return m_language; }
    ControlStatus controlStatus(int id) const override { return panel->controlStatus(id); }
    QWidget* controlWidget(int id) const override { return panel->controlWidget(id); }
    void activateControl(int id) override { panel->activateControl(id); }
    std::optional<int> focusedControl() const override { return focus.focusedId(); }
    bool controlKey(int id, QKeyEvent* event) override { return panel->controlKey(id, event); }
    std::vector<ControlItem> controlItems(int id) const override { return panel->controlItems(id); }

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(53, 53, 53));
        panel->paint(painter, m_settings.deviceCopy());
        focus.paintMark(painter);
    }
    bool focusNextPrevChild(bool next) override { return focus.moveFocus(!next); }
    void keyPressEvent(QKeyEvent* event) override {
        if (!focus.handleKey(event))
            QWidget::keyPressEvent(event);
    }
    void mousePressEvent(QMouseEvent*) override { focus.pointerUsed(); }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (panel->isListOpen())
            panel->clickOpenList(p.x(), p.y());
        else if (const ControlSpec* hit = controlAt(controls(), m_language, p.x(), p.y()))
            panel->clickRegion(hit->id, p.x(), p.y());
        update();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (panel->hoverOpenList(p.x(), p.y()))
            update();
    }

  private:
    Settings& m_settings;
    Language m_language;

  public:
    ControlFocus focus{*this};
};

class LightingPanelTest : public ::testing::Test {
  protected:
    explicit LightingPanelTest(Settings& settings)
        : settings(settings), host(settings, skin, picker, view) {
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    LightingPanelTest() : LightingPanelTest(ownSettings) {}

    SettingsImage& image() { return settings.deviceSettings(); }

    void click(int x, int y) { QTest::mouseClick(&host, Qt::LeftButton, {}, QPoint(x, y)); }
    void pickEffectRow(int row) {
        click(100, 140);
        ASSERT_TRUE(host.panel->isListOpen());
        click(100, 148 + 20 * row + 10);
    }
    SkinSlider* slider(int controlId) {
        return host.findChild<SkinSlider*>(QStringLiteral("slider%1").arg(controlId));
    }
    // A click at a window point on the slider that lies there.
    void clickSlider(int controlId, int windowX) {
        SkinSlider* target = slider(controlId);
        QTest::mouseClick(target, Qt::LeftButton, {},
                          QPoint(windowX - target->x(), target->height() / 2));
    }
    QColor pixel(int x, int y) { return host.grab().toImage().pixelColor(x, y); }

    void activate() {
        host.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    }
    void key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &host;
        QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    }
    // Tab until the control has the focus.
    void tabTo(int id) {
        for (int i = 0; i < 40 && host.focus.focusedId() != id; ++i)
            key(Qt::Key_Tab);
        ASSERT_EQ(host.focus.focusedId(), id);
    }

    Settings ownSettings;
    Settings& settings;
    SkinCache skin{QStringLiteral(Q905_SKIN_DIR "/png/english")};
    AnsweringPicker picker;
    PanelView view;
    PanelHost host;
};

TEST_F(LightingPanelTest, ChoosingStaticWithMulticolourSelectsSlotOne) {
    image().at(layout::kLightingEffect) = 2;
    image().at(layout::kColourIndex) = kMulticolourIndex;
    pickEffectRow(0);
    EXPECT_FALSE(host.panel->isListOpen());
    EXPECT_EQ(image().lightingEffect(), 1);
    EXPECT_EQ(image().colourIndex(), 1);
    EXPECT_FALSE(slider(slider::kSpeed)->isVisible()) << "Static has no speed";

    click(212, 189); // the multicolour swatch does nothing under Static
    EXPECT_EQ(image().colourIndex(), 1);
}

TEST_F(LightingPanelTest, WaveAndSpectrumSelectMulticolourAndGreyTheSquares) {
    storeSlotColour(image(), 1, makeColour(200, 10, 10));
    image().at(layout::kLightingEffect) = 2;
    image().at(layout::kColourIndex) = 1;
    host.repaint();
    EXPECT_EQ(pixel(38, 188), QColor(200, 10, 10));

    for (int row : {2, 6}) {
        image().at(layout::kColourIndex) = 3;
        pickEffectRow(row);
        EXPECT_EQ(image().colourIndex(), kMulticolourIndex) << row;
        EXPECT_EQ(pixel(38, 188), QColor(192, 192, 192)) << row;
        click(88, 189); // a grey square does nothing
        EXPECT_EQ(image().colourIndex(), kMulticolourIndex);
    }
    EXPECT_EQ(image().lightingEffect(), 8);
}

TEST_F(LightingPanelTest, TheEffectListsLastPixelRowPicksProfileFive) {
    image().at(layout::kLightingEffect) = 2;
    click(100, 140);
    EXPECT_FALSE(slider(slider::kBrightness)->isVisible());
    EXPECT_FALSE(slider(slider::kResponseTime)->isVisible());
    EXPECT_TRUE(slider(slider::kReportRate)->isVisible());
    click(100, 468);
    EXPECT_FALSE(host.panel->isListOpen());
    EXPECT_EQ(image().lightingEffect(), 2);
    EXPECT_TRUE(slider(slider::kBrightness)->isVisible());

    click(100, 140);
    click(100, 467);
    EXPECT_EQ(image().lightingEffect(), 0x37);
    EXPECT_TRUE(view.perKeyColourMode);

    // The view switches lie over swatch 5's place while a profile is chosen.
    click(35, 180);
    EXPECT_FALSE(view.perKeyColourMode);
    click(135, 180);
    EXPECT_TRUE(view.perKeyColourMode);
    EXPECT_NE(image().colourIndex(), 5);
}

TEST_F(LightingPanelTest, ListRowsFollowThePointer) {
    click(100, 140);
    QTest::mouseMove(&host, QPoint(100, 190));
    EXPECT_FALSE(host.panel->hoverOpenList(100, 190)) << "the move already took row 2";
    EXPECT_TRUE(host.panel->hoverOpenList(100, 215));
    host.repaint();
    EXPECT_EQ(pixel(200, 215), QColor(80, 0, 0));
    EXPECT_EQ(pixel(200, 195), QColor(59, 59, 59));
    click(300, 300); // outside: only closes
    EXPECT_FALSE(host.panel->isListOpen());
}

TEST_F(LightingPanelTest, PalmRestControls) {
    click(100, 325);
    EXPECT_FALSE(slider(slider::kPalmSpeed)->isVisible());
    click(100, 395); // row 3
    EXPECT_EQ(palmEffect(image()), 3);

    click(135, 370); // no colour of its own under the palm wave
    EXPECT_TRUE(picker.initials.empty());
    click(100, 325);
    click(100, 335);
    picker.answers = {makeColour(7, 8, 9)};
    click(135, 370);
    EXPECT_EQ(palmColour(image()), makeColour(7, 8, 9));

    clickSlider(slider::kPalmSpeed, 28 + 219);
    EXPECT_EQ(slider(slider::kPalmSpeed)->value(), 4);
    EXPECT_EQ(image().at(palm::kSpeed), 5);
}

TEST_F(LightingPanelTest, APerKeyColourWritesExactlyTheSelectedRecords) {
    image().at(layout::kLightingEffect) = 0x34;
    std::array<bool, kKeyCount> selected{};
    selected[0] = selected[19] = selected[54] = true;
    const SettingsImage before = image();
    host.panel->applyPerKeyColour(selected, makeColour(0x12, 0x34, 0x56));

    const std::size_t page = layout::perKeyColourPage(1).offset;
    std::vector<std::size_t> changed;
    for (std::size_t i = 0; i < kSettingsImageSize; ++i)
        if (image().at(i) != before.at(i))
            changed.push_back(i);
    std::vector<std::size_t> expected;
    for (int key : {0, 19, 54})
        for (std::size_t byte = 1; byte <= 3; ++byte)
            expected.push_back(page + KeyTable[key].matrixOffset + byte);
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(changed, expected);
}

TEST_F(LightingPanelTest, SlidersFollowChangesMadeBehindThem) {
    image().at(layout::kLightingEffect) = 2;
    image().at(layout::kBrightness) = 30;
    image().at(layout::kResponseTime.offset) = 4;
    host.panel->refreshSliders();
    EXPECT_EQ(slider(slider::kBrightness)->value(), 30);
    // The image holds the response-time step itself; only the wire value is one higher.
    EXPECT_EQ(slider(slider::kResponseTime)->value(), 4);
    EXPECT_EQ(image().responseTime(), 4);

    clickSlider(slider::kBrightness, 28 + 7);
    EXPECT_EQ(image().brightness(), 0);
    // A revert copies the image back without telling the sliders; painting must not undo it.
    image().at(layout::kBrightness) = 30;
    host.repaint();
    EXPECT_EQ(image().brightness(), 30);
    EXPECT_EQ(slider(slider::kBrightness)->value(), 30);
}

QAccessibleInterface* accessibleOf(PanelHost& host, int id) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&host);
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface* child = root->child(i);
        const auto* painted = dynamic_cast<PaintedControlAccessible*>(child);
        if ((painted && painted->controlId() == id) ||
            (child->object() && child->object() == host.controlWidget(id)))
            return child;
    }
    return nullptr;
}

QString said(PanelHost& host, int id, QAccessible::Text text) {
    QAccessibleInterface* control = accessibleOf(host, id);
    return control ? control->text(text) : QStringLiteral("(none)");
}

TEST_F(LightingPanelTest, ScreenReadersHearEveryControlWithItsStateAndValueInBothLanguages) {
    image().at(layout::kLightingEffect) = 2; // Breathing: swatches, speed, no direction
    image().at(layout::kColourIndex) = 1;
    storeSlotColour(image(), 1, makeColour(200, 10, 10));
    image().at(layout::kReportRate.offset) = 3;
    image().at(layout::kGameMode.offset) = 1;
    image().at(palm::kSpeed) = 3; // position 2
    host.panel->refreshSliders();
    test::expectEveryControlAccessible(host);

    using namespace panelRegion;
    EXPECT_EQ(said(host, kEffectBox, QAccessible::Value), "Breathing");
    EXPECT_EQ(said(host, slider::kReportRate, QAccessible::Name), "Report rate");
    EXPECT_EQ(said(host, slider::kReportRate, QAccessible::Value), "1000 Hz");
    EXPECT_EQ(said(host, kFirstSwatch, QAccessible::Value), "#C80A0A");
    // Orca reads a spin button by its text, the value in its unit; a number set from outside is
    // the unit's number, never the step.
    QAccessibleInterface* rateSlider = accessibleOf(host, slider::kReportRate);
    EXPECT_EQ(rateSlider->role(), QAccessible::SpinBox);
    QAccessibleTextInterface* rateText = rateSlider->textInterface();
    ASSERT_NE(rateText, nullptr);
    EXPECT_EQ(rateText->text(0, rateText->characterCount()), "1000 Hz");
    QAccessibleValueInterface* rate = rateSlider->valueInterface();
    ASSERT_NE(rate, nullptr);
    EXPECT_EQ(rate->currentValue().toInt(), 1000);
    EXPECT_EQ(rate->minimumValue().toInt(), 125);
    EXPECT_EQ(accessibleOf(host, slider::kResponseTime)->valueInterface()->maximumValue().toInt(),
              20);
    rate->setCurrentValue(260);
    EXPECT_EQ(said(host, slider::kReportRate, QAccessible::Value), "250 Hz");
    EXPECT_TRUE(accessibleOf(host, kFirstSwatch)->state().selected);
    EXPECT_TRUE(accessibleOf(host, kGameMode)->state().checked);
    EXPECT_TRUE(accessibleOf(host, kDirectionTop)->state().invisible) << "Breathing has none";

    PanelHost german(settings, skin, picker, view, Language::German);
    german.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&german));
    test::expectEveryControlAccessible(german);
    EXPECT_EQ(said(german, kEffectBox, QAccessible::Name), "Lichteffekte");
    EXPECT_EQ(said(german, kEffectBox, QAccessible::Value), "Atmung");
    // Captioned in English in both languages: the names say what the eye reads.
    EXPECT_EQ(said(german, slider::kReportRate, QAccessible::Name), "Report rate");
    EXPECT_EQ(said(german, kPalmBox, QAccessible::Name), "Palm Rest Effects");
    EXPECT_EQ(said(german, slider::kPalmSpeed, QAccessible::Value), "3 von 5");
    EXPECT_EQ(said(german, slider::kPalmSpeed, QAccessible::Name), "Palm rest speed");
}

// The report rate and the palm-rest block are captioned in English in German too: their places
// hold the same pixels in both languages, where a translated caption beside them differs.
TEST_F(LightingPanelTest, TheReportRateAndPalmRestCaptionsAreDrawnInEnglishInGerman) {
    const QColor ground(53, 53, 53);
    const auto drawn = [&](Language language) {
        QWidget window;
        LightingPanel panel(settings, skin, picker, view, language, &window);
        QImage picture(1000, 640, QImage::Format_RGB32);
        picture.fill(ground);
        QPainter painter(&picture);
        panel.paint(painter, settings.deviceCopy());
        return picture;
    };
    const QImage english = drawn(Language::English);
    const QImage german = drawn(Language::German);
    using namespace panel_texts;
    const auto place = [](const Caption& caption) {
        return skinTextBox(qtText(caption.text, Language::English), caption.x, caption.y,
                           caption.size);
    };
    const auto inked = [&](const QRect& box) {
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (english.pixelColor(x, y) != ground)
                    return true;
        return false;
    };
    for (const Caption* caption : {&kReportRate, &kPalmRestEffects, &kPalmBrightness, &kPalmLow,
                                   &kPalmHigh, &kPalmSpeed, &kPalmSlow, &kPalmFast}) {
        SCOPED_TRACE(caption->text.english);
        const QRect box = place(*caption);
        ASSERT_TRUE(inked(box));
        EXPECT_TRUE(english.copy(box) == german.copy(box));
    }
    for (const Caption* caption : {&kResponseTime, &kBrightness, &kPalmDirection})
        EXPECT_FALSE(english.copy(place(*caption)) == german.copy(place(*caption)))
            << caption->text.english;
}

TEST_F(LightingPanelTest, TabVisitsTheShownControlsTopToBottomAndMarksTheFocus) {
    image().at(layout::kLightingEffect) = 13; // Radar: direction, swatches and speed
    image().at(layout::kDirection) = direction::kRight;
    host.panel->refreshSliders();
    activate();
    const std::vector<int> expected = test::expectedTabCycle(host, host.focus);
    host.focus.setFocusedControl(expected.back()); // one round from the first stop
    EXPECT_EQ(test::tabRound(host, host.focus, expected.size()), expected);
    // A radio group is one stop, at its chosen button.
    const auto direction = std::find_if(expected.begin(), expected.end(), [](int id) {
        return id >= panelRegion::kDirectionTop && id <= panelRegion::kDirectionLeft;
    });
    ASSERT_NE(direction, expected.end());
    EXPECT_EQ(*direction, panelRegion::kDirectionRight);
    EXPECT_EQ(std::count_if(expected.begin(), expected.end(),
                            [](int id) {
                                return id >= panelRegion::kDirectionTop &&
                                       id <= panelRegion::kDirectionLeft;
                            }),
              1);
    int lastTop = 0;
    for (int id : expected) {
        const int top = controlById(host.controls(), id)->rect.top;
        EXPECT_GE(top, lastTop) << "control " << id << " comes out of reading order";
        lastTop = top;
    }
    for (int id : std::initializer_list<int>{panelRegion::kFirstSwatch + 2, slider::kBrightness,
                                             panelRegion::kGameMode}) {
        tabTo(id);
        EXPECT_TRUE(
            test::focusMarkDrawnAround(&host, toQRect(controlById(host.controls(), id)->rect)))
            << id;
    }
}

TEST_F(LightingPanelTest, TheEffectListWorksFromTheKeyboard) {
    image().at(layout::kLightingEffect) = 1;
    activate();
    tabTo(panelRegion::kEffectBox);
    key(Qt::Key_Return);
    ASSERT_TRUE(host.panel->isListOpen());
    for (int i = 0; i < 10; ++i)
        key(Qt::Key_Down);
    key(Qt::Key_Return);
    EXPECT_FALSE(host.panel->isListOpen());
    EXPECT_EQ(image().lightingEffect(), 13) << "row 10, Radar";

    key(Qt::Key_Down, Qt::AltModifier);
    ASSERT_TRUE(host.panel->isListOpen());
    key(Qt::Key_Up);
    key(Qt::Key_Escape);
    EXPECT_FALSE(host.panel->isListOpen());
    EXPECT_EQ(image().lightingEffect(), 13) << "Esc chooses nothing";

    key(Qt::Key_Down); // a closed list changes the choice at once
    EXPECT_EQ(image().lightingEffect(), 0x33);
    EXPECT_TRUE(view.perKeyColourMode);
    key(Qt::Key_Up);
    EXPECT_EQ(image().lightingEffect(), 13);
    EXPECT_FALSE(view.perKeyColourMode);
}

// What Orca follows on Qt's bridge: the focus. Every entry the keys reach, in a closed list or
// an open one, takes it, and a choice is told as a selection.
TEST_F(LightingPanelTest, TheListsEntriesAreListItemsThatTakeTheReadersFocusFromTheKeys) {
    image().at(layout::kLightingEffect) = 1;
    std::vector<QString> focused;
    int selections = 0;
    listenToAccessibleEvents([&](QAccessibleEvent& event) {
        if (event.type() == QAccessible::Focus)
            focused.push_back(event.accessibleInterface()->text(QAccessible::Name));
        if (event.type() == QAccessible::StateChanged &&
            static_cast<QAccessibleStateChangeEvent&>(event).changedStates().selected &&
            event.accessibleInterface()->role() == QAccessible::ListItem)
            ++selections;
    });
    QAccessibleInterface* list = accessibleOf(host, panelRegion::kEffectBox);
    ASSERT_EQ(list->childCount(), kEffectCount);
    QAccessibleInterface* first = list->child(0);
    EXPECT_EQ(first->role(), QAccessible::ListItem);
    EXPECT_EQ(first->text(QAccessible::Name), "Static");
    EXPECT_TRUE(first->state().selected);
    EXPECT_FALSE(list->child(1)->state().selected);
    EXPECT_EQ(list->indexOfChild(list->child(5)), 5);
    EXPECT_EQ(first->parent(), list);
    EXPECT_EQ(accessibleOf(host, panelRegion::kPalmBox)->childCount(), kPalmEffectCount);

    pickEffectRow(2);

    activate();
    tabTo(panelRegion::kEffectBox);
    focused.clear();
    selections = 0;
    key(Qt::Key_Down); // closed: the next effect at once
    ASSERT_EQ(focused.size(), 1u);
    EXPECT_EQ(focused.back(), list->child(3)->text(QAccessible::Name));
    EXPECT_TRUE(list->child(3)->state().selected);
    EXPECT_TRUE(list->child(3)->state().focused);
    EXPECT_EQ(list->focusChild(), list->child(3));

    key(Qt::Key_Down, Qt::AltModifier); // open: the highlight goes ahead of the choice
    key(Qt::Key_Down);
    EXPECT_EQ(focused.back(), list->child(4)->text(QAccessible::Name));
    EXPECT_FALSE(list->child(4)->state().selected);
    key(Qt::Key_Return);
    EXPECT_TRUE(list->child(4)->state().selected);
    EXPECT_EQ(focused.size(), 2u) << "choosing the highlighted entry keeps the reader on it";
    EXPECT_EQ(selections, 2);
    listenToAccessibleEvents({});

    PanelHost german(settings, skin, picker, view, Language::German);
    EXPECT_EQ(accessibleOf(german, panelRegion::kEffectBox)->child(1)->text(QAccessible::Name),
              "Atmung");
}

TEST_F(LightingPanelTest, DirectionsSwatchesTogglesAndSlidersWorkFromTheKeyboard) {
    using namespace panelRegion;
    image().at(layout::kLightingEffect) = 13;
    image().at(layout::kDirection) = direction::kTop;
    image().at(layout::kColourIndex) = 1;
    image().at(layout::kGameMode.offset) = 0;
    host.panel->refreshSliders();
    activate();

    tabTo(kDirectionTop);
    key(Qt::Key_Right);
    EXPECT_EQ(image().direction(), direction::kBottom);
    EXPECT_EQ(host.focus.focusedId(), kDirectionBottom) << "the focus goes with the choice";
    key(Qt::Key_Left);
    key(Qt::Key_Left);
    EXPECT_EQ(image().direction(), direction::kLeft) << "the group wraps round";

    tabTo(kFirstSwatch + 1);
    picker.answers = {makeColour(1, 2, 3)};
    key(Qt::Key_Return); // selects colour 2 and opens the dialog at once
    EXPECT_EQ(image().colourIndex(), 2);
    EXPECT_EQ(slotColour(image(), 2), makeColour(1, 2, 3));
    EXPECT_EQ(picker.initials.size(), 1u);

    tabTo(slider::kBrightness);
    const int brightness = image().brightness();
    key(Qt::Key_Right);
    EXPECT_EQ(image().brightness(), brightness + 1);

    tabTo(kGameMode);
    key(Qt::Key_Space);
    EXPECT_EQ(image().gameMode(), 1);
}

} // namespace
} // namespace q905
