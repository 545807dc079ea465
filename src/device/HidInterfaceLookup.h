// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard lookup over an enumerated interface list: the first interface of the keyboard
// (vendor 0x04D9, product 0xA12E) whose path contains the substring, e.g. "mi_03" or "ol04".

#include "device/HidBackend.h"

#include <optional>
#include <string_view>
#include <vector>

namespace q905 {

std::optional<HidInterfaceInfo> findInterfacePath(const std::vector<HidInterfaceInfo>& interfaces,
                                                  std::string_view substring);

} // namespace q905
