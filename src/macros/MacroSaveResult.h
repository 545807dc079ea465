// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How far OK of the macro dialog got on the host. MacroDefine.bin is written first: when that
// fails nothing else changes, so the dialog can keep the edits and offer OK again.

#include "base/Result.h"

namespace q905 {

enum class MacroSaveStep {
    Saved,
    MacroFileNotSaved, // nothing changed
    KeymapNotSaved,    // the macros are saved and in place; keymap.bin is behind
};

struct [[nodiscard]] MacroSaveResult {
    MacroSaveStep step = MacroSaveStep::Saved;
    Status failure; // why, when a step failed
};

} // namespace q905
