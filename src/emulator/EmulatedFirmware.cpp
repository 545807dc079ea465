// SPDX-License-Identifier: GPL-3.0-or-later
#include "emulator/EmulatedFirmware.h"

#include "device/Commands.h"
#include "device/Trace.h"
#include "device/WireEncoding.h"
#include "emulator/FactorySettings.h"

#include <algorithm>
#include <initializer_list>

namespace q905 {

namespace {

using namespace command;

std::string hexByte(std::uint8_t value) {
    return "0x" + Trace::hex(std::span(&value, 1));
}

std::uint8_t param(const FeatureFrame& frame, int n) {
    return frame[wire::paramByte(n)];
}

std::string paramName(int n) {
    return "p" + std::to_string(n);
}

// The parameter rules of one command; the first broken rule is kept.
class ParamCheck {
  public:
    explicit ParamCheck(const FeatureFrame& frame) : m_frame(frame) {}

    // Parameters the command does not use must be 0.
    ParamCheck& onlyUses(std::initializer_list<int> used) {
        for (int n = 1; n <= 6; ++n)
            if (std::find(used.begin(), used.end(), n) == used.end() && param(m_frame, n) != 0)
                fail(paramName(n) + " = " + hexByte(param(m_frame, n)) + " where 0 belongs");
        return *this;
    }
    ParamCheck& equals(int n, std::uint8_t expected) {
        if (param(m_frame, n) != expected)
            fail(paramName(n) + " = " + hexByte(param(m_frame, n)) + ", expected " +
                 hexByte(expected));
        return *this;
    }
    ParamCheck& oneOf(int n, std::initializer_list<std::uint8_t> allowed) {
        if (std::find(allowed.begin(), allowed.end(), param(m_frame, n)) == allowed.end())
            fail(paramName(n) + " = " + hexByte(param(m_frame, n)) + " is not a known value");
        return *this;
    }
    ParamCheck& indexBelow(int n, std::size_t count, const char* what) {
        if (param(m_frame, n) >= count)
            fail(std::string(what) + " " + paramName(n) + " = " + hexByte(param(m_frame, n)) +
                 " is out of range 0.." + std::to_string(count - 1));
        return *this;
    }

    bool ok() const { return m_problem.empty(); }
    const std::string& problem() const { return m_problem; }

  private:
    void fail(std::string problem) {
        if (m_problem.empty())
            m_problem = std::move(problem);
    }

