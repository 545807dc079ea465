// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Skin pictures may carry a device pixel ratio (the "@2x" set holds two pixels per window pixel
// each way). Places and sizes are given in window pixels; these turn them into the picture's.

#include <QImage>
#include <QRect>
#include <QSize>

class QPainter;

namespace q905 {

// The picture's size in window pixels.
QSize logicalSize(const QImage& picture);
// A rectangle in window pixels as the picture's own pixels.
QRect pixelRect(const QImage& picture, const QRect& logical);
// The part of the picture under a rectangle in window pixels, keeping its ratio.
QImage cutOut(const QImage& picture, const QRect& logical);
// Draws the part `source` (in window pixels of the picture) with its top-left corner at `at`.
void drawPart(QPainter& painter, const QPoint& at, const QImage& picture, const QRect& source);
// Pictures are drawn pixel for pixel at ratios 1 and 2; between them (1.25, 1.5) they are
// scaled down, smoothly.
void smoothWhenScaled(QPainter& painter);

} // namespace q905
