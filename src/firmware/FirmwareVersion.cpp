// SPDX-License-Identifier: GPL-3.0-or-later
#include "firmware/FirmwareVersion.h"

#include "base/RegularFile.h"

namespace q905 {

namespace {
constexpr std::size_t kMajorByte = 5;
constexpr std::size_t kMinorByte = 7;
constexpr std::uint8_t kDigitZero = 0x30;
// VER.bin is a line of text; anything larger is not one.
constexpr std::size_t kVersionFileMaxSize = 4096;
} // namespace

FirmwareVersion parseVersionFile(std::span<const std::uint8_t> contents) {
    if (contents.size() <= kMinorByte)
        return {};
    return {static_cast<std::uint8_t>(contents[kMajorByte] - kDigitZero),
            static_cast<std::uint8_t>(contents[kMinorByte] - kDigitZero)};
}

FirmwareVersion readVersionFile(const std::filesystem::path& assetFolder) {
    const FileContents contents =
        readRegularFile(assetFolder / kVersionFileName, kVersionFileMaxSize);
    return contents.ok() ? parseVersionFile(contents.bytes) : FirmwareVersion{};
}

bool checkFirmwareVersion(FirmwareVersion fileVersion, FirmwareVersion deviceVersion) {
    return deviceVersion.major < fileVersion.major ||
           (deviceVersion.major == fileVersion.major && deviceVersion.minor < fileVersion.minor);
}

bool checkFirmwareVersion(FirmwareVersion fileVersion, const DeviceVersion& deviceVersion) {
    return checkFirmwareVersion(fileVersion,
                                FirmwareVersion{deviceVersion.major(), deviceVersion.minor()});
}

} // namespace q905