    const FeatureFrame& m_frame;
    std::string m_problem;
};

std::string describeFrame(const FeatureFrame& frame) {
    return "set-feature " + Trace::hex(frame);
}

} // namespace

EmulatedFirmware::EmulatedFirmware() {
    factoryReset();
}

void EmulatedFirmware::setMemory(const SettingsImage& memory) {
    m_memory = memory;
    normaliseMemory(m_memory);
}

void EmulatedFirmware::factoryReset() {
    applyFactorySettings(m_memory);
}

void EmulatedFirmware::setVersion(std::uint8_t major, std::uint8_t minor) {
    m_versionMajor = major;
    m_versionMinor = minor;
}

void EmulatedFirmware::changeLighting(std::uint8_t field, std::uint8_t wireValue) {
    if (const auto offset = wire::lighting::imageOffset(field))
        m_memory.at(*offset) = wire::lighting::fromWire(field, wireValue);
}

std::array<std::uint8_t, 4> EmulatedFirmware::keyMapEntry(std::size_t position) const {
    std::array<std::uint8_t, 4> entry{};
    const auto map = m_memory.block(layout::kKeyMapBlock);
    if (position < map.size() / entry.size())
        std::copy_n(map.begin() + static_cast<std::ptrdiff_t>(position * entry.size()),
                    entry.size(), entry.begin());
    return entry;
}

void EmulatedFirmware::abandonExchange() {
    m_exchange = Exchange::Idle;
    m_exchangeCommand = 0;
    m_outgoing.clear();
    m_incoming.clear();
    m_incomingReports = 0;
}

FirmwareStep EmulatedFirmware::refuse(std::string error) {
    abandonExchange();
    return {false, false, std::move(error)};
}

std::string EmulatedFirmware::exchangeInProgress() const {
    const std::string command = hexByte(m_exchangeCommand);
    switch (m_exchange) {
    case Exchange::Idle:
        return {};
    case Exchange::ReplyReady:
        return "the reply to " + command + " was not fetched";
    case Exchange::SendingReports:
        return std::to_string(m_outgoing.size()) + " data reports of " + command +
               " are still unread";
    case Exchange::ReceivingReports:
        return std::to_string(m_incomingReports - m_incoming.size() / kDataBytesPerReport) +
               " of " + std::to_string(m_incomingReports) + " data reports of " + command +
               " are still unwritten";
    }
    return {};
}

std::string EmulatedFirmware::pendingNote() const {
    return m_exchange == Exchange::Idle ? std::string() : " (" + exchangeInProgress() + ")";
}

FirmwareStep EmulatedFirmware::setFeature(const FeatureFrame& frame) {
    if (m_exchange != Exchange::Idle)
        return refuse(describeFrame(frame) + ": sent while " + exchangeInProgress());
    if (frame[0] != 0)
        return refuse(describeFrame(frame) + ": report id " + hexByte(frame[0]) + ", expected 0");
    const std::uint8_t command = frame[frame::kCommand];
    // The palm-rest frame spends its checksum byte on data.
    if (command != kPalmRest && frame[frame::kChecksum] != frameChecksum(frame))
        return refuse(describeFrame(frame) + ": checksum " + hexByte(frame[frame::kChecksum]) +
                      ", expected " + hexByte(frameChecksum(frame)));
    return (command & kReadFlag) ? handleRead(frame) : handleWrite(frame);
}

void EmulatedFirmware::prepareReply(const FeatureFrame& reply) {
    m_reply = reply;
    m_exchange = Exchange::ReplyReady;
    m_exchangeCommand = reply[frame::kCommand];
}

void EmulatedFirmware::queueReports(std::span<const std::uint8_t> bytes) {
    for (std::size_t offset = 0; offset < bytes.size(); offset += kDataBytesPerReport) {
        DataReport report{};
        const std::size_t count = std::min(kDataBytesPerReport, bytes.size() - offset);
        std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, report.begin() + 1);
        m_outgoing.push_back(report);
    }
}

