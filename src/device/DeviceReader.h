// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The read sequences: every device block of DeviceSettings from the keyboard, one query per
// block or record, in a fixed order with the keyboard's fixed waits.

#include "device/HidLink.h"
#include "device/Settings.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace q905 {

// Every read stops at the first failed transfer; blocks not read keep what the image held.
// There is no limit on the whole read, only on each transfer (the backend's: a data report
// that has not come within a second, a feature report the kernel gives up on), so a slow
// keyboard is read to the end and a silent one ends the read at its first unanswered transfer.
enum class ReadResult {
    Complete,
    TransferFailed, // a transfer failed: the keyboard went away or did not answer
    Stopped,        // asked to stop (the program is closing): ended between two exchanges; no
                    // snapshot, and what was read is not the keyboard's whole state
};
const char* describe(ReadResult result);

// Every sequence opens with the write of game mode 1, which would leave game mode on after each
// read. The game mode the host last applied, when it knows one, is written back right after
// that opening command, within the same conversation; the read then reads it back.
using GameModeToRestore = std::optional<std::uint8_t>;

struct ReadOptions {
    GameModeToRestore gameMode = std::nullopt;
    // Checked before each exchange (a query with its waits, or a bulk read with all its
    // reports); when set the read ends there with Stopped, so the keyboard is never left in
    // the middle of one. The opening, game mode put back included, always goes out whole.
    const std::atomic<bool>* stop = nullptr;
};

// Used after a factory reset and when the keyboard is plugged in. Takes no snapshot.
[[nodiscard]] ReadResult readAll(HidLink& link, Settings& settings, ReadOptions options = {});

// readAll, the five per-key colour pages once more, then the firmware version.
[[nodiscard]] ReadResult plugInRead(HidLink& link, Settings& settings, ReadOptions options = {});

// The start-up read: every block and the version, then a snapshot (not when stopped), then
// readDone (the window's refresh), called on the reading thread after the sequence has
// released the link.
ReadResult initialRead(HidLink& link, Settings& settings,
                       const std::function<void(ReadResult)>& readDone, ReadOptions options = {});

// Single reads, for callers that need one value.
[[nodiscard]] ReadResult readDeviceVersion(HidLink& link, Settings& settings);
[[nodiscard]] ReadResult readLightingParams(HidLink& link, Settings& settings);

} // namespace q905
