#pragma once
// What the main window's buttons and messages do to the host state and the keyboard, without
// the window: apply, revert, factory reset and the refresh after a read.

#include "app/HostState.h"
#include "app/KeyboardConnection.h"
#include "device/DeviceWriter.h"
#include "firmware/FirmwareVersion.h"

namespace q905 {

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
// keymap.bin is prepared first; only then does the keyboard get the edits.
ApplyOutcome applyEdits(HidLink& link, AckFlag& ack, HostState& host);

struct RevertOutcome {
    // The view the keyboard picture shows afterwards: per-key colours while a lighting profile
    // is the effect.
    bool perKeyColourMode = false;
    Status saved; // keymap.bin; a failed write keeps the state in memory
};
// The working copies go back to the applied ones; keymap.bin is rewritten.
RevertOutcome revertEdits(HostState& host);

struct FactoryResetOutcome {
    // Of the reset's own frames: Applied, NotConnected or TransferFailed.
    ApplyResult reset = ApplyResult::NotConnected;
    ReadResult read = ReadResult::TransferFailed; // the read back, when the reset went out
    Status saved = Status::success();
    // The keyboard was reset (whether or not it could be read back and saved).
    bool wasReset() const { return reset == ApplyResult::Applied; }
    bool failed() const { return !wasReset() || read != ReadResult::Complete || !saved.ok(); }
};
// keymap.bin prepared, the keyboard's factory reset, read back, then the host side: no
// assignments, every key enabled, snapshots, keymap.bin. A keyboard that is not there or did
// not take the reset leaves the host side untouched: clearing the user's assignments for a
// keyboard that was never reset would lose them for nothing.
FactoryResetOutcome factoryReset(HidLink& link, HostState& host);

enum class ReadSource { Keyboard, Profile };
// The host side of the refresh after a read: after a read of the keyboard the lighting
// parameters once more and the edits still pending from an earlier run, the assigned-key
// marks, then keymap.bin (its result returned).
[[nodiscard]] Status readDoneHostSide(KeyboardConnection& connection, HostState& host,
                                      ReadSource source);
// Whether the update question is due after this read.
bool firmwareQuestionDue(ReadSource source, FirmwareVersion fileVersion, const Settings& settings);

} // namespace q905
