// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceWriter.h"

#include "device/WireEncoding.h"

#include <optional>
#include <vector>

namespace q905 {

namespace {

using Pause = HidLink::Pause;

// What follows a block's command frame.
enum class Payload {
    ValueInP1,     // none: the block's one byte travels in p1 of the frame itself
    ColourTriples, // none: one frame per colour triple, each with its wait
    DataReports,   // the block in 64-byte data reports
    MaskReport,    // the 21 mask bytes in one data report
};

// One group of an apply: the image bytes compared with AppliedSettings and how they are sent.
struct BlockWrite {
    Block block;
    std::uint8_t command;
    CommandParams params{}; // the fixed parameters: index, report count
    Milliseconds frameWait;
    Payload payload;
    Pause betweenReports = Pause::None;
    std::optional<Milliseconds> afterReports{};
    std::uint8_t (*toWire)(std::uint8_t) = nullptr; // for ValueInP1; nullptr sends it as it is
    // The game-mode write is followed by a fold of the Windows key lock into DeviceSettings.
    bool foldsWinKeyLock = false;
};

// Every group in the order the keyboard expects them, each sent only when its block changed.
const std::vector<BlockWrite>& blockWrites() {
    static const std::vector<BlockWrite> writes = [] {
        using namespace command;
        std::vector<BlockWrite> w;
        w.push_back({.block = layout::kEffectColours,
                     .command = kColourTriple,
                     .frameWait = wait::kColourTripleWrite,
                     .payload = Payload::ColourTriples});
        w.push_back({.block = layout::kGameMode,
                     .command = kGameMode,
                     .frameWait = wait::kGameModeWrite,
                     .payload = Payload::ValueInP1,
                     .foldsWinKeyLock = true});
        w.push_back({.block = layout::kReportRate,
                     .command = kReportRate,
                     .frameWait = wait::kReportRateWrite,
                     .payload = Payload::ValueInP1});
        w.push_back({.block = layout::kResponseTime,
                     .command = kResponseTime,
                     .frameWait = wait::kResponseTimeWrite,
                     .payload = Payload::ValueInP1,
                     .toWire = wire::responseTimeToWire});
        w.push_back({.block = layout::kKeyMapBlock,
                     .command = kKeyMap,
                     .params = {.p3 = kKeyMapReports},
                     .frameWait = wait::kKeyMapFrame,
                     .payload = Payload::DataReports,
                     .afterReports = wait::kKeyMapLastReport});
        for (std::uint8_t slot = 0; slot < layout::kMacroSlotCount; ++slot)
            w.push_back({.block = layout::macroSlot(slot),
                         .command = kMacroSlot,
                         .params = {.p2 = slot, .p3 = kMacroSlotReports},
                         .frameWait = wait::kMacroSlotFrame,
                         .payload = Payload::DataReports,
                         .betweenReports = Pause::Yield});
        w.push_back({.block = layout::kKeyEnableMask,
                     .command = kKeyEnable,
                     .params = {.p3 = kKeyEnableBytes},
                     .frameWait = wait::kKeyEnableWrite,
                     .payload = Payload::MaskReport});
        for (std::uint8_t page = 0; page < layout::kPerKeyPageCount; ++page)
            w.push_back({.block = layout::perKeyColourPage(page),
                         .command = kPerKeyColours,
                         .params = {.p2 = page, .p3 = kPerKeyPageReports},
                         .frameWait = wait::kPerKeyFrame,
                         .payload = Payload::DataReports,
                         .betweenReports = Pause::Wait5,
                         .afterReports = wait::kPerKeyWriteReport});
        return w;
    }();
    return writes;
}

// True when every transfer of the block went through.
bool sendBlock(HidLink& link, const SettingsImage& image, const BlockWrite& write) {
    const auto bytes = image.block(write.block);
    switch (write.payload) {
    case Payload::ValueInP1: {
        CommandParams params = write.params;
        params.p1 = write.toWire ? write.toWire(bytes[0]) : bytes[0];
        const bool sent = link.sendCommand(write.command, params);
        link.wait(write.frameWait);
        return sent;
    }
    case Payload::ColourTriples:
        for (std::uint8_t triple = 0; triple < layout::kColourTripleCount; ++triple) {
            const auto rgb = image.block(layout::colourTriple(triple));
            const bool sent = link.sendCommand(
                write.command, {.p2 = triple, .p3 = rgb[0], .p4 = rgb[1], .p5 = rgb[2]});
            link.wait(write.frameWait);
            if (!sent)
                return false;
        }
        return true;
    case Payload::DataReports: {
        if (!link.sendCommand(write.command, write.params))
            return false;
        link.wait(write.frameWait);
        if (!link.writeBlock(bytes, write.betweenReports))
            return false;
        if (write.afterReports)
            link.wait(*write.afterReports);
        return true;
    }
    case Payload::MaskReport: {
        if (!link.sendCommand(write.command, write.params))
            return false;
        link.wait(write.frameWait);
        DataReport report{};
        std::copy(bytes.begin(), bytes.end(), report.begin() + 1);
        return link.writeReport(report);
    }
    }
    return false;
}

bool sendLighting(HidLink& link, const SettingsImage& image, std::uint8_t phase) {
    CommandParams params = wire::lighting::toWire(image);
    params.p1 = phase;
    // The preview leaves the brightness alone; only the closing frame carries it.
    if (phase != command::kLightingCommit)
        params.p4 = 0;
    const bool sent = link.sendCommand(command::kLighting, params);
    link.wait(wait::kLightingWrite);
    return sent;
}

bool sendSession(HidLink& link, std::uint8_t phase) {
    const bool sent = link.sendCommand(command::kApplySession, {.p1 = phase});
    link.wait(wait::kApplySession);
    return sent;
}

// The closing lighting frame carries the image as it is now, not the copy compared at the
// start: a lighting change made on the keyboard during the apply is in both images already
// and must not be undone on the keyboard.
// After a failure or a stop the apply's result is decided: a closing frame that fails as well
// changes nothing the caller could do, and the next apply opens its own session.
void closeSessionAnyway(HidLink& link) {
    (void)sendSession(link, 0);
}

bool sendClosingLighting(HidLink& link, Settings& settings) {
    return sendLighting(link, settings.deviceCopy(), command::kLightingCommit);
}

} // namespace

ApplyResult applyChanges(HidLink& link, Settings& settings, AckFlag& ack, ApplyOptions options) {
    if (!link.commandHandleValid())
        return ApplyResult::NotConnected;
    auto conversation = link.beginConversation();
    if (!sendSession(link, 1)) {
        closeSessionAnyway(link);
        return ApplyResult::TransferFailed;
    }

    SettingsImage image;
    std::vector<const BlockWrite*> changed;
    bool lightingChanged = false;
    {
        std::lock_guard lock(settings.mutex());
        settings.deviceSettings().foldWinKeyLock();
        settings.deviceSettings().at(layout::kPalmRestBlock.offset) = command::kPalmRest;
        image = settings.deviceSettings();
        const SettingsImage& applied = settings.appliedSettings();
        for (const BlockWrite& write : blockWrites())
            if (!image.sameBlock(applied, write.block))
                changed.push_back(&write);
        lightingChanged = !image.sameBlock(applied, layout::kLightingParams);
    }

    FeatureFrame palmFrame{};
    const auto palm = image.block(layout::kPalmRestBlock);
    std::copy(palm.begin(), palm.end(), palmFrame.begin() + 1);
    if (!link.sendFrame(palmFrame)) {
        closeSessionAnyway(link);
        return ApplyResult::TransferFailed;
    }

    if (changed.empty() && !lightingChanged)
        return sendSession(link, 0) ? ApplyResult::NothingToApply : ApplyResult::TransferFailed;

    // Each group starts with a cleared flag and ends with the keyboard's acknowledgement. A
    // group that fails or goes unacknowledged ends the apply early: the closing lighting frame
    // (it carries the brightness the opening one set to 0, so the keyboard is not left dark)
    // and the closing session frame still go out, and no snapshot claims the keyboard holds
    // what it may not, so the next apply sends the change again.
    const auto acknowledged = [&] {
        link.traceAckWait();
        return ack.wait(options.ackTimeout);
    };
    const auto endEarly = [&](ApplyResult result) {
        (void)sendClosingLighting(link, settings); // as closeSessionAnyway
        closeSessionAnyway(link);
        return result;
    };

    const auto stopAsked = [&] { return options.stop && options.stop->load(); };
    if (stopAsked()) {
        // Nothing to close but the session: the preview has not gone out.
        closeSessionAnyway(link);
        return ApplyResult::Stopped;
    }
    ack.clear();
    if (!sendLighting(link, image, command::kLightingPreview))
        return endEarly(ApplyResult::TransferFailed);
    if (!acknowledged())
        return endEarly(ApplyResult::NotAcknowledged);
    for (const BlockWrite* write : changed) {
        if (stopAsked())
            return endEarly(ApplyResult::Stopped);
        ack.clear();
        if (!sendBlock(link, image, *write))
            return endEarly(ApplyResult::TransferFailed);
        if (write->foldsWinKeyLock) {
            std::lock_guard lock(settings.mutex());
            settings.deviceSettings().foldWinKeyLock();
        }
        if (!acknowledged())
            return endEarly(ApplyResult::NotAcknowledged);
    }
    if (!sendClosingLighting(link, settings)) {
        closeSessionAnyway(link);
        return ApplyResult::TransferFailed;
    }
    if (!sendSession(link, 0))
        return ApplyResult::TransferFailed;
    settings.snapshot();
    return ApplyResult::Applied;
}

const std::vector<Block>& comparedBlocks() {
    static const std::vector<Block> blocks = [] {
        std::vector<Block> all{layout::kLightingParams, layout::kWinKeyLock,
                               layout::kPalmRestBlock};
        for (const BlockWrite& write : blockWrites())
            all.push_back(write.block);
        return all;
    }();
    return blocks;
}

ApplyResult resetKeyboard(HidLink& link) {
    if (!link.commandHandleValid())
        return ApplyResult::NotConnected;
    auto conversation = link.beginConversation();
    if (!link.sendCommand(command::kFactoryReset, {.p1 = command::kFactoryResetParam}))
        return ApplyResult::TransferFailed;
    link.wait(wait::kFactoryReset);
    for (int i = 0; i < 2; ++i) {
        if (!link.sendCommand(command::kGameMode, {.p1 = 1}))
            return ApplyResult::TransferFailed;
        link.wait(wait::kGameModeWrite);
        link.wait(wait::kFactoryReset);
    }
    return ApplyResult::Applied;
}

const char* describe(ApplyResult result) {
    switch (result) {
    case ApplyResult::Applied:
        return "applied";
    case ApplyResult::NothingToApply:
        return "nothing to apply";
    case ApplyResult::NotConnected:
        return "not connected";
    case ApplyResult::NotAcknowledged:
        return "not acknowledged";
    case ApplyResult::TransferFailed:
        return "a transfer failed";
    case ApplyResult::Stopped:
        return "stopped before it ended";
    }
    return "unknown";
}

} // namespace q905
