// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Macro events as the command line writes them, one argument per row of the dialog's event list:
// "A dn", "A up", "MsLB dn", and "50 ms" for the wait before the next event. A key whose name
// another key shares ("Enter", "-") or that has no name is written as its code ("0x6C dn").

#include "cli/KeyArguments.h"
#include "macros/EventSequence.h"

#include <span>
#include <string>
#include <variant>
#include <vector>

namespace q905 {

struct MacroEvents {
    EventSequence deviceEvents; // usages, as the keyboard plays them
    EventSequence keyEvents;    // key codes, to name the events
    bool hasDelay = false;      // some event waits
};

std::variant<MacroEvents, ArgumentError> parseMacroRows(std::span<const std::string> rows);

// The rows of a pair of sequences in the form parseMacroRows reads back to the same bytes.
std::vector<std::string> formatMacroRows(const EventSequence& deviceEvents,
                                         const EventSequence& keyEvents);

} // namespace q905
