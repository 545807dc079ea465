// SPDX-License-Identifier: GPL-3.0-or-later
// The pointer handling every skinned dialog shares, on a dialog of its own: a press on a control
// never drags the dialog, a press on the background does, and a drag is never a click.
#include "controls/ui/SkinnedDialog.h"

#include <QMouseEvent>
#include <QTest>

#include <gtest/gtest.h>

#include <array>
#include <vector>

namespace q905 {
namespace {

constexpr std::array<ControlSpec, 1> kTable{
    {{1, ControlKind::Button, {10, 10, 59, 29}, {"OK", "OK"}, 1}}};

class OneButton : public SkinnedDialog {
  public:
    OneButton() : SkinnedDialog(Language::English, kTable, nullptr) { setFixedSize(200, 120); }
    ControlStatus controlStatus(int) const override { return {}; }
    void activateControl(int) override {}
    std::vector<QPoint> clicks;

  protected:
    bool isBackground(QPoint point) const override {
        return !QRect(QPoint(10, 10), QPoint(59, 29)).contains(point);
    }
    void clicked(QPoint point) override { clicks.push_back(point); }
};

void pressMoveRelease(QWidget& window, QPoint from, QPoint to) {
    QTest::mousePress(&window, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, QPointF(to), window.mapToGlobal(QPointF(to)), Qt::NoButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(&window, &move);
    QTest::mouseRelease(&window, Qt::LeftButton, {}, to);
}

TEST(SkinnedDialog, OnlyTheBackgroundDragsAndADragIsNoClick) {
    OneButton dialog;
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    const QPoint start = dialog.pos();

    // Pressed on the button and let go off it: the dialog stays where it is.
    pressMoveRelease(dialog, {20, 20}, {120, 80});
    EXPECT_EQ(dialog.pos(), start);

    dialog.clicks.clear();
    pressMoveRelease(dialog, {20, 20}, {20, 20});
    EXPECT_EQ(dialog.clicks, std::vector<QPoint>{QPoint(20, 20)});

    // From the background: a drag, not a click. Without a window manager the dialog moves
    // itself; with one the manager does.
    dialog.clicks.clear();
    pressMoveRelease(dialog, {150, 80}, {190, 110});
    EXPECT_TRUE(dialog.clicks.empty());
    if (dialog.pos() != start) {
        EXPECT_EQ(dialog.pos(), start + QPoint(40, 30));
    }
}

} // namespace
} // namespace q905
