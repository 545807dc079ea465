#include "app/WindowActions.h"

#include "app/ButtonTable.h"
#include "device/DeviceReader.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "lighting/EffectCatalogue.h"

namespace q905 {

ApplyOutcome applyEdits(HidLink& link, AckFlag& ack, HostState& host) {
    ApplyOutcome outcome;
    Result<PreparedSave> save = host.prepareSave();
    if (!save) {
        outcome.saved = save.status();
        return outcome;
    }
    outcome.sent = link.commandHandleValid();
    outcome.result = applyChanges(link, host.settings(), ack);
    if (outcome.result == ApplyResult::Applied || outcome.result == ApplyResult::NothingToApply) {
        host.snapshotAll();
        outcome.snapshotTaken = true;
    }
    outcome.saved = host.finishSave(std::move(*save));
    return outcome;
}

RevertOutcome revertEdits(HostState& host) {
    host.revertAll();
    RevertOutcome outcome{host.image().lightingEffect() >= effect::kFirstProfile,
                          host.saveKeymap()};
    return outcome;
}

FactoryResetOutcome factoryReset(HidLink& link, HostState& host) {
    FactoryResetOutcome outcome;
    if (!link.commandHandleValid())
        return outcome;
    Result<PreparedSave> save = host.prepareSave();
    if (!save) {
        outcome.reset = ApplyResult::NothingToApply; // nothing was sent
        outcome.saved = save.status();
        return outcome;
    }
    outcome.reset = resetKeyboard(link);
    if (!outcome.wasReset())
        return outcome;
    outcome.read = readAll(link, host.settings());
    outcome.saved = host.factoryResetHostSide(std::move(*save));
    return outcome;
}

Status readDoneHostSide(KeyboardConnection& connection, HostState& host, ReadSource source) {
    if (source == ReadSource::Keyboard && connection.connected())
        (void)readLightingParams(connection.link(), host.settings());
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
