// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/DeviceReader.h"

#include "device/WireEncoding.h"

#include <array>

namespace q905 {

namespace {

using Pause = HidLink::Pause;

// One read sequence: it stops at the first failed transfer, or when asked to, before the next
// exchange. Every primitive does nothing once the run has stopped, so the sequences read
// straight through.
class ReadRun {
  public:
    // A stop asked for before the read begins sends nothing at all.
    ReadRun(HidLink& link, const std::atomic<bool>* stop) : m_link(link), m_stop(stop) {
        nextExchange();
    }

    ReadResult result() const { return m_result; }

    // Only the opening sends a bare command; it goes out whole, so no stop is checked here.
    bool sendCommand(std::uint8_t command, CommandParams params = {}) {
        return going() && check(m_link.sendCommand(command, params));
    }
    // An exchange of its own: request, reply, and the waits the caller adds after it.
    std::optional<FeatureFrame> queryCommand(std::uint8_t readCommand, CommandParams params = {},
                                             std::optional<Milliseconds> waitAfterRequest = {}) {
        if (!nextExchange())
            return std::nullopt;
        auto reply = m_link.queryCommand(readCommand, params, waitAfterRequest);
        check(reply.has_value());
        return reply;
    }
    // A bulk read, one exchange: stale reports drained, the request (its reply frame is
    // fetched and discarded), an optional wait, then the data reports.
    void readBulk(std::uint8_t readCommand, CommandParams params,
                  std::optional<Milliseconds> waitAfterRequest,
                  std::optional<Milliseconds> waitAfterReply, std::size_t reports,
                  const HidLink::ReportData& store, Pause afterEach = Pause::None) {
        if (!nextExchange())
            return;
        m_link.drainStaleReports();
        check(m_link.queryCommand(readCommand, params, waitAfterRequest).has_value());
        if (waitAfterReply)
            wait(*waitAfterReply);
        if (going())
            check(m_link.readBlock(reports, store, afterEach));
    }
    void wait(Milliseconds duration) {
        if (going())
            m_link.wait(duration);
    }
    void yield() {
        if (going())
            m_link.yield();
    }

  private:
    bool going() const { return m_result == ReadResult::Complete; }
    bool nextExchange() {
        if (going() && m_stop && m_stop->load())
            m_result = ReadResult::Stopped;
        return going();
    }
    bool check(bool ok) {
        if (!ok && m_result == ReadResult::Complete)
            m_result = ReadResult::TransferFailed;
        return ok;
    }

