// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The mark around the control that has the keyboard focus: a dotted ring in black and white,
// so it shows on the skin's dark plates and on its light ones alike.

class QPainter;
class QRect;

namespace q905 {

// Draws the ring just outside `control` (window pixels); where that would leave `window`, the
// ring runs along the inside of the control's edge instead, so no side of it is cut off.
void paintFocusMark(QPainter& painter, const QRect& control, const QRect& window);

} // namespace q905
