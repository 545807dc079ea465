// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/SliderGeometry.h"

#include <algorithm>

namespace q905 {

namespace {
constexpr int kThumbTravel = kTrackWidth - kThumbWidth;
}

SliderRect thumbRect(int position, int minimum, int maximum) {
    const int span = maximum - minimum;
    const int step = std::clamp(position, minimum, std::max(minimum, maximum)) - minimum;
    const int travel = span > 0 ? kThumbTravel * step / span : 0;
    const int left = kThumbRectShift + travel;
    return {left, 0, left + kThumbWidth, kThumbHeight};
}

SliderRect channelRect() {
    constexpr int left = kThumbWidth / 2;
    return {left, kTrackHeight / 2 - 2, left + kThumbTravel, kTrackHeight / 2 + 2};
}

ThumbOffset thumbOffset(const SliderRect& thumb, int thumbPictureWidth, int verticalOffset) {
    const int pictureLeft = thumb.left + (thumbPictureWidth - thumb.width()) / 2;
    return {pictureLeft - kThumbRectShift, verticalOffset};
}

int positionForClick(int clickX, const SliderRect& channel, int clientLeft, int minimum,
                     int maximum) {
    const int d = clickX - channel.left - clientLeft;
    const int n = channel.right - channel.left;
    if (n <= 0)
        return minimum;
    const int span = maximum - minimum;
    int p = span * d / n;
    const double f = static_cast<double>(span) * d / n;
    if (f - p >= 0.5)
        ++p;
    return minimum + p;
}

} // namespace q905
