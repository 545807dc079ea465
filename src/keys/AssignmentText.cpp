// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/AssignmentText.h"

#include "base/Utf16.h"
#include "keys/FunctionCatalogue.h"
#include "keys/KeyEnableMask.h"
#include "keys/KeyMapEntry.h"
#include "keys/KeyTable.h"
#include "keys/LaunchLookup.h"
#include "macros/KeyNameTable.h"

#include <cstdio>

namespace q905 {

namespace {

std::string keyName(std::uint8_t code) {
    std::string name = nameOf(code);
    if (name.empty()) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "0x%02X", code);
        name = hex;
    }
    return name;
}

std::string entryText(const KeyMapEntry& entry) {
    char text[32];
    std::snprintf(text, sizeof text, "entry %02X %02X %02X %02X", entry[0], entry[1], entry[2],
                  entry[3]);
    return text;
}

std::string assignmentText(const KeyAssignmentTable& table, const KeyAssignmentRecord& record,
                           const KeyMapEntry& entry, int position) {
    // The keyboard reports a host-action key to us, and we run what the lookup finds for its
    // code: show that, whatever the key's own record says.
    if (entry[0] == entry_kind::kHostAction) {
        if (const auto action = findLaunchAction(table, entry[2]))
            return groupWord(action->group) + " " + action->path;
        return "launch nothing (" + entryText(entry) + ")";
    }
    const auto data = record.data();
    switch (static_cast<FunctionGroup>(record.group())) {
    case FunctionGroup::SingleKey:
        if (record.count() == 0 || data[0] == 0) {
            // The record says nothing; the key map may still differ, e.g. after a read.
            return entry == defaultKeyMapEntry(position) ? "default" : entryText(entry);
        }
        return "single " + keyName(data[0]);
    case FunctionGroup::KeyCombination: {
        std::string text = "combo ";
        for (std::size_t i = 0; i < 3; ++i) {
            if (data[i] == 0)
                continue;
            if (text.size() > 6)
                text += '+';
            text += keyName(data[i]);
        }
        return text;
    }
    case FunctionGroup::MacroKey:
        return "macro " + std::to_string(data[2]);
    case FunctionGroup::CatalogueFunction: {
        const std::string_view name =
            FunctionCatalogue::nameOf({data[0], data[1], data[2], data[3]});
        return name.empty() ? "function ? (" + entryText(entry) + ")"
                            : "function " + std::string(name);
    }
    case FunctionGroup::PlayMusic:
    case FunctionGroup::Startup:
    case FunctionGroup::OpenFile:
    case FunctionGroup::OpenFolder:
        return groupWord(static_cast<FunctionGroup>(record.group())) + " " +
               utf16ToUtf8(record.launchPath());
    default:
        return "group " + std::to_string(record.group()) + " (" + entryText(entry) + ")";
    }
}

} // namespace

std::string groupWord(FunctionGroup group) {
    switch (group) {
    case FunctionGroup::SingleKey:
        return "single";
    case FunctionGroup::KeyCombination:
        return "combo";
    case FunctionGroup::MacroKey:
        return "macro";
    case FunctionGroup::CatalogueFunction:
        return "function";
    case FunctionGroup::PlayMusic:
        return "launch music";
    case FunctionGroup::Startup:
        return "launch program";
    case FunctionGroup::OpenFile:
        return "launch file";
    case FunctionGroup::OpenFolder:
        return "launch folder";
    case FunctionGroup::RestoreDefault:
        return "default";
    case FunctionGroup::None:
        break;
    }
    return "none";
}

std::string describeAssignment(const KeyAssignmentTable& table, const SettingsImage& image,
                               int keyIndex) {
    const int position = KeyTable[keyIndex].matrixPosition();
    std::string text = assignmentText(table, table[static_cast<std::size_t>(keyIndex)],
                                      keyMapEntryAt(image, position), position);
    if (isKeyEnabled(image, position))
        return text;
    return text == "default" ? "disabled" : text + ", disabled";
}

} // namespace q905
