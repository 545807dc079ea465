// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the key assignment dialog (or the command line) hands over for one key.

#include "keys/KeyAssignmentTable.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace q905 {

// A count of 255 asks for the key's factory function and enables the key.
inline constexpr int kResetCount = 255;
inline constexpr int kMacroSlotNone = -1;

struct AssignmentChoice {
    FunctionGroup group = FunctionGroup::RestoreDefault;
    std::array<std::uint8_t, 255> captured{}; // key codes in press order, rest zero
    int count = 0;
    std::string catalogueName; // UTF-8
    int macroSlot = kMacroSlotNone;
    std::string launchPath; // UTF-8
    bool enabled = true;    // false: the key is disabled after the commit

    bool isReset() const { return count == kResetCount; }
    // Reset always leaves the key working, whatever the disable box showed.
    bool effectiveEnabled() const { return isReset() || enabled; }

    static AssignmentChoice reset();
    static AssignmentChoice restoreDefault(bool enabled = true);
    static AssignmentChoice singleKey(std::uint8_t code, bool enabled = true);
    static AssignmentChoice combination(std::initializer_list<std::uint8_t> codes,
                                        bool enabled = true);
    static AssignmentChoice macro(int slot, bool enabled = true);
    static AssignmentChoice catalogue(std::string name, bool enabled = true);
    static AssignmentChoice launch(FunctionGroup group, std::string path, bool enabled = true);
};

inline AssignmentChoice AssignmentChoice::reset() {
    AssignmentChoice choice;
    choice.count = kResetCount;
    return choice;
}

inline AssignmentChoice AssignmentChoice::restoreDefault(bool enabled) {
    AssignmentChoice choice;
    choice.enabled = enabled;
    return choice;
}

inline AssignmentChoice AssignmentChoice::singleKey(std::uint8_t code, bool enabled) {
    AssignmentChoice choice;
    choice.group = FunctionGroup::SingleKey;
    choice.captured[0] = code;
    choice.count = 1;
    choice.enabled = enabled;
    return choice;
}

inline AssignmentChoice AssignmentChoice::combination(std::initializer_list<std::uint8_t> codes,
                                                      bool enabled) {
    AssignmentChoice choice;
    choice.group = FunctionGroup::KeyCombination;
    for (std::uint8_t code : codes) {
        if (choice.count == static_cast<int>(choice.captured.size()))
            break;
        choice.captured[static_cast<std::size_t>(choice.count++)] = code;
    }
    choice.enabled = enabled;
    return choice;
}

inline AssignmentChoice AssignmentChoice::macro(int slot, bool enabled) {
    AssignmentChoice choice;
    choice.group = FunctionGroup::MacroKey;
    choice.macroSlot = slot;
    choice.enabled = enabled;
    return choice;
}

inline AssignmentChoice AssignmentChoice::catalogue(std::string name, bool enabled) {
    AssignmentChoice choice;
    choice.group = FunctionGroup::CatalogueFunction;
    choice.catalogueName = std::move(name);
    choice.enabled = enabled;
    return choice;
}

inline AssignmentChoice AssignmentChoice::launch(FunctionGroup group, std::string path,
                                                 bool enabled) {
    AssignmentChoice choice;
    choice.group = group;
    choice.launchPath = std::move(path);
    choice.enabled = enabled;
    return choice;
}

} // namespace q905
