// SPDX-License-Identifier: GPL-3.0-or-later
// set FIELD=VALUE ...: the lighting page's controls from the shell, with the page's rules.

#include "cli/HostSession.h"
#include "cli/KeyArguments.h"
#include "cli/Output.h"
#include "lighting/ColourModel.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"
#include "lighting/PanelSliders.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <functional>
#include <map>
#include <optional>
#include <ostream>

namespace q905 {

namespace {

using Edit = std::function<std::optional<std::string>(SettingsImage&)>;

std::optional<int> number(std::string_view text, int low, int high) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < low ||
        value > high)
        return std::nullopt;
    return value;
}

std::optional<ColourValue> rgb(std::string_view text) {
    if (!text.empty() && text.front() == '#')
        text.remove_prefix(1);
    unsigned value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 6 || ec != std::errc{} || end != text.data() + text.size())
        return std::nullopt;
    return makeColour(static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 8),
                      static_cast<std::uint8_t>(value));
}

std::optional<bool> onOff(std::string_view text) {
    if (text == "on")
        return true;
    if (text == "off")
        return false;
    return std::nullopt;
}

// List position of an effect given by name or by code.
std::optional<int> effectPosition(std::string_view text) {
    if (const auto position = effectPositionNamed(text))
        return position;
    const auto code = number(text, 0, 255);
    for (int position = 0; code && position < kEffectCount; ++position)
        if (EffectCatalogue[static_cast<std::size_t>(position)].code == *code)
            return position;
    return std::nullopt;
}

// "static, breathing, ..., radar, profile1 ... profile5"
std::string effectNames() {
    std::string names;
    for (const EffectInfo& info : EffectCatalogue)
        if (!isProfileEffect(info.code))
            names += std::string(info.cliName) + ", ";
    return names + std::string(findEffect(effect::kFirstProfile)->cliName) + " ... " +
           std::string(findEffect(effect::kLastProfile)->cliName);
}

// "static, breathing, vortex, wave"
std::string palmEffectNames() {
    std::string names;
    for (const PalmEffectInfo& info : PalmEffectList)
        names += (names.empty() ? "" : ", ") + std::string(info.cliName);
    return names;
}

std::string currentEffect(const SettingsImage& image) {
    const std::string_view name = effectName(image.lightingEffect());
    return name.empty() ? "effect " + std::to_string(image.lightingEffect()) : std::string(name);
}

// A slider field: the value is the slider's position.
Edit sliderEdit(int controlId, int position) {
    return [controlId, position](SettingsImage& image) -> std::optional<std::string> {
        storeSliderPosition(image, controlId, position);
        return std::nullopt;
    };
}