FirmwareStep EmulatedFirmware::handleRead(const FeatureFrame& frame) {
    const std::uint8_t command = frame[frame::kCommand];
    ParamCheck check(frame);
    FeatureFrame reply{};
    reply[frame::kCommand] = command;
    auto withChecksum = [&reply] {
        reply[frame::kChecksum] = frameChecksum(reply);
        return reply;
    };

    switch (command) {
    case kVersion:
        if (!check.onlyUses({}).ok())
            break;
        reply[wire::reply::kVersionMajor] = m_versionMajor;
        reply[wire::reply::kVersionMinor] = m_versionMinor;
        prepareReply(withChecksum());
        return {};
    case kReadReportRate:
        if (!check.onlyUses({}).ok())
            break;
        reply[wire::reply::kValue] = m_memory.reportRate();
        prepareReply(withChecksum());
        return {};
    case kReadResponseTime:
        if (!check.onlyUses({}).ok())
            break;
        reply[wire::reply::kValue] = wire::responseTimeToWire(m_memory.responseTime());
        prepareReply(withChecksum());
        return {};
    case kReadPalmRest: {
        if (!check.onlyUses({}).ok())
            break;
        // The whole reply after the report id is the palm-rest block, command byte first.
        const auto palm = m_memory.block(layout::kPalmRestBlock);
        std::ranges::copy(palm, reply.begin() + wire::reply::kPalmRestBlock);
        reply[frame::kCommand] = kReadPalmRest;
        prepareReply(reply);
        return {};
    }
    case kReadLighting:
        if (!check.onlyUses({}).ok())
            break;
        prepareReply(makeFeatureFrame(kReadLighting, wire::lighting::toWire(m_memory)));
        return {};
    case kReadGameMode:
        if (!check.onlyUses({}).ok())
            break;
        reply[wire::reply::kValue] = m_memory.gameMode();
        prepareReply(withChecksum());
        return {};
    case kReadKeyMap:
        if (!check.onlyUses({}).ok())
            break;
        prepareReply(withChecksum());
        queueReports(m_memory.block(layout::kKeyMapBlock));
        return {};
    case kReadKeyEnable: {
        if (!check.onlyUses({3}).equals(3, kKeyEnableBytes).ok())
            break;
        prepareReply(withChecksum());
        std::array<std::uint8_t, kDataBytesPerReport> data{};
        std::ranges::copy(m_memory.block(layout::kKeyEnableMask), data.begin());
        queueReports(data);
        return {};
    }
    case kReadMacroSlot:
        if (!check.onlyUses({2}).indexBelow(2, layout::kMacroSlotCount, "slot").ok())
            break;
        prepareReply(withChecksum());
        queueReports(m_memory.block(layout::macroSlot(param(frame, 2))));
        return {};
    case kReadPerKeyColours:
        if (!check.onlyUses({2, 3})
                 .indexBelow(2, layout::kPerKeyPageCount, "page")
                 .equals(3, kPerKeyPageReports)
                 .ok())
            break;
        prepareReply(withChecksum());
        queueReports(m_memory.block(layout::perKeyColourPage(param(frame, 2))));
        return {};
    case kReadColourTriple: {
        if (!check.onlyUses({2}).indexBelow(2, layout::kColourTripleCount, "triple").ok())
            break;
        const auto triple = m_memory.block(layout::colourTriple(param(frame, 2)));
        std::ranges::copy(triple, reply.begin() + wire::reply::kColourTripleRgb);
        prepareReply(withChecksum());
        return {};
    }
    default:
        return refuse(describeFrame(frame) + ": unknown read command " + hexByte(command));
    }
    return refuse(describeFrame(frame) + ": " + check.problem());
}

void EmulatedFirmware::expectReports(std::uint8_t command, Block target, std::size_t reports) {
    m_exchange = Exchange::ReceivingReports;
    m_exchangeCommand = command;
    m_incomingTarget = target;
    m_incomingReports = reports;
    m_incoming.clear();
    m_incoming.reserve(reports * kDataBytesPerReport);
}

