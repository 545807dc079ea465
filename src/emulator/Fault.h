// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Faults the emulated keyboard takes on demand, so tests, benchmarks and --simulate runs can
// see how the program behaves when the keyboard misbehaves.

#include <chrono>
#include <cstddef>
#include <optional>
#include <string_view>

namespace q905 {

struct Fault {
    enum class Kind {
        Unplug,      // the keyboard vanishes at transfer N
        Fail,        // transfer N fails; the keyboard stays
        NoAck,       // writes are never acknowledged
        Silent,      // data reads time out, as hidraw does after a second
        StrayReport, // one extra data report arrives after transfer N
        Replug,      // the keyboard answers transfer N, vanishes, and comes back after `away`
    };
    Kind kind = Kind::Fail;
    std::size_t transfer = 0; // 1 = the first transfer; unused by NoAck and Silent
    // Replug only. Its N counts the transfers since the keyboard last came back (the first
    // replug: since the faults were set); `times` cycles follow one another, each N apart.
    std::chrono::milliseconds away{kDefaultAway};
    std::size_t times = 1;

    static constexpr std::chrono::milliseconds kDefaultAway{2000};

    bool operator==(const Fault&) const = default;
};

// "unplug@N", "fail@N", "no-ack", "silent", "stray-report@N", "replug@N[:MS][xK]" (N from 1,
// MS the milliseconds away, K the number of cycles).
std::optional<Fault> parseFault(std::string_view text);

} // namespace q905