std::variant<Edit, std::string> parseField(const std::string& field, const std::string& value) {
    const auto bad = [&](const std::string& expected) {
        return "bad value " + value + " for " + field + " (" + expected + ")";
    };
    if (field == "effect") {
        const auto position = effectPosition(value);
        if (!position)
            return bad("an effect code the list offers, or " + effectNames());
        return Edit([p = *position](SettingsImage& image) -> std::optional<std::string> {
            pickEffect(image, p);
            return std::nullopt;
        });
    }
    static const std::map<std::string, std::tuple<int, int, int>> kSliders{
        {"speed", {slider::kSpeed, 0, 9}},
        {"brightness", {slider::kBrightness, 0, 50}},
        {"reportrate", {slider::kReportRate, 0, 3}},
        {"responsetime", {slider::kResponseTime, 0, 9}},
        {"palm.brightness", {slider::kPalmBrightness, 0, 50}},
        {"palm.speed", {slider::kPalmSpeed, 1, 5}}};
    if (const auto it = kSliders.find(field); it != kSliders.end()) {
        const auto [controlId, low, high] = it->second;
        const auto n = number(value, low, high);
        if (!n)
            return bad(std::to_string(low) + ".." + std::to_string(high));
        // The palm speed is stored as the slider position + 1.
        return sliderEdit(controlId, controlId == slider::kPalmSpeed ? *n - 1 : *n);
    }
    if (field == "colour") {
        const auto n = number(value, 1, 8);
        if (!n)
            return bad("1..7 for a colour slot, 8 for multicolour");
        return Edit([k = *n](SettingsImage& image) -> std::optional<std::string> {
            if (k == kMulticolourIndex) {
                if (!showsSwatches(image.lightingEffect()) ||
                    image.lightingEffect() == effect::kStatic)
                    return currentEffect(image) + " has no multicolour";
                clickMulticolour(image);
            } else if (clickColourSlot(image, k) == SwatchClick::Ignored) {
                return currentEffect(image) + " has no colour slots";
            }
            return std::nullopt;
        });
    }
    if (field.size() == 7 && field.rfind("colour", 0) == 0 && field[6] >= '1' && field[6] <= '7') {
        const auto colour = rgb(value);
        if (!colour)
            return bad("RRGGBB");
        return Edit([slot = field[6] - '0',
                     c = *colour](SettingsImage& image) -> std::optional<std::string> {
            storeSlotColour(image, slot, c);
            return std::nullopt;
        });
    }
    if (field == "direction") {
        static const std::map<std::string_view, std::uint8_t> kDirections{
            {"left", direction::kLeft},
            {"right", direction::kRight},
            {"top", direction::kTop},
            {"bottom", direction::kBottom}};
        const auto it = kDirections.find(value);
        if (it == kDirections.end())
            return bad("left, right, top or bottom");
        return Edit([d = it->second](SettingsImage& image) -> std::optional<std::string> {
            setDirection(image, d);
            return std::nullopt;
        });
    }
    if (field == "gamemode" || field == "winlock") {
        const auto on = onOff(value);
        if (!on)
            return bad("on or off");
        const std::size_t offset =
            field == "gamemode" ? layout::kGameMode.offset : layout::kWinKeyLock.offset;
        return Edit([offset, v = *on](SettingsImage& image) -> std::optional<std::string> {
            image.at(offset) = v ? 1 : 0;
            return std::nullopt;
        });
    }
    if (field == "palm.effect") {
        std::optional<int> row = number(value, 0, kPalmEffectCount - 1);
        if (const auto named = palmEffectNamed(value))
            row = named;
        if (!row)
            return bad("0.." + std::to_string(kPalmEffectCount - 1) + " or " + palmEffectNames());
        return Edit([r = *row](SettingsImage& image) -> std::optional<std::string> {
            pickPalmEffect(image, r);
            return std::nullopt;
        });
    }
    if (field == "palm.direction") {
        if (value != "right" && value != "left")
            return bad("right or left");
        return Edit([left = value == "left"](SettingsImage& image) -> std::optional<std::string> {
            setPalmDirection(image, left ? palm::kDirectionLeft : palm::kDirectionRight);
            return std::nullopt;
        });
    }
    if (field == "palm.colour") {
        const auto colour = rgb(value);
        if (!colour)
            return bad("RRGGBB");
        return Edit([c = *colour](SettingsImage& image) -> std::optional<std::string> {
            if (!palmColourEditable(image))
                return std::string("the palm rest's vortex and wave effects have no colour");
            storePalmColour(image, c);
            return std::nullopt;
        });
    }
    if (field.rfind("keycolour.", 0) == 0) {
        // keycolour.P.KEY
        const std::string rest = field.substr(10);
        const auto dot = rest.find('.');
        const auto page =
            dot == std::string::npos ? std::nullopt : number(rest.substr(0, dot), 1, 5);
        if (!page)
            return "unknown field " + field + " (keycolour.P.KEY with P = 1..5)";
        const auto key = parseKey(rest.substr(dot + 1));
        if (const auto* error = std::get_if<ArgumentError>(&key))
            return error->message;
        const auto colour = rgb(value);
        if (!colour)
            return bad("RRGGBB");
        return Edit([page = *page, key = std::get<int>(key),
                     c = *colour](SettingsImage& image) -> std::optional<std::string> {
            storePerKeyColour(image, page - 1, key, c);
            return std::nullopt;
        });
    }
    return "unknown field " + field;
}

} // namespace

int runSet(CliContext& context, std::span<const std::string> args) {
    if (args.empty())
        return refuseUsage(context.err, "set needs FIELD=VALUE ...");
    std::vector<Edit> edits;
    for (const std::string& arg : args) {
        const auto eq = arg.find('=');
        if (eq == std::string::npos || eq == 0)
            return refuseUsage(context.err, "set takes FIELD=VALUE, not " + arg);
        std::string field = arg.substr(0, eq);
        std::ranges::transform(field, field.begin(),
                               [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        auto parsed = parseField(field, arg.substr(eq + 1));
        if (const auto* error = std::get_if<std::string>(&parsed))
            return refuseUsage(context.err, *error);
        edits.push_back(std::move(std::get<Edit>(parsed)));
    }
    HostSession session(context);
    if (const auto failed = session.start())
        return *failed;
    for (const Edit& edit : edits) {
        if (const auto refused = edit(session.image())) {
            printError(context.err, *refused + "; nothing was changed");
            return exitcode::kUsage;
        }
    }
    return session.commit();
}

} // namespace q905
