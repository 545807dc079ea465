#include "app/HostState.h"

#include "keys/CommitAssignment.h"

#include <system_error>

namespace q905 {

HostState::HostState(std::filesystem::path dataFolder)
    : m_dataFolder(std::move(dataFolder)), m_macros(std::make_unique<MacroList>()) {}

HostState::LoadReport HostState::loadAtStartUp() {
    std::error_code ignored;
    std::filesystem::create_directories(m_dataFolder, ignored);
    LoadReport report;
    report.macros = loadMacroFile(macroFilePath(), *m_macros);
    m_keys.table().clear();
    {
        // The start-up read may already be storing blocks on its own thread.
        std::lock_guard lock(m_settings.mutex());
        report.keymap = loadKeymapFile(m_dataFolder, false, m_settings.deviceSettings(), m_keys);
    }
    m_keys.table().resetKeyCodes();
    snapshotAll();
    return report;
}

bool HostState::saveKeymap(std::string* error) {
    const SettingsImage image = m_settings.deviceCopy();
    return saveKeymapFile(m_dataFolder, image, m_keys, error);
}

bool HostState::saveAppliedKeymap(std::string* error) {
    const SettingsImage applied = m_settings.appliedCopy();
    return saveKeymapFile(m_dataFolder, applied, m_keys.appliedTable(), error);
}

bool HostState::saveMacros() {
    return saveMacroFile(macroFilePath(), *m_macros);
}

void HostState::snapshotAll() {
    m_settings.snapshot();
    m_keys.snapshot();
}

void HostState::revertAll() {
    m_settings.revert();
    m_keys.revert();
    recomputeAssignedFlags(m_keys, m_settings.deviceSettings());
}

bool HostState::factoryResetHostSide(std::string* error) {
    {
        std::lock_guard lock(m_settings.mutex());
        clearAssignments(m_keys, m_settings.deviceSettings());
    }
    snapshotAll();
    return saveKeymap(error);
}

} // namespace q905
