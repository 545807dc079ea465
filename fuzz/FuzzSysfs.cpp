// SPDX-License-Identifier: GPL-3.0-or-later
// What the kernel says about a HID device: uevent text and its fields, device paths, the
// interface number file, and report descriptors. The first byte chooses the parser.

#include "platform/ReportDescriptor.h"
#include "platform/SysfsUevent.h"

#include <string_view>

using namespace q905;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        (void)summariseReportDescriptor({data + 1, size - 1});
        break;
    case 1:
        for (std::string_view key : {"HID_ID", "HID_PHYS", "HID_NAME", "DEVNAME"}) {
            const auto value = ueventValue(text, key);
            if (value) {
                (void)parseHidId(*value);
                (void)interfaceNumberFromPhys(*value);
            }
        }
        break;
    default:
        (void)hidIdFromDevicePath(text);
        (void)parseInterfaceNumber(text);
        (void)interfaceNumberFromPhys(text);
        break;
    }
    return 0;
}
