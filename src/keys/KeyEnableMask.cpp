// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeyEnableMask.h"

#include <cstdint>

namespace q905 {

namespace {
std::size_t maskByteOffset(int position) {
    return layout::kKeyEnableMask.offset + static_cast<std::size_t>(position / kKeysPerMaskByte);
}
std::uint8_t maskBit(int position) {
    return static_cast<std::uint8_t>(1u << (position % kKeysPerMaskByte));
}
} // namespace

bool isKeyEnabled(const SettingsImage& image, int position) {
    return (image.at(maskByteOffset(position)) & maskBit(position)) != 0;
}

void setKeyEnabled(SettingsImage& image, int position, bool enabled) {
    std::uint8_t& byte = image.at(maskByteOffset(position));
    if (enabled)
        byte |= maskBit(position);
    else
        byte &= static_cast<std::uint8_t>(~maskBit(position));
}

} // namespace q905
