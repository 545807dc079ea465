// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What OK of the macro dialog does on the host. MacroDefine.bin is written first: when that
// fails nothing else changes, so the dialog can keep the edits and offer OK again. Then the
// program's list takes the edits, the keys of moved or deleted macros follow them, the slots
// are filled and keymap.bin is saved; the keyboard gets it all with the next apply.

#include "keys/MacroBindings.h"
#include "macros/MacroSaveResult.h"

#include <vector>

namespace q905 {

class HostState;
class MacroList;

// A MacroDefine.bin that could not be read at start-up is left as it is, as every save does.
MacroSaveResult saveEditedMacros(HostState& host, const MacroList& edited,
                                 const std::vector<MacroKeyChange>& keyChanges);

} // namespace q905
