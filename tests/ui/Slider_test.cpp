// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SliderGeometry.h"
#include "controls/ui/SkinSlider.h"
#include "controls/ui/BitmapButton.h"

#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace q905 {
namespace {

class SliderTest : public ::testing::Test {
  protected:
    SliderTest() {
        window.resize(300, 100);
        slider = new SkinSlider(&window);
        slider->setControlId(1010);
        slider->move(26, 40);
        slider->createThumbWindow(QImage());
        slider->loadTracks(QImage(), QImage());
        slider->setRange(0, 3);
        window.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
    }
    QWidget window;
    SkinSlider* slider;
};

TEST_F(SliderTest, TakesTheTracksSizeAndHidesItsThumbWindow) {
    EXPECT_EQ(slider->size(), QSize(kTrackWidth, kTrackHeight));
    EXPECT_EQ(slider->pos(), QPoint(26, 40));
    ASSERT_NE(slider->thumbWindow(), nullptr);
    EXPECT_FALSE(slider->thumbWindow()->isVisible());
}

TEST_F(SliderTest, AClickMovesToTheNearestStepAndIsReported) {
    QSignalSpy reports(slider, &SkinSlider::sliderMoveReported);
    const SliderRect channel = slider->channelRectangle();
    const int n = channel.right - channel.left;
    // 1.49 steps in stays on 1; 1.5 steps goes on to 2.
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(channel.left + n / 2 - 1, 8));
    EXPECT_EQ(slider->value(), 1);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(channel.left + (n + 1) / 2, 8));
    EXPECT_EQ(slider->value(), 2);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(0, 8));
    EXPECT_EQ(slider->value(), 0);
    QTest::mouseClick(slider, Qt::LeftButton, {}, QPoint(219, 8));
    EXPECT_EQ(slider->value(), 3);
    EXPECT_EQ(slider->thumbOffset().x, kTrackWidth - kThumbWidth);
    ASSERT_FALSE(reports.isEmpty());
    EXPECT_EQ(reports.last().at(0).toInt(), 1010);

    reports.clear();
    QTest::mouseMove(slider, QPoint(100, 8));
    EXPECT_FALSE(reports.isEmpty()) << "every pointer move is reported";
}

TEST_F(SliderTest, DraggingFollowsThePointer) {
    QTest::mousePress(slider, Qt::LeftButton, {}, QPoint(5, 8));
    EXPECT_EQ(slider->value(), 0);
    QMouseEvent move(QEvent::MouseMove, QPointF(150, 8), slider->mapToGlobal(QPointF(150, 8)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(slider, &move);
    EXPECT_EQ(slider->value(), 2);
    QTest::mouseRelease(slider, Qt::LeftButton, {}, QPoint(150, 8));
    QTest::mouseMove(slider, QPoint(5, 8));
    EXPECT_EQ(slider->value(), 2);
}

TEST_F(SliderTest, TheWheelChangesNothing) {
    slider->setValue(1);
    QWheelEvent wheel(QPointF(50, 8), slider->mapToGlobal(QPointF(50, 8)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(slider, &wheel);
    EXPECT_EQ(slider->value(), 1);
}

} // namespace
} // namespace q905
