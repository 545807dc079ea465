// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A dialog's fixed hit rectangle as a widget rectangle, for painting at the same place.

#include "controls/RegionTable.h"

#include <QRect>

namespace q905 {

inline QRect toQRect(const RegionRect& region) {
    return QRect(QPoint(region.left, region.top), QPoint(region.right, region.bottom));
}

} // namespace q905
