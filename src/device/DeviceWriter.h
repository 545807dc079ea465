// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Applying: make the keyboard match DeviceSettings by sending only the blocks that differ from
// AppliedSettings, each group followed by the keyboard's acknowledgement. And the factory reset.

#include "device/AckFlag.h"
#include "device/HidLink.h"
#include "device/Settings.h"

#include <atomic>
#include <vector>

namespace q905 {

enum class ApplyResult {
    Applied,         // changes were sent and acknowledged; AppliedSettings now matches
    NothingToApply,  // no block differed; only the session frames and the palm rest went out
    NotConnected,    // no command handle: nothing was sent
    NotAcknowledged, // a group went unacknowledged; the apply stopped and took no snapshot
    TransferFailed,  // a transfer failed; the apply stopped and took no snapshot
    Stopped,         // asked to stop (the program is closing): ended between two groups with
                     // the closing frames; no snapshot
};

struct ApplyOptions {
    Milliseconds ackTimeout = wait::kAckTimeout;
    // Checked before each group; when set the apply ends early as after a failed group.
    const std::atomic<bool>* stop = nullptr;
};

// Every block an apply compares with AppliedSettings, the lighting parameters, the Windows key
// lock (folded into the mask when sent) and the palm rest among them.
const std::vector<Block>& comparedBlocks();

[[nodiscard]] ApplyResult applyChanges(HidLink& link, Settings& settings, AckFlag& ack,
                                       ApplyOptions options = {});

// Restores factory settings in the keyboard; callers read the keyboard again afterwards.
// Applied when every frame went out, TransferFailed at the first that did not (the keyboard
// may then not be reset), NotConnected without a command handle.
[[nodiscard]] ApplyResult resetKeyboard(HidLink& link);

const char* describe(ApplyResult result);

} // namespace q905
