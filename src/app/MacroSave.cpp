// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MacroSave.h"

#include "app/HostState.h"

#include <mutex>

namespace q905 {

MacroSaveResult saveEditedMacros(HostState& host, const MacroList& edited,
                                 const std::vector<MacroKeyChange>& keyChanges) {
    if (!host.macrosKeptAsItIs()) {
        if (Status saved = saveMacroFile(host.macroFilePath(), edited); !saved)
            return {MacroSaveStep::MacroFileNotSaved, std::move(saved)};
    }
    if (&host.macros() != &edited)
        host.macros() = edited;
    {
        std::lock_guard lock(host.settings().mutex());
        applyMacroKeyChanges(host.keys(), host.image(), keyChanges);
        fillMacroSlots(host.macros(), host.image());
    }
    if (Status saved = host.saveKeymap(); !saved)
        return {MacroSaveStep::KeymapNotSaved, std::move(saved)};
    return {};
}

} // namespace q905
