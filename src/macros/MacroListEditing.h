// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What New, Delete and rename do to the list of macros, for the macro dialog and the command
// line alike. Named records stay contiguous from record 0, so a macro's position remains the
// device slot that plays it.

#include "macros/MacroModel.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace q905 {

// One named macro per device slot.
inline constexpr std::size_t kMaxNamedMacros = layout::kMacroSlotCount;
// The loop box takes at most three digits.
inline constexpr int kMaxLoopCount = 999;

// Empty when the text can name a macro, else why not: an empty name would free the record in
// the middle of the list, and the record keeps at most 254 characters.
std::string checkMacroName(std::u16string_view name);

// The names of the named records, in list order.
std::vector<std::u16string> macroNames(const MacroList& macros);

// New: a free record after the last named one gets the name, with no events and loop 1. Nothing
// when 32 macros exist already or the name is refused.
std::optional<int> appendMacro(MacroList& macros, std::u16string_view name);

// Delete: the records after index move down by one and the last named record becomes free.
// False when index is not a named record.
bool deleteMacro(MacroList& macros, int index);

} // namespace q905
