// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text from outside (arguments, file names, names stored in files) is checked before it is
// used, and escaped before it reaches a terminal or a line-based output, so a newline or an
// escape sequence inside a path can neither forge a line nor drive the terminal.

#include <string>
#include <string_view>

namespace q905 {

bool isValidUtf8(std::string_view text);

// Whether the text holds a control character (C0, DEL, C1). Bytes that are not UTF-8 are not.
bool hasControlCharacters(std::string_view text);

// Control characters (C0, DEL, C1) become \n, \t, \r, \\ or \xNN; bytes that are not
// UTF-8 become \xNN; everything else stays as it is.
std::string escapeForTerminal(std::string_view text);

} // namespace q905
