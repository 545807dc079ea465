// SPDX-License-Identifier: GPL-3.0-or-later
// The shared keyboard focus and accessibility of painted controls, on a small window of its own:
// Tab order across painted controls and a real widget, skipping what cannot take the focus;
// Space activating; the accessible tree naming and placing every control.
#include "controls/ui/ControlFocus.h"
#include "controls/ui/FocusMark.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "support/ControlChecks.h"

#include <QAccessible>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace q905 {
namespace {

enum Id : int { kOk, kMark, kField, kToggle, kOff };

constexpr std::array<ControlSpec, 5> kTable{{
    {kOk, ControlKind::Button, {10, 10, 59, 29}, {"OK", "OK"}, 3},
    {kMark, ControlKind::Button, {90, 0, 99, 9}, {"Close", "Schließen"}},
    {kField, ControlKind::TextField, {10, 40, 89, 59}, {"Name", "Name"}, 1},
    {kToggle,
     ControlKind::Toggle,
     {10, 70, 25, 85},
     {"Loop", "Schleife"},
     2,
     RegionRect{60, 70, 75, 85}},
    {kOff, ControlKind::Button, {10, 90, 59, 109}, {"Later", "Später"}, 4},
}};

class SmallWindow : public QWidget, public PaintedControlHost {
  public:
    SmallWindow() {
        setWindowTitle(QStringLiteral("Small"));
        resize(100, 120);
        m_field.setGeometry(10, 40, 80, 20);
    }
    QWidget* hostWidget() override { return this; }
    std::span<const ControlSpec> controls() const override { return kTable; }
    Language controlLanguage() const override { return language; }
    ControlStatus controlStatus(int id) const override {
        ControlStatus status;
        status.enabled = id != kOff;
        status.checked = id == kToggle && toggled;
        return status;
    }
    QWidget* controlWidget(int id) const override {
        return id == kField ? const_cast<QLineEdit*>(&m_field) : nullptr;
    }
    void activateControl(int id) override { activated.push_back(id); }
    std::optional<int> focusedControl() const override { return focus.focusedId(); }

    Language language = Language::English;
    bool toggled = true;
    std::vector<int> activated;
    QLineEdit m_field{this};
    ControlFocus focus{*this};

  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(90, 90, 90));
        focus.paintMark(painter);
    }
    bool focusNextPrevChild(bool next) override { return focus.moveFocus(!next); }
    void keyPressEvent(QKeyEvent* event) override {
        if (!focus.handleKey(event))
            QWidget::keyPressEvent(event);
    }
};

class ControlFocusTest : public ::testing::Test {
  protected:
    void SetUp() override {
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    }
    SmallWindow window;
};

TEST_F(ControlFocusTest, TabVisitsTheStopsInOrderSkippingTheDisabledAndSpaceActivates) {
    EXPECT_EQ(window.focus.focusedId(), kField); // Qt's first focus, the first stop too
    std::vector<int> visited;
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        visited.push_back(window.focus.focusedId().value_or(-1));
    }
    EXPECT_EQ(visited, (std::vector<int>{kToggle, kOk, kField, kToggle}));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(window.focus.focusedId(), kOk);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(window.focus.focusedId(), kToggle);
    QTest::keyClick(&window, Qt::Key_Space);
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(window.activated, (std::vector<int>{kToggle, kToggle}));
}

