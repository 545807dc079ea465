// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Checks every skinned window's tests share: the accessible tree holds each declared control
// once, named and in the right state; Tab visits every control that can take the focus, in
// order; the focus mark is drawn where the focus is.
#include "controls/ui/ControlFocus.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/RegionRects.h"

#include <QAccessible>
#include <QApplication>
#include <QImage>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace q905::test {

// Every control of the table appears exactly once among the window's accessible children, with
// a role, a name and the state the window reports for it.
inline void expectEveryControlAccessible(PaintedControlHost& host) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(host.hostWidget());
    ASSERT_NE(root, nullptr);
    EXPECT_FALSE(root->text(QAccessible::Name).isEmpty()) << "the window has no name";
    for (const ControlSpec& control : host.controls()) {
        SCOPED_TRACE(::testing::Message() << "control id " << control.id);
        int found = 0;
        QAccessibleInterface* match = nullptr;
        for (int i = 0; i < root->childCount(); ++i) {
            QAccessibleInterface* child = root->child(i);
            const QWidget* widget = host.controlWidget(control.id);
            const auto* painted = dynamic_cast<PaintedControlAccessible*>(child);
            if ((widget && child->object() == widget) ||
                (!widget && painted && painted->controlId() == control.id)) {
                ++found;
                match = child;
            }
        }
        ASSERT_EQ(found, 1);
        const ControlStatus status = host.controlStatus(control.id);
        EXPECT_NE(match->role(), QAccessible::NoRole);
        EXPECT_FALSE(match->text(QAccessible::Name).trimmed().isEmpty());
        EXPECT_EQ(match->state().disabled, !status.enabled);
        if (!host.controlWidget(control.id)) {
            EXPECT_EQ(match->state().invisible, !status.visible || !host.hostWidget()->isVisible());
            EXPECT_EQ(match->state().checked, status.checked);
        }
    }
}

// The ids Tab should visit from the first stop, once round.
inline std::vector<int> expectedTabCycle(PaintedControlHost& host, const ControlFocus& focus) {
    std::vector<int> ids;
    for (int id : tabChain(host.controls()))
        if (focus.canFocus(id))
            ids.push_back(id);
    return ids;
}

// Presses Tab as often as there are stops and records where the focus went.
inline std::vector<int> tabRound(PaintedControlHost& host, const ControlFocus& focus,
                                 std::size_t stops) {
    std::vector<int> visited;
    for (std::size_t i = 0; i < stops; ++i) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget()
                                                      : host.hostWidget();
        QTest::keyClick(target, Qt::Key_Tab);
        visited.push_back(focus.focusedId().value_or(-1));
    }
    return visited;
}

// The ring around the control holds both black and white pixels (drawn at ratio 1).
inline bool focusMarkDrawnAround(const QImage& picture, const QRect& control) {
    const QImage shot = picture.convertToFormat(QImage::Format_RGB32);
    const QRect ring = control.adjusted(-2, -2, 1, 1);
    bool black = false;
    bool white = false;
    for (int x = ring.left(); x <= ring.right(); ++x)
        for (int y : {ring.top(), ring.bottom()}) {
            if (!shot.rect().contains(x, y))
                continue;
            const QRgb pixel = shot.pixel(x, y);
            black = black || pixel == qRgb(0, 0, 0);
            white = white || pixel == qRgb(255, 255, 255);
        }
    return black && white;
}
inline bool focusMarkDrawnAround(QWidget* window, const QRect& control) {
    return focusMarkDrawnAround(window->grab().toImage(), control);
}

} // namespace q905::test
