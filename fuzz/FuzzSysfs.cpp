// SPDX-License-Identifier: GPL-3.0-or-later
// What the kernel says about a HID device, as udev passes it on: HID_ID, HID_PHYS, the
// interface number, the device path and the report descriptor. The first byte chooses the
// parser; the hidraw case splits the rest at newlines into the facts of one node.

#include "platform/HidrawEnumerator.h"

#include <string_view>

using namespace q905;

namespace {
std::string_view nextLine(std::string_view& text) {
    const std::size_t newline = text.find('\n');
    const std::string_view line = text.substr(0, newline);
    text = newline == std::string_view::npos ? std::string_view{} : text.substr(newline + 1);
    return line;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    switch (data[0] % 3) {
    case 0:
        (void)summariseReportDescriptor({data + 1, size - 1});
        break;
    case 1: {
        HidrawDeviceFacts facts;
        facts.sysname = nextLine(text);
        facts.devnode = "/dev/" + facts.sysname;
        facts.hidId = std::string(nextLine(text));
        facts.hidPhys = std::string(nextLine(text));
        facts.interfaceNumber = std::string(nextLine(text));
        facts.reportDescriptor.assign(text.begin(), text.end());
        (void)HidrawEnumerator([&facts] { return std::vector{facts}; }).enumerate();
        break;
    }
    default:
        (void)hidIdFromDevicePath(text);
        (void)parseInterfaceNumber(text);
        (void)interfaceNumberFromPhys(text);
        break;
    }
    return 0;
}