TEST_F(ControlFocusTest, TheAccessibleTreeNamesEveryControlInTheWindowsLanguageAtItsPlace) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(root, nullptr);
    ASSERT_EQ(root->childCount(), 5);
    for (Language language : {Language::English, Language::German}) {
        window.language = language;
        nameControlWidgets(window);
        for (int i = 0; i < root->childCount(); ++i) {
            QAccessibleInterface* child = root->child(i);
            EXPECT_EQ(root->indexOfChild(child), i);
            EXPECT_EQ(child->parent(), root);
            if (kTable[i].id == kField) {
                EXPECT_EQ(child->object(), &window.m_field);
                continue;
            }
            EXPECT_EQ(child->text(QAccessible::Name).toStdString(), kTable[i].name.in(language));
            const QRect place = child->rect().translated(-window.mapToGlobal(QPoint(0, 0)));
            EXPECT_EQ(place.topLeft(),
                      QPoint(kTable[i].rectIn(language).left, kTable[i].rectIn(language).top));
            EXPECT_EQ(root->childAt(child->rect().center().x(), child->rect().center().y()), child);
        }
    }
    QAccessibleInterface* toggle = root->child(3);
    EXPECT_EQ(toggle->role(), QAccessible::CheckBox);
    EXPECT_TRUE(toggle->state().checked);
    EXPECT_TRUE(root->child(4)->state().disabled);
    EXPECT_FALSE(root->child(1)->state().focusable);
    toggle->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    EXPECT_EQ(window.activated, std::vector<int>{kToggle});
    test::expectEveryControlAccessible(window);
}

TEST_F(ControlFocusTest, TheMarkFollowsTheKeyboardAndHidesAfterAClick) {
    const auto expected = test::expectedTabCycle(window, window.focus);
    const auto visited = test::tabRound(window, window.focus, expected.size());
    EXPECT_EQ(visited, (std::vector<int>{kToggle, kOk, kField}));
    QTest::keyClick(&window.m_field, Qt::Key_Tab);
    EXPECT_TRUE(test::focusMarkDrawnAround(&window, toQRect(kTable[3].rect)));
    window.focus.pointerUsed();
    EXPECT_FALSE(test::focusMarkDrawnAround(&window, toQRect(kTable[3].rect)));
}

// Qt says that the window took its focus whenever it takes it from one of its widgets; a screen
// reader would read the window before the control. What goes out names the painted control.
TEST_F(ControlFocusTest, TheWindowTakingQtsFocusIsToldAsThePaintedControlThatHasIt) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(window.focus.focusedId(), kToggle);
    window.m_field.setFocus(Qt::MouseFocusReason);
    std::vector<QString> focused;
    listenToAccessibleEvents([&](QAccessibleEvent& event) {
        if (event.type() == QAccessible::Focus)
            focused.push_back(event.accessibleInterface()->text(QAccessible::Name));
    });
    window.setFocus(Qt::OtherFocusReason);
    // What QWidget::setFocus sends while a screen reader listens (none listens here).
    QAccessibleEvent qtsWord(&window, QAccessible::Focus);
    relayQtAccessibleEvent(&qtsWord);
    listenToAccessibleEvents({});
    EXPECT_EQ(focused, std::vector<QString>{QStringLiteral("Loop")});
}

// A window opened from the keyboard (Enter on a button) shows the mark on its first control at
// once, as the window it came from did; one opened with the mouse does not.
TEST_F(ControlFocusTest, AWindowOpenedFromTheKeyboardShowsTheMarkFromTheStart) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    SmallWindow opened;
    opened.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&opened));
    EXPECT_TRUE(opened.focus.markShown());
    opened.focus.pointerUsed();
    SmallWindow clicked;
    EXPECT_FALSE(clicked.focus.markShown());
}

// Where the ring would leave the window it runs inside the control: no side is cut off.
TEST(FocusMark, AtTheWindowsEdgeEverySideShows) {
    QImage shot(100, 50, QImage::Format_RGB32);
    const QRgb grey = qRgb(90, 90, 90);
    shot.fill(grey);
    QPainter painter(&shot);
    paintFocusMark(painter, QRect(0, 10, 60, 40), shot.rect());
    painter.end();
    const auto inked = [&](int x0, int y0, int x1, int y1) {
        for (int x = x0; x <= x1; ++x)
            for (int y = y0; y <= y1; ++y)
                if (shot.pixel(x, y) != grey)
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(0, 10, 0, 48)) << "left";
    EXPECT_TRUE(inked(0, 8, 60, 8)) << "top";
    EXPECT_TRUE(inked(61, 10, 61, 48)) << "right";
    EXPECT_TRUE(inked(0, 49, 60, 49)) << "bottom";
}

} // namespace
} // namespace q905
