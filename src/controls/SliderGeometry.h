// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where a bitmap slider's thumb sits and which position a click picks. The slider never paints:
// its owner draws the tracks and the thumb at the thumb offset computed here.

namespace q905 {

inline constexpr int kTrackWidth = 220;
inline constexpr int kTrackHeight = 17;
inline constexpr int kThumbWidth = 15;
inline constexpr int kThumbHeight = 14;
// The thumb rectangle lies this far right of where the thumb picture is drawn.
inline constexpr int kThumbRectShift = 10;

struct SliderRect {
    int left = 0, top = 0, right = 0, bottom = 0; // right and bottom exclusive
    int width() const { return right - left; }
    bool operator==(const SliderRect&) const = default;
};

struct ThumbOffset {
    int x = 0, y = 0;
    bool operator==(const ThumbOffset&) const = default;
};

// The thumb rectangle for a position: the minimum puts the thumb picture at the left end of
// the track, the maximum at the right end. Positions outside the range are clamped.
SliderRect thumbRect(int position, int minimum, int maximum);
// The channel clicks are measured along: from the centre of the thumb picture at the minimum
// to its centre at the maximum, so a click on the drawn thumb keeps its position.
SliderRect channelRect();
// The thumb picture centred on the thumb rectangle, as an offset from the slider's left edge.
ThumbOffset thumbOffset(const SliderRect& thumb, int thumbPictureWidth = kThumbWidth,
                        int verticalOffset = 0);
// The position a click at clickX picks, rounded to the nearer step; not yet clamped.
int positionForClick(int clickX, const SliderRect& channel, int clientLeft, int minimum,
                     int maximum);

} // namespace q905
