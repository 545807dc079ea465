#include "app/HostState.h"

#include "base/AtomicFile.h"
#include "keys/CommitAssignment.h"
#include "profiles/ProfileFiles.h"

#include <system_error>

namespace q905 {

HostState::HostState(std::filesystem::path dataFolder)
    : m_dataFolder(std::move(dataFolder)), m_macros(std::make_unique<MacroList>()) {}

HostState::LoadReport HostState::loadAtStartUp() {
    std::error_code ignored;
    std::filesystem::create_directories(m_dataFolder, ignored);
    removeStaleTemporaries(m_dataFolder);
    removeStaleTemporaries(profileFolder(m_dataFolder));
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

Status HostState::checkFiles() const {
    const std::filesystem::path macros = macroFilePath();
    for (const std::filesystem::path& file : {keymapPath(m_dataFolder), macros}) {
        std::error_code error;
        const auto status = std::filesystem::status(file, error);
        if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status))
            return Status::failure(file.string() + " is not a regular file");
        if (file == macros && std::filesystem::is_regular_file(status) &&
            std::filesystem::file_size(file, error) > kMacroListSize)
            return Status::failure(file.string() + " is too large: more than " +
                                   std::to_string(kMacroListSize) + " bytes");
    }
    return Status::success();
}

Status HostState::checkDataFolder() const {
    return checkWritableFolder(m_dataFolder);
}

Status HostState::saveKeymap() {
    const SettingsImage image = m_settings.deviceCopy();
    return saveKeymapFile(m_dataFolder, image, m_keys);
}

Status HostState::saveAppliedKeymap() {
    const SettingsImage applied = m_settings.appliedCopy();
    return saveKeymapFile(m_dataFolder, applied, m_keys.appliedTable());
}

Status HostState::saveMacros() {
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

Status HostState::factoryResetHostSide() {
    {
        std::lock_guard lock(m_settings.mutex());
        clearAssignments(m_keys, m_settings.deviceSettings());
    }
    snapshotAll();
    return saveKeymap();
}

} // namespace q905
