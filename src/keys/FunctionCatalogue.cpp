// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/FunctionCatalogue.h"

#include <algorithm>
#include <array>

namespace q905 {

namespace {

constexpr std::string_view kMedia = "Media";
constexpr std::string_view kShortcut = "Shortcut";
constexpr std::string_view kWindows = "Windows";

constexpr std::array<CatalogueFunction, 23> kFunctions{{
    {"Search", {}, {0, 0xE3, 0x09, 0x00}},
    {"Run", {}, {0, 0xE3, 0x15, 0x00}},
    {"Media Player", kMedia, {3, 0, 0x83, 0x01}},
    {"Previous", kMedia, {3, 0, 0xB6, 0x00}},
    {"Next", kMedia, {3, 0, 0xB5, 0x00}},
    {"Play / Stop", kMedia, {3, 0, 0xCD, 0x00}},
    {"Pause", kMedia, {3, 0, 0xB7, 0x00}},
    {"Volume Up", kMedia, {3, 0, 0xE9, 0x00}},
    {"Volume Down", kMedia, {3, 0, 0xEA, 0x00}},
    {"Mute", kMedia, {3, 0, 0xE2, 0x00}},
    {"New", kShortcut, {0, 0xE0, 0x11, 0x00}},
    {"Cut", kShortcut, {0, 0xE0, 0x1B, 0x00}},
    {"Copy", kShortcut, {0, 0xE0, 0x06, 0x00}},
    {"Paste", kShortcut, {0, 0xE0, 0x19, 0x00}},
    {"Save", kShortcut, {0, 0xE0, 0x16, 0x00}},
    {"Print", kShortcut, {0, 0xE0, 0x13, 0x00}},
    {"Select All", kShortcut, {0, 0xE0, 0x04, 0x00}},
    {"Maximize window", kWindows, {0, 0xE2, 0x2C, 0x1B}},
    {"Minimize window", kWindows, {0, 0xE2, 0x2C, 0x11}},
    {"Computer / My Computer", {}, {3, 0, 0x94, 0x01}},
    {"Windows security screen", {}, {0, 0xE0, 0xE2, 0x4C}},
    {"Internet browser", {}, {3, 0, 0x23, 0x02}},
    {"Close window", {}, {0, 0xE2, 0x3D, 0x00}},
}};

} // namespace

std::span<const CatalogueFunction> FunctionCatalogue::functions() {
    return kFunctions;
}

std::vector<CatalogueTreeItem> FunctionCatalogue::tree() {
    std::vector<CatalogueTreeItem> items;
    for (const CatalogueFunction& function : kFunctions) {
        if (function.group.empty()) {
            items.push_back({function.name, &function, {}});
            continue;
        }
        auto node = std::find_if(items.begin(), items.end(), [&](const CatalogueTreeItem& item) {
            return item.function == nullptr && item.text == function.group;
        });
        if (node == items.end())
            node = items.insert(items.end(), {function.group, nullptr, {}});
        node->children.push_back(&function);
    }
    return items;
}

bool FunctionCatalogue::isGroupNode(std::string_view text) {
    return text == kMedia || text == kShortcut || text == kWindows;
}

std::optional<KeyMapEntry> FunctionCatalogue::entryOf(std::string_view name) {
    for (const CatalogueFunction& function : kFunctions) {
        if (function.name == name)
            return function.entry;
    }
    return std::nullopt;
}

std::string_view FunctionCatalogue::nameOf(const KeyMapEntry& entry) {
    for (const CatalogueFunction& function : kFunctions) {
        if (entryValue(function.entry) == entryValue(entry))
            return function.name;
    }
    return {};
}

} // namespace q905
