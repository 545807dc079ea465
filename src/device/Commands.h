// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command catalogue: command bytes and the fixed waits (milliseconds) the keyboard needs.
// A read request is the write command with bit 7 set.

#include <chrono>
#include <cstdint>

namespace q905 {

using Milliseconds = std::chrono::milliseconds;

namespace command {
inline constexpr std::uint8_t kReadFlag = 0x80;

inline constexpr std::uint8_t kReportRate = 0x01;
inline constexpr std::uint8_t kResponseTime = 0x04;
inline constexpr std::uint8_t kPalmRest = 0x07; // no checksum: the frame carries the block
inline constexpr std::uint8_t kLighting = 0x08;
inline constexpr std::uint8_t kGameMode = 0x09;
inline constexpr std::uint8_t kKeyMap = 0x0D;
inline constexpr std::uint8_t kKeyEnable = 0x0E;
inline constexpr std::uint8_t kMacroSlot = 0x11;
inline constexpr std::uint8_t kPerKeyColours = 0x12;
inline constexpr std::uint8_t kFactoryReset = 0x13;
inline constexpr std::uint8_t kColourTriple = 0x14;
inline constexpr std::uint8_t kApplySession = 0x18;

inline constexpr std::uint8_t kVersion = 0x80; // read only
inline constexpr std::uint8_t kReadReportRate = 0x81;
inline constexpr std::uint8_t kReadResponseTime = 0x84;
inline constexpr std::uint8_t kReadPalmRest = 0x87;
inline constexpr std::uint8_t kReadLighting = 0x88;
inline constexpr std::uint8_t kReadGameMode = 0x89;
inline constexpr std::uint8_t kReadKeyMap = 0x8D;
inline constexpr std::uint8_t kReadKeyEnable = 0x8E;
inline constexpr std::uint8_t kReadMacroSlot = 0x91;
inline constexpr std::uint8_t kReadPerKeyColours = 0x92;
inline constexpr std::uint8_t kReadColourTriple = 0x94;

inline constexpr std::uint8_t kFactoryResetParam = 0xFF;
inline constexpr std::uint8_t kLightingPreview = 1; // 0x08 p1 at the start of an apply
inline constexpr std::uint8_t kLightingCommit = 2;  // 0x08 p1 at its end, brightness included

// Data reports (or data bytes) that follow a bulk command, carried in p3.
inline constexpr std::uint8_t kKeyMapReports = 8;
inline constexpr std::uint8_t kKeyEnableBytes = 21;
inline constexpr std::uint8_t kMacroSlotReports = 3;
inline constexpr std::uint8_t kPerKeyPageReports = 8;
} // namespace command

namespace wait {
using namespace std::chrono_literals;
// Reads.
inline constexpr Milliseconds kAfterReadInitialGameMode = 10ms; // readAll only, after 0x09 with 1
inline constexpr Milliseconds kVersionRequest = 10ms, kVersionReply = 10ms;
inline constexpr Milliseconds kReportRateRequest = 10ms, kReportRateReply = 10ms;
inline constexpr Milliseconds kResponseTimeRequest = 10ms, kResponseTimeReply = 10ms;
inline constexpr Milliseconds kPalmRestRequest = 20ms, kPalmRestReply = 100ms;
inline constexpr Milliseconds kLightingRequest = 10ms;
inline constexpr Milliseconds kGameModeRequest = 5ms;
inline constexpr Milliseconds kPerKeyRequest = 5ms, kPerKeyReply = 5ms, kPerKeyReport = 5ms;
inline constexpr Milliseconds kColourTripleRequest = 1ms, kColourTripleReply = 1ms;
// Writes.
inline constexpr Milliseconds kReportRateWrite = 10ms;
inline constexpr Milliseconds kResponseTimeWrite = 10ms;
inline constexpr Milliseconds kLightingWrite = 10ms;
inline constexpr Milliseconds kGameModeWrite = 20ms;
inline constexpr Milliseconds kKeyMapFrame = 50ms, kKeyMapLastReport = 60ms;
inline constexpr Milliseconds kKeyEnableWrite = 10ms;
inline constexpr Milliseconds kMacroSlotFrame = 1ms;
inline constexpr Milliseconds kPerKeyFrame = 5ms, kPerKeyWriteReport = 5ms;
inline constexpr Milliseconds kColourTripleWrite = 20ms;
inline constexpr Milliseconds kApplySession = 20ms;
inline constexpr Milliseconds kFactoryReset = 300ms;
// Acknowledgement polling step and the bound after which an apply gives up.
inline constexpr Milliseconds kAckPoll = 10ms;
inline constexpr Milliseconds kAckTimeout = 2000ms;
} // namespace wait

} // namespace q905
