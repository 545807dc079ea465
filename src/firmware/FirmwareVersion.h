// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The newest firmware version an installation knows (VER.bin) and the check whether the
// keyboard's firmware is older.

#include "device/Settings.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string_view>

namespace q905 {

inline constexpr const char* kVersionFileName = "VER.bin";

struct FirmwareVersion {
    std::uint8_t major = 0;
    std::uint8_t minor = 0;
    bool operator==(const FirmwareVersion&) const = default;
};

// Byte 5 is the major and byte 7 the minor version as ASCII digits, each minus 0x30 modulo 256.
// Contents too short to hold byte 7 give 0.0.
FirmwareVersion parseVersionFile(std::span<const std::uint8_t> contents);
// assetFolder / "VER.bin"; a missing, unreadable, irregular or oversized file gives 0.0.
FirmwareVersion readVersionFile(const std::filesystem::path& assetFolder);

// True when the keyboard is older than the file's version: the update question is due.
bool checkFirmwareVersion(FirmwareVersion fileVersion, FirmwareVersion deviceVersion);
bool checkFirmwareVersion(FirmwareVersion fileVersion, const DeviceVersion& deviceVersion);

// The update question. Its English text ends in a full-width question mark.
inline constexpr std::string_view kUpdateQuestionText = "Update new firmware\uFF1F";
inline constexpr std::string_view kUpdateQuestionCaption = "Firmware Update";
inline constexpr std::string_view kUpdateQuestionTextGerman =
    "Es ist eine neue Firmware verf\u00FCgbar. M\u00F6chtest Du sie aktualisieren?";
inline constexpr std::string_view kUpdateQuestionCaptionGerman = "Firmware aktualisieren";

} // namespace q905
