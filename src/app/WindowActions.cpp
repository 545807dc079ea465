#include "app/WindowActions.h"

#include "app/ButtonTable.h"
#include "device/DeviceReader.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "lighting/EffectCatalogue.h"

namespace q905 {

ApplyOutcome applyEdits(KeyboardConnection& connection, HostState& host) {
    ApplyOutcome outcome;
    outcome.result = applyChanges(connection.link(), host.settings(), connection.ack());
    if (outcome.result == ApplyResult::Applied || outcome.result == ApplyResult::NothingToApply) {
        host.snapshotAll();
        outcome.snapshotTaken = true;
    }
    outcome.saved = host.saveKeymap().ok();
    return outcome;
}

bool revertEdits(HostState& host) {
    host.revertAll();
    (void)host.saveKeymap(); // a failed write keeps the state in memory, as every save does
    return host.image().lightingEffect() >= effect::kFirstProfile;
}

FactoryResetResult factoryReset(KeyboardConnection& connection, HostState& host) {
    if (!connection.connected())
        return FactoryResetResult::NotConnected;
    resetKeyboard(connection.link());
    (void)readAll(connection.link(), host.settings());
    (void)host.factoryResetHostSide();
    return FactoryResetResult::Reset;
}

void readDoneHostSide(KeyboardConnection& connection, HostState& host, ReadSource source) {
    recomputeAssignedFlags(host.keys(), host.image());
    host.keys().flags()[kFnKeyIndex] = 0;
    if (source == ReadSource::Keyboard && connection.connected())
        (void)readLightingParams(connection.link(), host.settings());
    (void)host.saveKeymap();
}

bool firmwareQuestionDue(ReadSource source, FirmwareVersion fileVersion, const Settings& settings) {
    return source == ReadSource::Keyboard &&
           checkFirmwareVersion(fileVersion, settings.deviceVersion());
}

} // namespace q905
