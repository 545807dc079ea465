// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Turning a choice for one key into the keyboard's key map entry, the key's host record, its
// assigned-key mark and its enable bit.

#include "device/SettingsImage.h"
#include "keys/AssignmentChoice.h"
#include "keys/KeyAssignmentTable.h"

#include <string>

namespace q905 {

class MacroList;

enum class AssignStatus {
    Assigned,
    KeyRefused,       // not a key that can be assigned (outside 0..112, or 17..19)
    InvalidChoice,    // a group, count or macro slot the keyboard cannot carry; nothing changed
    UnknownFunction,  // the catalogue has no function of that name; nothing changed
    CodeWithoutUsage, // a captured key code the keyboard has no usage for; nothing changed
    PathTooLong,      // the launch path does not fit its 255 characters; nothing changed
};

struct [[nodiscard]] AssignResult {
    AssignStatus status = AssignStatus::Assigned;
    std::string message;
    bool ok() const { return status == AssignStatus::Assigned; }
};

bool isAssignableKey(int keyIndex);

// Whether the user may choose an assignment for the key: placed, and not Ctrl, Win or Fn,
// which the key map view never offers.
AssignResult checkAssignableKey(int keyIndex);

// Whether commitAssignment would take the choice; changes nothing.
AssignResult checkAssignment(int keyIndex, const AssignmentChoice& choice, const MacroList& macros);

// Writes key k's record, its key map entry in image, its assigned-key flag and, for Reset and
// RestoreDefault, its enable bit. A MacroKey choice also refills the image's macro slots from
// macros. A refused choice changes nothing. Does not save.
AssignResult commitAssignment(KeyAssignments& keys, SettingsImage& image, const MacroList& macros,
                              int keyIndex, const AssignmentChoice& choice);

// Enables or disables a key as the dialog's disable box does: the enable bit, the mark of a
// disabled key and, for the Windows key, the Windows-key lock that applying folds into it.
void setKeyEnabledInStep(KeyAssignments& keys, SettingsImage& image, int keyIndex, bool enabled);

// The whole assignment of one key as the main window and the command line make it: commit,
// then the enable bit and the mark from the choice's enabled flag. Does not save: the caller
// saves keymap.bin with the rest of the host state.
AssignResult assignKey(KeyAssignments& keys, SettingsImage& image, const MacroList& macros,
                       int keyIndex, const AssignmentChoice& choice);

// Rebuilds the marks of keys 0..112 from the key map, the records and the enable mask. The Fn
// key is never marked.
void recomputeAssignedFlags(KeyAssignments& keys, const SettingsImage& image);

// The factory state of the host side: no assignments, no marks, every key enabled.
void clearAssignments(KeyAssignments& keys, SettingsImage& image);

} // namespace q905
