// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/WindowActions.h"

#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "lighting/EffectCatalogue.h"

namespace q905 {

ApplyOutcome finishApply(HostState& host, PreparedSave save, const ApplyReport& report) {
    ApplyOutcome outcome;
    outcome.result = report.result;
    outcome.sent = report.result != ApplyResult::NotConnected;
    host.takeKeyboardImages(report.images.device, report.images.applied, report.images.version);
    if (report.result == ApplyResult::Applied || report.result == ApplyResult::NothingToApply) {
        host.snapshotAll();
        outcome.snapshotTaken = true;
    }
    outcome.saved = host.finishSave(std::move(save));
    return outcome;
}

ApplyOutcome notPrepared(const Status& failure) {
    ApplyOutcome outcome;
    outcome.saved = failure;
    return outcome;
}

RevertOutcome revertEdits(HostState& host) {
    host.revertAll();
    RevertOutcome outcome{host.image().lightingEffect() >= effect::kFirstProfile,
                          host.saveKeymap()};
    return outcome;
}

FactoryResetOutcome finishFactoryReset(HostState& host, PreparedSave save,
                                       const ResetReport& report) {
    FactoryResetOutcome outcome;
    outcome.reset = report.reset;
    if (!outcome.wasReset())
        return outcome;
    outcome.read = report.read;
    host.takeKeyboardImages(report.images.device, report.images.applied, report.images.version);
    outcome.saved = host.factoryResetHostSide(std::move(save));
    return outcome;
}

FactoryResetOutcome notPreparedForReset(const Status& failure) {
    FactoryResetOutcome outcome;
    outcome.reset = ApplyResult::NothingToApply; // nothing was sent
    outcome.saved = failure;
    return outcome;
}

FactoryResetOutcome factoryReset(KeyboardSession& session, HostState& host) {
    Result<PreparedSave> save = host.prepareSave();
    if (!save)
        return notPreparedForReset(save.status());
    return finishFactoryReset(host, std::move(*save),
                              waitFor(session, &KeyboardSession::factoryReset));
}

Status takeCommandEdit(HostState& host, const CommandResult& change, const ApplyReport& report) {
    SettingsImage& device = host.image();
    {
        std::lock_guard lock(host.settings().mutex());
        const SettingsImage& applied = host.settings().appliedSettings();
        for (std::size_t i = 0; i < kSettingsImageSize; ++i)
            if (device.at(i) == applied.at(i))
                device.at(i) = report.images.device.at(i);
        host.settings().appliedSettings() = report.images.applied;
    }
    host.settings().setDeviceVersion(report.images.version);

    const bool taken =
        report.result == ApplyResult::Applied || report.result == ApplyResult::NothingToApply;
    KeyAssignments& keys = host.keys();
    for (std::size_t key = 0; key < kKeyAssignmentRecordCount; ++key) {
        const auto& assigned = change.keys.table()[key];
        if (assigned == change.keys.appliedTable()[key])
            continue;
        if (keys.table()[key] == keys.appliedTable()[key])
            keys.table()[key] = assigned;
        if (taken)
            keys.appliedTable()[key] = assigned;
    }
    recomputeAssignedFlags(keys, device);
    keys.flags()[kFnKeyIndex] = 0;

    if (change.macros)
        host.macros() = *change.macros;
    Status saved = host.saveKeymap();
    if (change.macros)
        if (Status macros = host.saveMacros(); saved && !macros)
            saved = macros;
    return saved;
}

Status readDoneHostSide(HostState& host, ReadSource source) {
    if (source == ReadSource::Keyboard)
        host.resumePendingEdits();
    recomputeAssignedFlags(host.keys(), host.image());
    host.keys().flags()[kFnKeyIndex] = 0;
    return host.saveKeymap();
}

bool firmwareQuestionDue(ReadSource source, FirmwareVersion fileVersion, const Settings& settings) {
    return source == ReadSource::Keyboard &&
           checkFirmwareVersion(fileVersion, settings.deviceVersion());
}

} // namespace q905
