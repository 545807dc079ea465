// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/MacroListEditing.h"

#include <algorithm>

namespace q905 {

std::string checkMacroName(std::u16string_view name) {
    if (name.empty() || name.front() == u'\0')
        return "a macro needs a name";
    if (name.find(u'\0') != std::u16string_view::npos)
        return "a macro name cannot contain a NUL character";
    if (name.size() > kMaxMacroNameLength)
        return "a macro name has at most " + std::to_string(kMaxMacroNameLength) + " characters";
    return {};
}

std::vector<std::u16string> macroNames(const MacroList& macros) {
    std::vector<std::u16string> names;
    for (std::size_t i = 0; i < macros.namedCount(); ++i)
        names.push_back(macros[i].name());
    return names;
}

std::optional<int> appendMacro(MacroList& macros, std::u16string_view name) {
    const std::size_t index = macros.namedCount();
    if (index >= kMaxNamedMacros || !checkMacroName(name).empty())
        return std::nullopt;
    MacroRecord& record = macros[index];
    record.clear();
    record.setName(name);
    record.setLoopCount(1);
    return static_cast<int>(index);
}

bool deleteMacro(MacroList& macros, int index) {
    const std::size_t count = macros.namedCount();
    if (index < 0 || static_cast<std::size_t>(index) >= count)
        return false;
    std::move(macros.begin() + index + 1, macros.end(), macros.begin() + index);
    macros[count - 1].clear();
    macros[macros.size() - 1].clear();
    return true;
}

} // namespace q905
