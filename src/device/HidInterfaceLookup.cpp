// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidInterfaceLookup.h"

namespace q905 {

std::optional<HidInterfaceInfo> findInterfacePath(const std::vector<HidInterfaceInfo>& interfaces,
                                                  std::string_view substring) {
    for (const HidInterfaceInfo& info : interfaces) {
        if (info.vendorId == kKeyboardVendorId && info.productId == kKeyboardProductId &&
            info.path.find(substring) != std::string::npos)
            return info;
    }
    return std::nullopt;
}

} // namespace q905
