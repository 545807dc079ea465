#include "app/MacroSave.h"

#include "app/HostState.h"

#include <mutex>

namespace q905 {

MacroSaveResult saveEditedMacros(HostState& host, const MacroList& edited,
                                 const std::vector<MacroKeyChange>& keyChanges) {
    if (!saveMacroFile(host.macroFilePath(), edited))
        return MacroSaveResult::MacroFileNotSaved;
    if (&host.macros() != &edited)
        host.macros() = edited;
    {
        std::lock_guard lock(host.settings().mutex());
        applyMacroKeyChanges(host.keys(), host.image(), keyChanges);
        fillMacroSlots(host.macros(), host.image());
    }
    return host.saveKeymap() ? MacroSaveResult::Saved : MacroSaveResult::KeymapNotSaved;
}

} // namespace q905
