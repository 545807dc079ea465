// SPDX-License-Identifier: GPL-3.0-or-later
#include "emulator/Fault.h"

#include <charconv>

namespace q905 {

namespace {

// The whole of text as a number, or nothing.
std::optional<std::size_t> wholeNumber(std::string_view text) {
    std::size_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

// A replug is away for at most ten minutes and cycles at most a million times: enough for
// any soak, and far from overflowing the clock's arithmetic.
constexpr std::size_t kLongestAway = 600000;
constexpr std::size_t kMostCycles = 1000000;

// "N[:MS][xK]" of a replug.
bool parseReplug(std::string_view text, Fault& fault) {
    if (const auto x = text.find('x'); x != std::string_view::npos) {
        const auto times = wholeNumber(text.substr(x + 1));
        if (!times || *times == 0 || *times > kMostCycles)
            return false;
        fault.times = *times;
        text = text.substr(0, x);
    }
    if (const auto colon = text.find(':'); colon != std::string_view::npos) {
        const auto away = wholeNumber(text.substr(colon + 1));
        if (!away || *away > kLongestAway)
            return false;
        fault.away = std::chrono::milliseconds(*away);
        text = text.substr(0, colon);
    }
    const auto transfer = wholeNumber(text);
    if (!transfer || *transfer == 0)
        return false;
    fault.transfer = *transfer;
    return true;
}

} // namespace

std::optional<Fault> parseFault(std::string_view text) {
    if (text == "no-ack")
        return Fault{Fault::Kind::NoAck, 0};
    if (text == "silent")
        return Fault{Fault::Kind::Silent, 0};
    const auto at = text.find('@');
    if (at == std::string_view::npos)
        return std::nullopt;
    const std::string_view name = text.substr(0, at);
    const std::string_view number = text.substr(at + 1);
    Fault fault;
    if (name == "replug") {
        fault.kind = Fault::Kind::Replug;
        if (!parseReplug(number, fault))
            return std::nullopt;
        return fault;
    }
    if (name == "unplug")
        fault.kind = Fault::Kind::Unplug;
    else if (name == "fail")
        fault.kind = Fault::Kind::Fail;
    else if (name == "stray-report")
        fault.kind = Fault::Kind::StrayReport;
    else
        return std::nullopt;
    const auto transfer = wholeNumber(number);
    if (!transfer || *transfer == 0)
        return std::nullopt;
    fault.transfer = *transfer;
    return fault;
}

} // namespace q905