FirmwareStep EmulatedFirmware::handleWrite(const FeatureFrame& frame) {
    const std::uint8_t command = frame[frame::kCommand];
    ParamCheck check(frame);
    const FirmwareStep completed{true, true, {}};
    const FirmwareStep awaitingReports{};

    switch (command) {
    case kReportRate:
        if (!check.onlyUses({1}).ok())
            break;
        m_memory.at(layout::kReportRate.offset) = param(frame, 1);
        return completed;
    case kResponseTime:
        if (!check.onlyUses({1}).ok())
            break;
        m_memory.at(layout::kResponseTime.offset) = wire::responseTimeFromWire(param(frame, 1));
        return completed;
    case kPalmRest: {
        auto palm = m_memory.block(layout::kPalmRestBlock);
        std::copy(frame.begin() + frame::kFirstParam, frame.end(), palm.begin() + 1);
        return completed;
    }
    case kLighting: {
        check.oneOf(1, {kLightingPreview, kLightingCommit});
        // The preview carries no brightness; a value there means the host mixed them up.
        if (param(frame, 1) == kLightingPreview)
            check.equals(4, 0);
        if (!check.ok())
            break;
        const std::uint8_t brightness = m_memory.brightness();
        std::ranges::copy(wire::lighting::fromWire(frame),
                          m_memory.block(layout::kLightingParams).begin());
        if (param(frame, 1) != kLightingCommit)
            m_memory.at(layout::kBrightness) = brightness;
        return completed;
    }
    case kGameMode:
        if (!check.onlyUses({1}).ok())
            break;
        m_memory.at(layout::kGameMode.offset) = param(frame, 1);
        return completed;
    case kKeyMap:
        if (!check.onlyUses({3}).equals(3, kKeyMapReports).ok())
            break;
        expectReports(command, layout::kKeyMapBlock, kKeyMapReports);
        return awaitingReports;
    case kKeyEnable:
        if (!check.onlyUses({3}).equals(3, kKeyEnableBytes).ok())
            break;
        expectReports(command, layout::kKeyEnableMask, 1);
        return awaitingReports;
    case kMacroSlot:
        if (!check.onlyUses({2, 3})
                 .indexBelow(2, layout::kMacroSlotCount, "slot")
                 .equals(3, kMacroSlotReports)
                 .ok())
            break;
        expectReports(command, layout::macroSlot(param(frame, 2)), kMacroSlotReports);
        return awaitingReports;
    case kPerKeyColours:
        if (!check.onlyUses({2, 3})
                 .indexBelow(2, layout::kPerKeyPageCount, "page")
                 .equals(3, kPerKeyPageReports)
                 .ok())
            break;
        expectReports(command, layout::perKeyColourPage(param(frame, 2)), kPerKeyPageReports);
        return awaitingReports;
    case kFactoryReset:
        if (!check.onlyUses({1}).equals(1, kFactoryResetParam).ok())
            break;
        factoryReset();
        return completed;
    case kColourTriple: {
        if (!check.onlyUses({2, 3, 4, 5}).indexBelow(2, layout::kColourTripleCount, "triple").ok())
            break;
        auto triple = m_memory.block(layout::colourTriple(param(frame, 2)));
        triple[0] = param(frame, 3);
        triple[1] = param(frame, 4);
        triple[2] = param(frame, 5);
        return completed;
    }
    case kApplySession:
        if (!check.onlyUses({1}).oneOf(1, {0, 1}).ok())
            break;
        return completed;
    default:
        return refuse(describeFrame(frame) + ": unknown command " + hexByte(command));
    }
    return refuse(describeFrame(frame) + ": " + check.problem());
}

FirmwareStep EmulatedFirmware::getFeature(FeatureFrame& reply) {
    if (reply[0] != 0)
        return refuse("get-feature: report id " + hexByte(reply[0]) +
                      " asked for, the keyboard has only report id 0x00");
    if (m_exchange != Exchange::ReplyReady)
        return refuse("get-feature: no reply pending" + pendingNote());
    reply = m_reply;
    m_exchange = m_outgoing.empty() ? Exchange::Idle : Exchange::SendingReports;
    return {};
}

FirmwareStep EmulatedFirmware::readReport(DataReport& report) {
    if (m_exchange != Exchange::SendingReports)
        return refuse("read: no data report pending" + pendingNote());
    report = m_outgoing.front();
    m_outgoing.pop_front();
    if (m_outgoing.empty())
        m_exchange = Exchange::Idle;
    return {};
}

FirmwareStep EmulatedFirmware::writeReport(const DataReport& report) {
    const std::string written = "write " + Trace::hex(report);
    if (m_exchange != Exchange::ReceivingReports)
        return refuse(written + ": no data report was asked for" + pendingNote());
    if (report[0] != 0)
        return refuse(written + ": report id " + hexByte(report[0]) + ", expected 0x00");
    // The key enable report carries 21 bytes; anything behind them is not part of the mask.
    if (m_exchangeCommand == kKeyEnable &&
        std::any_of(report.begin() + 1 + kKeyEnableBytes, report.end(),
                    [](std::uint8_t byte) { return byte != 0; }))
        return refuse(written + ": data bytes 22..64 of the key enable report must be 0");

    m_incoming.insert(m_incoming.end(), report.begin() + 1, report.end());
    if (m_incoming.size() < m_incomingReports * kDataBytesPerReport)
        return {};
    storeReceived();
    abandonExchange();
    return {true, true, {}};
}

void EmulatedFirmware::storeReceived() {
    std::copy_n(m_incoming.begin(), m_incomingTarget.size,
                m_memory.block(m_incomingTarget).begin());
    normaliseMemory(m_memory);
}

} // namespace q905
