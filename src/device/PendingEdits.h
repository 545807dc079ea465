// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Edits saved on this computer that the keyboard has not taken (an apply it refused, or a
// change made without applying) are remembered as two images: the edited one, which keymap.bin
// holds, and the one the keyboard was believed to hold when it was saved.

#include "device/SettingsImage.h"

namespace q905 {

// Whether any block an apply compares differs between the two images.
bool hasPendingEdits(const SettingsImage& edited, const SettingsImage& believed);

// After a read of the keyboard into read: a block that was pending and that the keyboard still
// holds as believed takes the edit back, so the next apply sends it. A block the keyboard
// changed meanwhile (on the keyboard itself, from another computer, or by the part of a refused
// apply that got through) keeps what was read: the keyboard is not overruled by an older edit.
void carryPendingEdits(const SettingsImage& edited, const SettingsImage& believed,
                       SettingsImage& read);

} // namespace q905
