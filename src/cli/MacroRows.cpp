// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/MacroRows.h"

#include "macros/KeyNameTable.h"

#include <charconv>
#include <optional>

namespace q905 {

namespace {

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && text.front() == ' ')
        text.remove_prefix(1);
    while (!text.empty() && text.back() == ' ')
        text.remove_suffix(1);
    return text;
}

std::string hexCode(unsigned code) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    return std::string("0x") + kDigits[code >> 4] + kDigits[code & 0x0F];
}

// The name a row shows for the key, or its code where the name would not lead back to it.
std::string keyWord(std::uint8_t code) {
    const std::string& name = nameOf(code);
    if (!name.empty()) {
        const auto parsed = parseKeyCode(name);
        if (const auto* back = std::get_if<std::uint8_t>(&parsed); back && *back == code)
            return name;
    }
    return hexCode(code);
}

std::optional<int> parseDelay(std::string_view number) {
    int value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || ec != std::errc{} || end != number.data() + number.size())
        return std::nullopt;
    return value;
}

} // namespace

std::variant<MacroEvents, ArgumentError> parseMacroRows(std::span<const std::string> rows) {
    MacroEvents result;
    std::vector<std::uint8_t> device, key;
    int pendingDelay = 0; // the wait before the next event; 0 while none is given
    for (const std::string& row : rows) {
        const std::string_view text = trimmed(row);
        const std::size_t space = text.rfind(' ');
        const std::string_view word = space == std::string_view::npos ? "" : text.substr(space + 1);
        const std::string_view subject =
            space == std::string_view::npos ? text : trimmed(text.substr(0, space));
        const std::string quoted = "\"" + row + "\"";
        if (word == "ms") {
            const auto ms = parseDelay(subject);
            if (!ms || *ms < kMinEditedDelayMs || *ms > kMaxDelayMs)
                return ArgumentError{quoted + ": a delay is 2..60000 ms"};
            if (pendingDelay != 0)
                return ArgumentError{quoted + ": two delays in a row"};
            if (key.empty())
                return ArgumentError{quoted + ": the first event cannot wait"};
            pendingDelay = *ms;
            continue;
        }
        if (word != "dn" && word != "up")
            return ArgumentError{quoted + ": a row is \"KEY dn\", \"KEY up\" or \"N ms\""};
        const auto code = parseKeyCode(subject);
        if (const auto* error = std::get_if<ArgumentError>(&code))
            return ArgumentError{quoted + ": " + error->message};
        const std::uint8_t keyCode = std::get<std::uint8_t>(code);
        const std::uint8_t usage = usageOf(keyCode);
        if (usage == 0)
            return ArgumentError{quoted + ": the keyboard cannot play key code " +
                                 hexCode(keyCode)};
        const bool release = word == "up";
        const int delayMs = pendingDelay != 0 ? pendingDelay : int{kNoDelay};
        result.hasDelay = result.hasDelay || pendingDelay != 0;
        pendingDelay = 0;
        const auto deviceBytes = encodeEvent(release, delayMs, usage);
        device.insert(device.end(), deviceBytes.begin(), deviceBytes.end());
        const auto keyBytes = encodeEvent(release, delayMs, keyCode);
        key.insert(key.end(), keyBytes.begin(), keyBytes.end());
    }
    if (pendingDelay != 0)
        return ArgumentError{"a delay must come before an event"};
    if (key.size() > kEventSequenceSize)
        return ArgumentError{"the events take " + std::to_string(key.size()) +
                             " bytes; a macro holds at most " + std::to_string(kEventSequenceSize)};
    result.deviceEvents = EventSequence(device);
    result.keyEvents = EventSequence(key);
    return result;
}

std::vector<std::string> formatMacroRows(const EventSequence& deviceEvents,
                                         const EventSequence& keyEvents) {
    std::vector<std::string> rows;
    for (const MacroEvent& event : pairedEvents(deviceEvents, keyEvents)) {
        if (event.hasDelayRow())
            rows.push_back(delayRowText(event.delayMs));
        rows.push_back(keyWord(event.key) + (event.release ? " up" : " dn"));
    }
    return rows;
}

} // namespace q905
