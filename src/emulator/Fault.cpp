#include "emulator/Fault.h"

#include <charconv>

namespace q905 {

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
    if (name == "unplug")
        fault.kind = Fault::Kind::Unplug;
    else if (name == "fail")
        fault.kind = Fault::Kind::Fail;
    else if (name == "stray-report")
        fault.kind = Fault::Kind::StrayReport;
    else
        return std::nullopt;
    const auto [end, error] =
        std::from_chars(number.data(), number.data() + number.size(), fault.transfer);
    if (number.empty() || error != std::errc{} || end != number.data() + number.size() ||
        fault.transfer == 0)
        return std::nullopt;
    return fault;
}

} // namespace q905
