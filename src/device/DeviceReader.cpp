#include "device/DeviceReader.h"

#include "device/WireEncoding.h"

#include <array>

namespace q905 {

namespace {

using Pause = HidLink::Pause;

// Stores each data report of a bulk read at its place in the block.
HidLink::ReportData into(Settings& settings, Block block) {
    return [&settings, block](std::size_t index, std::span<const std::uint8_t> data) {
        const std::size_t offset = index * kDataBytesPerReport;
        if (offset < block.size)
            settings.storeDeviceBytes(block.offset + offset,
                                      data.first(std::min(data.size(), block.size - offset)));
    };
}

// 0x09 with 1 opens every read and reset; it carries the game-mode write's own wait.
void sendGameModeOne(HidLink& link) {
    link.sendCommand(command::kGameMode, {.p1 = 1});
    link.wait(wait::kGameModeWrite);
}

void readVersion(HidLink& link, Settings& settings) {
    const auto reply = link.queryCommand(command::kVersion, {}, wait::kVersionRequest);
    link.wait(wait::kVersionReply);
    if (reply)
        settings.setDeviceVersion(DeviceVersion{
            {(*reply)[wire::reply::kVersionMajor], (*reply)[wire::reply::kVersionMinor], 0, 0}});
}

void readLighting(HidLink& link, Settings& settings) {
    const auto reply = link.queryCommand(command::kReadLighting, {}, wait::kLightingRequest);
    if (!reply)
        return;
    const wire::lighting::Params params = wire::lighting::fromWire(*reply);
    settings.storeDeviceBytes(layout::kLightingParams.offset, params);
}

void readColourTriples(HidLink& link, Settings& settings) {
    for (std::uint8_t triple = 0; triple < layout::kColourTripleCount; ++triple) {
        const auto reply = link.queryCommand(command::kReadColourTriple, {.p2 = triple},
                                             wait::kColourTripleRequest);
        link.wait(wait::kColourTripleReply);
        if (reply) {
            const auto rgb = std::span(*reply).subspan(wire::reply::kColourTripleRgb, 3);
            settings.storeDeviceBytes(layout::colourTriple(triple).offset, rgb);
        }
    }
}

// A query whose reply carries the value of a one-byte block as it is.
void readByte(HidLink& link, Settings& settings, std::uint8_t readCommand, Block target,
              Milliseconds afterRequest, std::optional<Milliseconds> afterReply) {
    const auto reply = link.queryCommand(readCommand, {}, afterRequest);
    if (afterReply)
        link.wait(*afterReply);
    if (reply)
        settings.storeDeviceBytes(target.offset, std::span(*reply).subspan(wire::reply::kValue, 1));
}

// The image, the slider, the files and the apply all hold the response time step.
void readResponseTime(HidLink& link, Settings& settings) {
    const auto reply =
        link.queryCommand(command::kReadResponseTime, {}, wait::kResponseTimeRequest);
    link.wait(wait::kResponseTimeReply);
    if (!reply)
        return;
    const std::uint8_t step = wire::responseTimeFromWire((*reply)[wire::reply::kValue]);
    settings.storeDeviceBytes(layout::kResponseTime.offset,
                              std::span<const std::uint8_t>(&step, 1));
}

void readKeyMap(HidLink& link, Settings& settings) {
    // The reply frame of a bulk read is fetched and discarded; the data reports carry the block.
    (void)link.queryCommand(command::kReadKeyMap);
    link.readBlock(command::kKeyMapReports, into(settings, layout::kKeyMapBlock));
}

void readKeyEnableMask(HidLink& link, Settings& settings) {
    (void)link.queryCommand(command::kReadKeyEnable, {.p3 = command::kKeyEnableBytes});
    link.readBlock(1, [&settings](std::size_t, std::span<const std::uint8_t> data) {
        settings.storeDeviceBytes(layout::kKeyEnableMask.offset,
                                  data.first(layout::kKeyEnableMask.size));
        const std::uint8_t winKeyLock =
            wire::winKeyLockFromMask(data[layout::kWinKeyMaskByte - layout::kKeyEnableMask.offset]);
        settings.storeDeviceBytes(layout::kWinKeyLock.offset,
                                  std::span<const std::uint8_t>(&winKeyLock, 1));
    });
}

void readMacroSlots(HidLink& link, Settings& settings, bool yieldAfterEach) {
    for (std::uint8_t slot = 0; slot < layout::kMacroSlotCount; ++slot) {
        (void)link.queryCommand(command::kReadMacroSlot, {.p2 = slot});
        link.readBlock(command::kMacroSlotReports, into(settings, layout::macroSlot(slot)));
        if (yieldAfterEach)
            link.yield();
    }
}

void readPerKeyPages(HidLink& link, Settings& settings) {
    for (std::uint8_t page = 0; page < layout::kPerKeyPageCount; ++page) {
        (void)link.queryCommand(command::kReadPerKeyColours,
                                {.p2 = page, .p3 = command::kPerKeyPageReports},
                                wait::kPerKeyRequest);
        link.wait(wait::kPerKeyReply);
        link.readBlock(command::kPerKeyPageReports, into(settings, layout::perKeyColourPage(page)),
                       Pause::Wait5);
    }
}

void readPalmRest(HidLink& link, Settings& settings) {
    const auto reply = link.queryCommand(command::kReadPalmRest, {}, wait::kPalmRestRequest);
    link.wait(wait::kPalmRestReply);
    if (reply)
        settings.storeDeviceBytes(
            layout::kPalmRestBlock.offset,
            std::span(*reply).subspan(wire::reply::kPalmRestBlock, layout::kPalmRestBlock.size));
}

// The blocks from the lighting parameters to the key enable mask, as every sequence reads them.
void readLightingToKeyEnable(HidLink& link, Settings& settings) {
    readLighting(link, settings);
    readColourTriples(link, settings);
    readByte(link, settings, command::kReadGameMode, layout::kGameMode, wait::kGameModeRequest,
             std::nullopt);
    readByte(link, settings, command::kReadReportRate, layout::kReportRate,
             wait::kReportRateRequest, wait::kReportRateReply);
    readResponseTime(link, settings);
    readKeyMap(link, settings);
    readKeyEnableMask(link, settings);
}

} // namespace

void readAll(HidLink& link, Settings& settings) {
    auto conversation = link.beginConversation();
    sendGameModeOne(link);
    link.wait(wait::kAfterReadInitialGameMode);
    readLightingToKeyEnable(link, settings);
    readMacroSlots(link, settings, false);
    readPerKeyPages(link, settings);
    readPalmRest(link, settings);
}

void plugInRead(HidLink& link, Settings& settings) {
    auto conversation = link.beginConversation();
    readAll(link, settings);
    readPerKeyPages(link, settings);
    readVersion(link, settings);
}

void initialRead(HidLink& link, Settings& settings, const std::function<void()>& readDone) {
    {
        auto conversation = link.beginConversation();
        sendGameModeOne(link);
        readVersion(link, settings);
        readLightingToKeyEnable(link, settings);
        readMacroSlots(link, settings, true);
        readPerKeyPages(link, settings);
        readPalmRest(link, settings);
        settings.snapshot();
    }
    if (readDone)
        readDone();
}

void readDeviceVersion(HidLink& link, Settings& settings) {
    auto conversation = link.beginConversation();
    readVersion(link, settings);
}

void readLightingParams(HidLink& link, Settings& settings) {
    auto conversation = link.beginConversation();
    readLighting(link, settings);
}

} // namespace q905
