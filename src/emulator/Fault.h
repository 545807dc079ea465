#pragma once
// Faults the emulated keyboard takes on demand, so tests, benchmarks and --simulate runs can
// see how the program behaves when the keyboard misbehaves.

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
    };
    Kind kind = Kind::Fail;
    std::size_t transfer = 0; // 1 = the first transfer; unused by NoAck and Silent

    bool operator==(const Fault&) const = default;
};

// "unplug@N", "fail@N", "no-ack", "silent", "stray-report@N" (N from 1).
std::optional<Fault> parseFault(std::string_view text);

} // namespace q905
