// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Linux input (evdev) key codes to the Windows virtual-key codes every key table here speaks.

#include <cstdint>

namespace q905 {

// 0 when the key has no virtual-key code here; callers drop such keys.
[[nodiscard]] std::uint8_t virtualKeyFromEvdev(int evdevCode);
// The other way; 0 for a virtual-key code no key here reports.
[[nodiscard]] int evdevFromVirtualKey(std::uint8_t virtualKey);

} // namespace q905
