// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skin comes in two sets: pictures at one pixel per window pixel, and the same pictures
// drawn at twice the size for screens of a higher device pixel ratio, named as Qt names them
// ("kb_BK.png" and "kb_BK@2x.png").

#include <string>
#include <string_view>

namespace q905 {

inline constexpr int kHighPictureScale = 2;

// The file of a picture in the set of that scale: "@2x" goes before the extension.
inline std::string scaledPictureName(std::string_view name, int scale) {
    std::string scaled(name);
    if (scale <= 1)
        return scaled;
    const std::size_t slash = scaled.rfind('/');
    std::size_t dot = scaled.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        dot = scaled.size();
    return scaled.insert(dot, "@" + std::to_string(scale) + "x");
}

// True for a file of the larger set ("kb_BK@2x.png"), which is never a picture of its own.
inline bool isScaledPictureName(std::string_view name) {
    const std::size_t dot = name.rfind('.');
    const std::string_view stem = name.substr(0, dot);
    return stem.size() > 3 &&
           stem.substr(stem.size() - 3) == "@" + std::to_string(kHighPictureScale) + "x";
}

// The set for a screen of that device pixel ratio: anything above 1 takes the larger pictures,
// which Qt scales down smoothly to 1.25 or 1.5 instead of blowing small ones up.
inline int pictureScaleFor(double devicePixelRatio) {
    return devicePixelRatio > 1.0 ? kHighPictureScale : 1;
}

} // namespace q905
