// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ProgramOptions.h"

#include "base/TextSafety.h"

#include <charconv>
#include <cmath>
#include <string_view>

#ifndef Q905_VERSION
#define Q905_VERSION "unknown"
#endif

namespace q905 {

namespace {

// The number the whole text spells; none when anything else is there.
template <class Number> std::optional<Number> wholeNumber(std::string_view text) {
    Number number{};
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return number;
}

bool parseVersion(std::string_view text, std::uint8_t& major, std::uint8_t& minor) {
    const auto dot = text.find('.');
    if (dot == std::string_view::npos)
        return false;
    const auto a = wholeNumber<unsigned>(text.substr(0, dot));
    const auto b = wholeNumber<unsigned>(text.substr(dot + 1));
    if (!a || !b || *a > 255 || *b > 255)
        return false;
    major = static_cast<std::uint8_t>(*a);
    minor = static_cast<std::uint8_t>(*b);
    return true;
}

} // namespace

ParseResult parseCliOptions(const std::vector<std::string>& args) {
    // Paths and names are kept and shown as UTF-8; anything else is refused here, once. The
    // message holds the argument as it came: whoever prints it escapes it.
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (!isValidUtf8(args[i]))
            return {std::nullopt,
                    "argument " + std::to_string(i + 1) + " is not valid UTF-8: " + args[i]};
    }
    CliOptions options;
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.rfind("--", 0) != 0 || arg == "-") {
            options.arguments.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        // --name=value or --name value
        std::string name = arg;
        std::optional<std::string> inlineValue;
        if (const auto eq = arg.find('='); eq != std::string::npos) {
            name = arg.substr(0, eq);
            inlineValue = arg.substr(eq + 1);
        }
        const auto value = [&]() -> std::optional<std::string> {
            if (inlineValue)
                return inlineValue;
            if (i + 1 < args.size())
                return args[++i];
            return std::nullopt;
        };
        // A file or folder name: false without one.
        const auto nameValue = [&](std::optional<std::filesystem::path>& target) {
            const auto v = value();
            if (!v || v->empty())
                return false;
            target = *v;
            return true;
        };
        if (name == "--simulate") {
            options.simulate = true;
            if (inlineValue) {
                if (inlineValue->empty())
                    return {std::nullopt, "--simulate= needs a file name"};
                options.simulateFile = *inlineValue;
            }
        } else if (name == "--simulate-firmware") {
            const auto v = value();
            if (!v || !parseVersion(*v, options.simulateMajor, options.simulateMinor))
                return {std::nullopt, "--simulate-firmware takes MAJOR.MINOR, for example 1.2"};
        } else if (name == "--simulate-latency") {
            const auto v = value();
            const auto micros = v ? wholeNumber<long>(*v) : std::nullopt;
            if (!micros || *micros < 0 || *micros > 1000000)
                return {std::nullopt, "--simulate-latency takes microseconds, 0..1000000"};
            options.simulateLatency = std::chrono::microseconds(*micros);
        } else if (name == "--simulate-fault") {
            const auto v = value();
            const auto fault = v ? parseFault(*v) : std::nullopt;
            if (!fault)
                return {std::nullopt, "--simulate-fault takes unplug@N, fail@N, no-ack, silent, "
                                      "stray-report@N or replug@N[:MS][xK] (N counts transfers "
                                      "from 1)"};
            options.simulateFaults.push_back(*fault);
        } else if (name == "--trace") {
            if (!nameValue(options.traceFile))
                return {std::nullopt, "--trace needs a file name"};
        } else if (name == "--data-dir") {
            if (!nameValue(options.dataDir))
                return {std::nullopt, "--data-dir needs a folder"};
        } else if (name == "--wait") {
            const auto v = value();
            const auto seconds = v ? wholeNumber<double>(*v) : std::nullopt;
            if (!seconds || !(*seconds >= 0 && *seconds <= 3600))
                return {std::nullopt, "--wait takes seconds, 0..3600"};
            options.lockWait = std::chrono::milliseconds(std::llround(*seconds * 1000));
        } else if (name == "--language") {
            const auto v = value();
            if (!v || (*v != "en" && *v != "de"))
                return {std::nullopt, "--language takes en or de"};
            options.language = *v;
        } else if (name == "--screenshot") {
            if (!nameValue(options.screenshot))
                return {std::nullopt, "--screenshot needs a file name"};
        } else if (name == "--no-apply" && !inlineValue) {
            options.noApply = true;
        } else if (name == "--json" && !inlineValue) {
            options.json = true;
        } else if (name == "--accept-launch-actions" && !inlineValue) {
            options.acceptLaunchActions = true;
        } else if (name == "--background" && !inlineValue) {
            options.background = true;
        } else if (name == "--help" && !inlineValue) {
            options.help = true;
        } else if (name == "--version" && !inlineValue) {
            options.version = true;
        } else {
            return {std::nullopt, "unknown option " + arg};
        }
    }
    return {options, {}};
}

const char* programVersion() {
    return Q905_VERSION;
}

} // namespace q905
