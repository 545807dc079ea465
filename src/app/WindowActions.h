// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The host side of the keyboard's transactions, shared by the window and q905ctl: the files
// prepared before the keyboard is changed, and what the host state takes from the session's
// report afterwards. The transactions themselves are the keyboard session's.

#include "app/HostState.h"
#include "app/KeyboardSession.h"
#include "firmware/FirmwareVersion.h"

namespace q905 {

// What a q905ctl command run for the window changed: the image and the table it edited, both
// started from the applied ones (the applied table stays the one it started from), and the
// macros when it changed them.
struct CommandResult {
    SettingsImage device;
    KeyAssignments keys;
    std::optional<MacroList> macros;
};

struct ApplyOutcome {
    ApplyResult result = ApplyResult::NotConnected;
    // Whether anything went to the keyboard: nothing does when the files cannot be prepared.
    bool sent = false;
    // The applied copies took the edits; otherwise the edits stay pending for the next apply.
    bool snapshotTaken = false;
    // keymap.bin: a failure before sending (nothing sent) or, rarely, when put in place.
    Status saved = Status::success();
    // Whether the user has to be told: the keyboard did not take the edits, or they were not
    // saved.
    bool failed() const { return !snapshotTaken || !saved.ok(); }
};
// The apply's host side: keymap.bin is prepared first (HostState::prepareSave); only then the
// keyboard gets the edits; finishApply takes the session's report and puts the files in place.
ApplyOutcome finishApply(HostState& host, PreparedSave save, const ApplyReport& report);
// An outcome for an apply whose files could not be prepared: nothing was sent.
ApplyOutcome notPrepared(const Status& failure);

struct RevertOutcome {
    // The view the keyboard picture shows afterwards: per-key colours while a lighting profile
    // is the effect.
    bool perKeyColourMode = false;
    Status saved; // keymap.bin; a failed write keeps the state in memory
};
// The working copies go back to the applied ones; keymap.bin is rewritten.
RevertOutcome revertEdits(HostState& host);

struct FactoryResetOutcome {
    // Of the reset's own frames: Applied, NotConnected or TransferFailed; NothingToApply when
    // the files could not be prepared and nothing was sent.
    ApplyResult reset = ApplyResult::NotConnected;
    ReadResult read = ReadResult::TransferFailed; // the read back, when the reset went out
    Status saved = Status::success();
    // The keyboard was reset (whether or not it could be read back and saved).
    bool wasReset() const { return reset == ApplyResult::Applied; }
    bool failed() const { return !wasReset() || read != ReadResult::Complete || !saved.ok(); }
};
// keymap.bin prepared (HostState::prepareSave), the keyboard's factory reset and read back (the
// session's), then the host side: no assignments, every key enabled, snapshots, keymap.bin. A
// keyboard that did not take the reset leaves the host side untouched: clearing the user's
// assignments for a keyboard that was never reset would lose them for nothing.
FactoryResetOutcome finishFactoryReset(HostState& host, PreparedSave save,
                                       const ResetReport& report);
FactoryResetOutcome notPreparedForReset(const Status& failure);
// The three steps at once, waiting for the keyboard.
FactoryResetOutcome factoryReset(KeyboardSession& session, HostState& host);

// A q905ctl command's change, applied for the window (report): where the window has no edit of
// its own pending, its image takes what the keyboard's session now holds; its pending edits stay
// and win. AppliedSettings becomes the report's; the keys the command changed take the command's
// assignment the same way, and become applied when the keyboard took the change. The command's
// macros are taken; the marks follow, then keymap.bin (and MacroDefine.bin when the command
// changed the macros) is saved; the save's result.
[[nodiscard]] Status takeCommandEdit(HostState& host, const CommandResult& change,
                                     const ApplyReport& report);

enum class ReadSource { Keyboard, Profile };
// The host side of the refresh after a read: after a read of the keyboard the edits still
// pending from an earlier run, the assigned-key marks, then keymap.bin (its result returned).
[[nodiscard]] Status readDoneHostSide(HostState& host, ReadSource source);
// Whether the update question is due after this read.
bool firmwareQuestionDue(ReadSource source, FirmwareVersion fileVersion, const Settings& settings);

} // namespace q905