    HidLink& m_link;
    const std::atomic<bool>* m_stop;
    ReadResult m_result = ReadResult::Complete;
};

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
void sendGameModeOne(ReadRun& link) {
    link.sendCommand(command::kGameMode, {.p1 = 1});
    link.wait(wait::kGameModeWrite);
}

// Without this a user who turned game mode off would find it on after every read.
void restoreGameMode(ReadRun& link, GameModeToRestore gameMode) {
    if (!gameMode)
        return;
    link.sendCommand(command::kGameMode, {.p1 = *gameMode});
    link.wait(wait::kGameModeWrite);
}

void readVersion(ReadRun& link, Settings& settings) {
    const auto reply = link.queryCommand(command::kVersion, {}, wait::kVersionRequest);
    link.wait(wait::kVersionReply);
    if (reply)
        settings.setDeviceVersion(DeviceVersion{
            {(*reply)[wire::reply::kVersionMajor], (*reply)[wire::reply::kVersionMinor], 0, 0}});
}

void readLighting(ReadRun& link, Settings& settings) {
    const auto reply = link.queryCommand(command::kReadLighting, {}, wait::kLightingRequest);
    if (!reply)
        return;
    const wire::lighting::Params params = wire::lighting::fromWire(*reply);
    settings.storeDeviceBytes(layout::kLightingParams.offset, params);
}

void readColourTriples(ReadRun& link, Settings& settings) {
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
void readByte(ReadRun& link, Settings& settings, std::uint8_t readCommand, Block target,
              Milliseconds afterRequest, std::optional<Milliseconds> afterReply) {
    const auto reply = link.queryCommand(readCommand, {}, afterRequest);
    if (afterReply)
        link.wait(*afterReply);
    if (reply)
        settings.storeDeviceBytes(target.offset, std::span(*reply).subspan(wire::reply::kValue, 1));
}

// The image, the slider, the files and the apply all hold the response time step.
void readResponseTime(ReadRun& link, Settings& settings) {
    const auto reply =
        link.queryCommand(command::kReadResponseTime, {}, wait::kResponseTimeRequest);
    link.wait(wait::kResponseTimeReply);
    if (!reply)
        return;
    const std::uint8_t step = wire::responseTimeFromWire((*reply)[wire::reply::kValue]);
    settings.storeDeviceBytes(layout::kResponseTime.offset,
                              std::span<const std::uint8_t>(&step, 1));
}

void readKeyMap(ReadRun& link, Settings& settings) {
    link.readBulk(command::kReadKeyMap, {}, std::nullopt, std::nullopt, command::kKeyMapReports,
                  into(settings, layout::kKeyMapBlock));
}

void readKeyEnableMask(ReadRun& link, Settings& settings) {
    link.readBulk(command::kReadKeyEnable, {.p3 = command::kKeyEnableBytes}, std::nullopt,
                  std::nullopt, 1, [&settings](std::size_t, std::span<const std::uint8_t> data) {
                      settings.storeDeviceBytes(layout::kKeyEnableMask.offset,
                                                data.first(layout::kKeyEnableMask.size));
                      const std::uint8_t winKeyLock = wire::winKeyLockFromMask(
                          data[layout::kWinKeyMaskByte - layout::kKeyEnableMask.offset]);
                      settings.storeDeviceBytes(layout::kWinKeyLock.offset,
                                                std::span<const std::uint8_t>(&winKeyLock, 1));
                  });
}

void readMacroSlots(ReadRun& link, Settings& settings, bool yieldAfterEach) {
    for (std::uint8_t slot = 0; slot < layout::kMacroSlotCount; ++slot) {
        link.readBulk(command::kReadMacroSlot, {.p2 = slot}, std::nullopt, std::nullopt,
                      command::kMacroSlotReports, into(settings, layout::macroSlot(slot)));
        if (yieldAfterEach)
            link.yield();
    }
}

void readPerKeyPages(ReadRun& link, Settings& settings) {
    for (std::uint8_t page = 0; page < layout::kPerKeyPageCount; ++page) {
        link.readBulk(command::kReadPerKeyColours, {.p2 = page, .p3 = command::kPerKeyPageReports},
                      wait::kPerKeyRequest, wait::kPerKeyReply, command::kPerKeyPageReports,
                      into(settings, layout::perKeyColourPage(page)), Pause::Wait5);
    }
}

void readPalmRest(ReadRun& link, Settings& settings) {
    const auto reply = link.queryCommand(command::kReadPalmRest, {}, wait::kPalmRestRequest);
    link.wait(wait::kPalmRestReply);
    if (reply)
        settings.storeDeviceBytes(
            layout::kPalmRestBlock.offset,
            std::span(*reply).subspan(wire::reply::kPalmRestBlock, layout::kPalmRestBlock.size));
}

// The blocks from the lighting parameters to the key enable mask, as every sequence reads them.
void readLightingToKeyEnable(ReadRun& link, Settings& settings) {
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

ReadResult readAll(HidLink& link, Settings& settings, ReadOptions options) {
    auto conversation = link.beginConversation();
    ReadRun run(link, options.stop);
    sendGameModeOne(run);
    run.wait(wait::kAfterReadInitialGameMode);
    restoreGameMode(run, options.gameMode);
    readLightingToKeyEnable(run, settings);
    readMacroSlots(run, settings, false);
    readPerKeyPages(run, settings);
    readPalmRest(run, settings);
    return run.result();
}

ReadResult plugInRead(HidLink& link, Settings& settings, ReadOptions options) {
    auto conversation = link.beginConversation();
    if (const ReadResult all = readAll(link, settings, options); all != ReadResult::Complete)
        return all;
    ReadRun run(link, options.stop);
    readPerKeyPages(run, settings);
    readVersion(run, settings);
    return run.result();
}

ReadResult initialRead(HidLink& link, Settings& settings,
                       const std::function<void(ReadResult)>& readDone, ReadOptions options) {
    ReadResult result;
    {
        auto conversation = link.beginConversation();
        ReadRun run(link, options.stop);
        sendGameModeOne(run);
        restoreGameMode(run, options.gameMode);
        readVersion(run, settings);
        readLightingToKeyEnable(run, settings);
        readMacroSlots(run, settings, true);
        readPerKeyPages(run, settings);
        readPalmRest(run, settings);
        result = run.result();
        // Part of the keyboard was not read: it is not what the keyboard holds.
        if (result != ReadResult::Stopped)
            settings.snapshot();
    }
    if (readDone)
        readDone(result);
    return result;
}

ReadResult readDeviceVersion(HidLink& link, Settings& settings) {
    auto conversation = link.beginConversation();
    ReadRun run(link, nullptr);
    readVersion(run, settings);
    return run.result();
}

ReadResult readLightingParams(HidLink& link, Settings& settings) {
    auto conversation = link.beginConversation();
    ReadRun run(link, nullptr);
    readLighting(run, settings);
    return run.result();
}

const char* describe(ReadResult result) {
    switch (result) {
    case ReadResult::Complete:
        return "read";
    case ReadResult::TransferFailed:
        return "a transfer failed";
    case ReadResult::Stopped:
        return "stopped before it ended";
    }
    return "unknown";
}

} // namespace q905
