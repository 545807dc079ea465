// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Names and paths are stored in the files as UTF-16LE; the program works in UTF-8.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace q905 {

std::string utf16ToUtf8(std::u16string_view text);
std::u16string utf8ToUtf16(std::string_view text);

// Reads a NUL-terminated UTF-16LE text from a fixed field (stops at the field's end).
std::u16string readUtf16Field(std::span<const std::uint8_t> field);
// Writes text plus NUL into a fixed field, zero-filling the rest; text that does not fit
// with its NUL is cut. Returns the number of characters stored.
std::size_t writeUtf16Field(std::span<std::uint8_t> field, std::u16string_view text);

} // namespace q905
