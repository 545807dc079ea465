// SPDX-License-Identifier: GPL-3.0-or-later
// VER.bin.

#include "firmware/FirmwareVersion.h"

using namespace q905;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const FirmwareVersion version = parseVersionFile({data, size});
    (void)checkFirmwareVersion(version, FirmwareVersion{1, 0});
    return 0;
}
