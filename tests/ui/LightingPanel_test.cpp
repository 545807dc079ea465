// The lighting panel on a stand-in for the main window that dispatches clicks by the button
// table's panel regions, as the main window does.
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinSlider.h"
#include "device/Settings.h"
#include "lighting/PanelRules.h"
#include "lighting/PanelSliders.h"
#include "lighting/ui/ColourPicker.h"
#include "lighting/ui/LightingPanel.h"

#include <QPainter>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <algorithm>
#include <deque>

namespace q905 {
namespace {

struct Rect {
    int region, left, top, right, bottom;
};
// The panel's entries of the main window's button table; the first match wins.
constexpr Rect kPanelRegions[] = {
    {3, 28, 133, 248, 148},   {4, 116, 152, 151, 167},  {5, 148, 152, 183, 167},
    {6, 179, 152, 214, 167},  {7, 211, 152, 246, 167},  {8, 28, 179, 48, 199},
    {9, 53, 179, 73, 199},    {10, 78, 179, 98, 199},   {11, 103, 179, 123, 199},
    {12, 128, 179, 148, 199}, {13, 153, 179, 173, 199}, {14, 178, 179, 198, 199},
    {15, 202, 179, 222, 199}, {16, 94, 578, 114, 598},  {17, 231, 578, 251, 598},
    {23, 28, 317, 248, 332},  {24, 116, 337, 151, 352}, {25, 148, 337, 183, 352},
    {33, 125, 360, 145, 380},
};

int hitTest(int x, int y, std::uint8_t effect) {
    auto inside = [&](int l, int t, int r, int b) { return x >= l && x <= r && y >= t && y <= b; };
    if (effect >= 0x33) {
        if (inside(28, 175, 42, 189))
            return 34;
        if (inside(130, 175, 144, 189))
            return 35;
    }
    for (const Rect& rect : kPanelRegions)
        if (inside(rect.left, rect.top, rect.right, rect.bottom))
            return rect.region;
    return -1;
}

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

class PanelHost : public QWidget {
  public:
    PanelHost(Settings& settings, SkinCache& skin, ColourPicker& picker, PanelView& view)
        : m_settings(settings) {
        resize(1000, 640);
        setMouseTracking(true);
        panel = new LightingPanel(settings, skin, picker, view, Language::English, this);
        QObject::connect(panel, &LightingPanel::repaintRequested, this, [this] { update(); });
    }
    LightingPanel* panel;

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(53, 53, 53));
        panel->paint(painter, m_settings.deviceCopy());
    }
    void mouseReleaseEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (panel->isListOpen())
            panel->clickOpenList(p.x(), p.y());
        else if (const int region =
                     hitTest(p.x(), p.y(), m_settings.deviceSettings().lightingEffect());
                 region >= 0)
            panel->clickRegion(region, p.x(), p.y());
        update();
    }
    void mouseMoveEvent(QMouseEvent* event) override {
        const QPoint p = event->position().toPoint();
        if (panel->hoverOpenList(p.x(), p.y()))
            update();
    }

  private:
    Settings& m_settings;
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

} // namespace
} // namespace q905
