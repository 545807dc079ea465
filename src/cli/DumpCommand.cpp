// SPDX-License-Identifier: GPL-3.0-or-later
// dump [--json]: everything the keyboard and the host hold, as text or as one JSON object.

#include "base/TextSafety.h"
#include "base/Utf16.h"
#include "cli/HostSession.h"
#include "cli/JsonWriter.h"
#include "cli/KeyArguments.h"
#include "cli/Output.h"
#include "keys/AssignmentText.h"
#include "keys/KeyLabels.h"
#include "keys/KeyTable.h"
#include "lighting/ColourModel.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelRules.h"
#include "platform/SystemKeyboardLayout.h"

#include <cstdio>
#include <ostream>

namespace q905 {

namespace {

std::string hexColour(ColourValue colour) {
    char text[8];
    std::snprintf(text, sizeof text, "%02X%02X%02X", redOf(colour), greenOf(colour),
                  blueOf(colour));
    return text;
}

std::string directionName(std::uint8_t value) {
    switch (value) {
    case direction::kLeft:
        return "left";
    case direction::kRight:
        return "right";
    case direction::kTop:
        return "top";
    case direction::kBottom:
        return "bottom";
    }
    return std::to_string(value);
}

struct KeyColour {
    int profile;
    int key;
    ColourValue colour;
};

struct Dump {
    DeviceVersion firmware;
    SettingsImage image;
    std::vector<KeyColour> keyColours;
    std::vector<std::pair<int, std::string>> keys; // assignments that differ from the default
    struct Macro {
        std::string name;
        int loop;
        std::vector<std::string> events;
    };
    std::vector<Macro> macros;
};

Dump collect(HostSession& session, bool connected) {
    HostState& host = session.host();
    Dump dump;
    dump.firmware = connected ? host.settings().deviceVersion() : DeviceVersion{};
    dump.image = host.settings().deviceCopy();
    for (int page = 0; page < static_cast<int>(layout::kPerKeyPageCount); ++page)
        for (int key = 0; key < kKeyCount; ++key) {
            if (isUnplacedKey(key))
                continue;
            const ColourValue colour = perKeyColour(dump.image, page, key);
            if (colour != 0)
                dump.keyColours.push_back({page + 1, key, colour});
        }
    for (int key = 0; key < kKeyCount; ++key) {
        if (isUnplacedKey(key))
            continue;
        std::string text = describeAssignment(host.keys().table(), dump.image, key);
        if (text != "default")
            dump.keys.emplace_back(key, std::move(text));
    }
    const MacroList& macros = host.macros();
    for (std::size_t i = 0; i < macros.namedCount(); ++i)
        dump.macros.push_back(
            {utf16ToUtf8(macros[i].name()), macros[i].loopCount(), listMacroEvents(macros[i])});
    return dump;
}

void printText(const Dump& d, std::ostream& out) {
    const SettingsImage& image = d.image;
    out << "firmware:       " << int(d.firmware.major()) << '.' << int(d.firmware.minor()) << '\n'
        << "effect:         " << effectName(image.lightingEffect()) << " ("
        << int(image.lightingEffect()) << ")\n"
        << "speed:          " << int(image.speedStep()) << '\n'
        << "brightness:     " << int(image.brightness()) << '\n'
        << "colour:         " << int(image.colourIndex()) << '\n'
        << "direction:      " << directionName(image.direction()) << '\n'
        << "colours:       ";
    for (int slot = 1; slot <= kColourSlotCount; ++slot)
        out << ' ' << hexColour(slotColour(image, slot));
    out << '\n'
        << "game mode:      " << (image.gameMode() ? "on" : "off") << '\n'
        << "windows lock:   " << (image.winKeyLock() == 1 ? "on" : "off") << '\n'
        << "report rate:    " << int(image.reportRate()) << '\n'
        << "response time:  " << int(image.responseTime()) << '\n'
        << "palm rest:      " << palmEffectName(palmEffect(image)) << ", brightness "
        << int(image.at(palm::kBrightness)) << ", speed " << int(image.at(palm::kSpeed))
        << ", direction " << (image.at(palm::kDirection) == palm::kDirectionLeft ? "left" : "right")
        << ", colour " << hexColour(palmColour(image)) << '\n';
    for (const KeyColour& k : d.keyColours)
        out << "key colour:     profile " << k.profile << ' ' << keyLabel(k.key) << " (" << k.key
            << ") " << hexColour(k.colour) << '\n';
    for (const auto& [key, text] : d.keys)
        out << "key:            " << keyLabel(key) << " (" << key << ") " << escapeForTerminal(text)
            << '\n';
    for (std::size_t i = 0; i < d.macros.size(); ++i) {
        out << "macro " << i << ":        " << escapeForTerminal(d.macros[i].name) << ", loop "
            << d.macros[i].loop << '\n';
        for (const std::string& row : d.macros[i].events)
            out << "                  " << escapeForTerminal(row) << '\n';
    }
}

// "label" names the key the same under every layout, as commands take it; "layoutLabel" is what
// the key types under the user's layout, as the window labels it.
void printJson(const Dump& d, const KeyboardLayout* layout, std::ostream& out) {
    const auto layoutLabel = [layout](int key) {
        return pictureLabel(key, Language::English, layout);
    };
    const SettingsImage& image = d.image;
    JsonWriter json(out);
    json.beginObject();
    json.value("firmware",
               std::to_string(d.firmware.major()) + "." + std::to_string(d.firmware.minor()));
    json.beginObject("lighting")
        .value("effect", effectName(image.lightingEffect()))
        .value("effectCode", long{image.lightingEffect()})
        .value("speed", long{image.speedStep()})
        .value("brightness", long{image.brightness()})
        .value("colour", long{image.colourIndex()})
        .value("direction", directionName(image.direction()));
    json.beginArray("colours");
    for (int slot = 1; slot <= kColourSlotCount; ++slot)
        json.value("", hexColour(slotColour(image, slot)));
    json.endArray().endObject();
    json.value("gameMode", image.gameMode() != 0)
        .value("winLock", image.winKeyLock() == 1)
        .value("reportRate", long{image.reportRate()})
        .value("responseTime", long{image.responseTime()});
    json.beginObject("palmRest")
        .value("effect", palmEffectName(palmEffect(image)))
        .value("effectCode", long{palmEffect(image)})
        .value("brightness", long{image.at(palm::kBrightness)})
        .value("speed", long{image.at(palm::kSpeed)})
        .value("direction", image.at(palm::kDirection) == palm::kDirectionLeft ? "left" : "right")
        .value("colour", hexColour(palmColour(image)))
        .endObject();
    json.beginArray("keyColours");
    for (const KeyColour& k : d.keyColours)
        json.beginObject()
            .value("profile", long{k.profile})
            .value("key", long{k.key})
            .value("label", keyLabel(k.key))
            .value("layoutLabel", layoutLabel(k.key))
            .value("colour", hexColour(k.colour))
            .endObject();
    json.endArray();
    json.beginArray("keys");
    for (const auto& [key, text] : d.keys)
        json.beginObject()
            .value("key", long{key})
            .value("label", keyLabel(key))
            .value("layoutLabel", layoutLabel(key))
            .value("assignment", text)
            .endObject();
    json.endArray();
    json.beginArray("macros");
    for (std::size_t i = 0; i < d.macros.size(); ++i) {
        json.beginObject()
            .value("slot", static_cast<long>(i))
            .value("name", d.macros[i].name)
            .value("loop", long{d.macros[i].loop});
        json.beginArray("events");
        for (const std::string& row : d.macros[i].events)
            json.value("", row);
        json.endArray().endObject();
    }
    json.endArray();
    json.endObject();
}

} // namespace

int runDump(CliContext& context, std::span<const std::string> args) {
    if (!args.empty())
        return refuseUsage(context.err, "dump takes no arguments (--json for JSON)");
    HostSession session(context);
    if (const auto failed = session.start())
        return *failed;
    const Dump dump = collect(session, session.connected());
    if (context.options.json)
        printJson(dump, systemKeyboardLayout().get(), context.out);
    else
        printText(dump, context.out);
    return session.finishReading();
}

} // namespace q905
