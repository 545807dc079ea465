// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/HostState.h"

#include "app/KeyboardSession.h"
#include "base/RegularFile.h"
#include "device/PendingEdits.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "profiles/ProfileFiles.h"

#include <algorithm>
#include <system_error>

namespace q905 {

namespace {

// keymap.bin is first written from an empty image, before the keyboard is read: a key map of
// zeros was never the keyboard's, and neither was the game mode beside it.
bool filledFromKeyboard(std::span<const std::uint8_t> image) {
    const auto keyMap = image.subspan(layout::kKeyMapBlock.offset, layout::kKeyMapBlock.size);
    return std::ranges::any_of(keyMap, [](std::uint8_t byte) { return byte != 0; });
}

} // namespace

HostState::HostState(std::filesystem::path dataFolder)
    : m_dataFolder(std::move(dataFolder)), m_macros(std::make_unique<MacroList>()) {}

HostState::LoadReport HostState::loadAtStartUp() {
    std::error_code ignored;
    std::filesystem::create_directories(m_dataFolder, ignored);
    removeStaleTemporaries(m_dataFolder);
    removeStaleTemporaries(profileFolder(m_dataFolder));
    LoadReport report;
    report.macros = loadMacroFile(macroFilePath(), *m_macros);
    std::error_code error;
    m_macrosKeptAsItIs =
        !report.macros.ok() &&
        std::filesystem::exists(std::filesystem::symlink_status(macroFilePath(), error));
    m_keys.table().clear();
    {
        // The start-up read may already be storing blocks on its own thread.
        std::lock_guard lock(m_settings.mutex());
        report.keymap = loadKeymapFile(m_dataFolder, false, m_settings.deviceSettings(), m_keys);
    }
    m_keys.table().resetKeyCodes();
    m_keymapKeptAsItIs = report.keymap.status == KeymapLoadStatus::Unreadable;
    m_gameModeKnown = report.keymap.loaded() && report.keymap.fileSize >= kSettingsImageSize &&
                      filledFromKeyboard(m_settings.deviceCopy().bytes());
    snapshotAll();
    loadPendingEdits();
    return report;
}

GameModeToRestore HostState::savedGameMode(const std::filesystem::path& dataFolder) {
    // applied.bin exists only while keymap.bin holds edits the keyboard has not taken.
    const FileContents applied = readRegularFile(dataFolder / kAppliedFileName, kSettingsImageSize);
    const FileContents keymap = readRegularFile(dataFolder / kKeymapFileName, kHostStateFileSize);
    for (const FileContents* file : {&applied, &keymap}) {
        if ((!file->ok() && file->status != FileReadStatus::TooLarge) ||
            file->bytes.size() < kSettingsImageSize)
            continue;
        const std::span<const std::uint8_t> image(file->bytes.data(), kSettingsImageSize);
        return filledFromKeyboard(image) ? GameModeToRestore(image[layout::kGameMode.offset])
                                         : std::nullopt;
    }
    return std::nullopt;
}

GameModeToRestore HostState::lastAppliedGameMode() const {
    if (!m_gameModeKnown)
        return std::nullopt;
    return m_settings.appliedCopy().at(layout::kGameMode.offset);
}

void HostState::loadPendingEdits() {
    m_pendingAtStart.reset();
    const FileContents contents =
        readRegularFile(m_dataFolder / kAppliedFileName, kSettingsImageSize);
    if (!contents.ok() || contents.bytes.size() != kSettingsImageSize || m_keymapKeptAsItIs)
        return;
    SettingsImage believed;
    std::copy(contents.bytes.begin(), contents.bytes.end(), believed.bytes().begin());
    std::lock_guard lock(m_settings.mutex());
    if (!hasPendingEdits(m_settings.deviceSettings(), believed))
        return;
    // Until the keyboard is read, the applied copy is what it was believed to hold.
    m_settings.appliedSettings() = believed;
    m_pendingAtStart =
        std::make_unique<PendingAtStart>(PendingAtStart{m_settings.deviceSettings(), believed});
}

void HostState::resumePendingEdits() {
    if (!m_pendingAtStart)
        return;
    {
        std::lock_guard lock(m_settings.mutex());
        carryPendingEdits(m_pendingAtStart->edited, m_pendingAtStart->believed,
                          m_settings.deviceSettings());
    }
    m_pendingAtStart.reset();
    recomputeAssignedFlags(m_keys, m_settings.deviceSettings());
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

Result<PreparedSave> HostState::prepareSave(bool macros) {
    PreparedSave save;
    std::error_code ignored;
    std::filesystem::create_directories(m_dataFolder, ignored);
    if (!m_keymapKeptAsItIs) {
        const SettingsImage image = m_settings.deviceCopy();
        auto keymap =
            PreparedFile::prepare(keymapPath(m_dataFolder), hostStateBytes(image, m_keys.table()));
        if (!keymap)
            return Result<PreparedSave>::failure(keymap.status());
        save.keymap = std::move(*keymap);
    }
    if (!m_keymapKeptAsItIs) {
        // The room applied.bin needs, should the keyboard not take the change.
        auto applied = PreparedFile::prepare(m_dataFolder / kAppliedFileName,
                                             m_settings.appliedCopy().bytes());
        if (!applied)
            return Result<PreparedSave>::failure(applied.status());
        save.applied = std::move(*applied);
    }
    if (macros && !m_macrosKeptAsItIs) {
        auto file = PreparedFile::prepare(macroFilePath(), m_macros->toBytes());
        if (!file)
            return Result<PreparedSave>::failure(file.status());
        save.macros = std::move(*file);
    }
    return save;
}

Status HostState::writeKeymap(PreparedFile& keymap, std::optional<PreparedFile>& applied,
                              const SettingsImage& image, const KeyAssignmentTable& table,
                              const SettingsImage& believed, bool rewrite) {
    if (rewrite) {
        if (Status written = keymap.rewrite(hostStateBytes(image, table)); !written)
            return written;
    }
    // keymap.bin first: applied.bin beside an older keymap.bin would turn values the keyboard
    // holds into edits.
    if (Status committed = keymap.commit(); !committed)
        return committed;
    const std::filesystem::path appliedPath = m_dataFolder / kAppliedFileName;
    if (!hasPendingEdits(image, believed)) {
        applied.reset();
        std::error_code ignored; // one left behind names only what the keyboard took since
        std::filesystem::remove(appliedPath, ignored);
        return Status::success();
    }
    if (!applied) {
        auto prepared = PreparedFile::prepare(appliedPath, believed.bytes());
        if (!prepared)
            return prepared.status();
        applied = std::move(*prepared);
    }
    if (Status written = applied->rewrite(believed.bytes()); !written)
        return written;
    return applied->commit();
}

Status HostState::finishSave(PreparedSave save) {
    Status status = Status::success();
    if (save.keymap) {
        const SettingsImage image = m_settings.deviceCopy();
        const SettingsImage believed = m_settings.appliedCopy();
        status = writeKeymap(*save.keymap, save.applied, image, m_keys.table(), believed, true);
        m_keys.setFileBehind(!status.ok());
    }
    if (save.macros) {
        Status macros = save.macros->rewrite(m_macros->toBytes());
        if (macros)
            macros = save.macros->commit();
        if (status && !macros)
            status = macros;
    }
    return status;
}

Status HostState::saveKeymap() {
    if (m_keymapKeptAsItIs)
        return Status::success();
    // Nothing goes to the keyboard here: the file is written once, with the state as it is.
    const SettingsImage image = m_settings.deviceCopy();
    const SettingsImage believed = m_settings.appliedCopy();
    Status status = Status::success();
    std::error_code ignored;
    std::filesystem::create_directories(m_dataFolder, ignored);
    auto keymap =
        PreparedFile::prepare(keymapPath(m_dataFolder), hostStateBytes(image, m_keys.table()));
    if (!keymap) {
        status = keymap.status();
    } else {
        std::optional<PreparedFile> applied;
        status = writeKeymap(*keymap, applied, image, m_keys.table(), believed, false);
    }
    m_keys.setFileBehind(!status.ok());
    return status;
}

Status HostState::saveAppliedKeymap() {
    if (m_keymapKeptAsItIs)
        return Status::success();
    const SettingsImage applied = m_settings.appliedCopy();
    const std::vector<std::uint8_t> bytes = hostStateBytes(applied, m_keys.appliedTable());
    auto keymap = PreparedFile::prepare(keymapPath(m_dataFolder), bytes);
    if (!keymap)
        return keymap.status();
    std::optional<PreparedFile> noneNeeded;
    return writeKeymap(*keymap, noneNeeded, applied, m_keys.appliedTable(), applied, false);
}

Status HostState::saveMacros() {
    if (m_macrosKeptAsItIs)
        return Status::success();
    return saveMacroFile(macroFilePath(), *m_macros);
}

void HostState::takeKeyboardImages(const SettingsImage& device, const SettingsImage& applied,
                                   DeviceVersion version) {
    m_settings.deviceSettings() = device;
    m_settings.appliedSettings() = applied;
    m_settings.setDeviceVersion(version);
}

void HostState::snapshotAll() {
    m_settings.snapshot();
    m_keys.snapshot();
}

Status HostState::revertAll() {
    m_settings.revert();
    m_keys.revert();
    recomputeAssignedFlags(m_keys, m_settings.deviceSettings());
    return saveKeymap();
}

ApplyOutcome HostState::finishApply(PreparedSave save, const ApplyReport& report) {
    ApplyOutcome outcome;
    outcome.result = report.result;
    takeKeyboardImages(report.images.device, report.images.applied, report.images.version);
    if (report.result == ApplyResult::Applied || report.result == ApplyResult::NothingToApply) {
        snapshotAll();
        outcome.snapshotTaken = true;
    }
    outcome.saved = finishSave(std::move(save));
    return outcome;
}

FactoryResetOutcome HostState::finishFactoryReset(PreparedSave save, const ResetReport& report) {
    FactoryResetOutcome outcome;
    outcome.reset = report.reset;
    if (!outcome.wasReset())
        return outcome;
    outcome.read = report.read;
    takeKeyboardImages(report.images.device, report.images.applied, report.images.version);
    {
        std::lock_guard lock(m_settings.mutex());
        clearAssignments(m_keys, m_settings.deviceSettings());
    }
    snapshotAll();
    outcome.saved = finishSave(std::move(save));
    return outcome;
}

Status HostState::takeCommandEdit(const CommandResult& change, const ApplyReport& report) {
    {
        std::lock_guard lock(m_settings.mutex());
        SettingsImage& device = m_settings.deviceSettings();
        const SettingsImage& applied = m_settings.appliedSettings();
        for (std::size_t i = 0; i < kSettingsImageSize; ++i)
            if (device.at(i) == applied.at(i))
                device.at(i) = report.images.device.at(i);
        m_settings.appliedSettings() = report.images.applied;
    }
    m_settings.setDeviceVersion(report.images.version);

    const bool taken =
        report.result == ApplyResult::Applied || report.result == ApplyResult::NothingToApply;
    for (std::size_t key = 0; key < kKeyAssignmentRecordCount; ++key) {
        const auto& assigned = change.keys.table()[key];
        if (assigned == change.keys.appliedTable()[key])
            continue;
        if (m_keys.table()[key] == m_keys.appliedTable()[key])
            m_keys.table()[key] = assigned;
        if (taken)
            m_keys.appliedTable()[key] = assigned;
    }
    recomputeAssignedFlags(m_keys, m_settings.deviceSettings());
    m_keys.flags()[kFnKeyIndex] = 0;

    if (change.macros)
        *m_macros = *change.macros;
    Status saved = saveKeymap();
    if (change.macros)
        if (Status macros = saveMacros(); saved && !macros)
            saved = macros;
    return saved;
}

Status HostState::readDone(ReadSource source) {
    if (source == ReadSource::Keyboard)
        resumePendingEdits();
    recomputeAssignedFlags(m_keys, m_settings.deviceSettings());
    m_keys.flags()[kFnKeyIndex] = 0;
    return saveKeymap();
}

} // namespace q905
