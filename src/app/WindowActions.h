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
    // The applied copies took the edits; otherwise the edits stay pending for the next apply.
    bool snapshotTaken = false;
    bool saved = false;
    // Whether the user has to be told: the keyboard did not take the edits.
    bool failed() const { return !snapshotTaken; }
};
ApplyOutcome applyEdits(KeyboardConnection& connection, HostState& host);

// The working copies go back to the applied ones; keymap.bin is rewritten. Returns the view
// the keyboard picture shows afterwards: per-key colours while a lighting profile is the effect.
bool revertEdits(HostState& host);

enum class FactoryResetResult { Reset, NotConnected };
// The keyboard's factory reset, read back, then the host side: no assignments, every key
// enabled, snapshots, keymap.bin. Without a keyboard nothing is touched: clearing the user's
// assignments for a keyboard that was never reset would lose them for nothing.
FactoryResetResult factoryReset(KeyboardConnection& connection, HostState& host);

enum class ReadSource { Keyboard, Profile };
// The host side of the refresh after a read: the assigned-key marks, after a read of the
// keyboard the lighting parameters once more, then keymap.bin.
void readDoneHostSide(KeyboardConnection& connection, HostState& host, ReadSource source);
// Whether the update question is due after this read.
bool firmwareQuestionDue(ReadSource source, FirmwareVersion fileVersion, const Settings& settings);

} // namespace q905
