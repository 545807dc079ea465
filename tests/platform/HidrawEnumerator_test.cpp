// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidInterfaceLookup.h"
#include "platform/HidrawBackend.h"
#include "platform/HidrawEnumerator.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace q905 {
namespace {

namespace fs = std::filesystem;

const std::string kDesktop = Q905_TEST_DATA_DIR "/sysfs/desktop";

std::optional<std::string> fileText(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    std::string text{std::istreambuf_iterator<char>(file), {}};
    while (!text.empty() && text.back() == '\n')
        text.pop_back();
    return text;
}

std::optional<std::string> ueventProperty(const fs::path& hid, std::string_view key) {
    std::ifstream file(hid / "uevent");
    for (std::string line; std::getline(file, line);)
        if (line.starts_with(key) && line.size() > key.size() && line[key.size()] == '=')
            return line.substr(key.size() + 1);
    return std::nullopt;
}

// What libudev reports for a recorded sysfs tree: the hid parent is what class/hidraw/N/device
// resolves to, its usb_interface the directory above it when that has a bInterfaceNumber.
HidrawDeviceSource recordedTree(const fs::path& root) {
    return [root] {
        std::vector<HidrawDeviceFacts> devices;
        std::error_code error;
        for (const auto& entry : fs::directory_iterator(root / "class" / "hidraw", error)) {
            HidrawDeviceFacts facts;
            facts.sysname = entry.path().filename().string();
            facts.devnode = "/dev/" + facts.sysname;
            const fs::path hid = fs::canonical(entry.path() / "device");
            facts.hidId = ueventProperty(hid, "HID_ID");
            facts.hidPhys = ueventProperty(hid, "HID_PHYS");
            facts.interfaceNumber = fileText(hid.parent_path() / "bInterfaceNumber");
            if (const auto descriptor = fileText(hid / "report_descriptor"))
                facts.reportDescriptor.assign(descriptor->begin(), descriptor->end());
            devices.push_back(std::move(facts));
        }
        return devices;
    };
}

TEST(HidIds, ParsesHidIdAndInterfaceNumbers) {
    const auto id = parseHidId("0003:000004D9:0000A12E\n");
    ASSERT_TRUE(id);
    EXPECT_EQ(id->vendorId, 0x04D9);
    EXPECT_EQ(id->productId, 0xA12E);
    EXPECT_EQ(interfaceNumberFromPhys("usb-0000:00:14.0-3/input12"), 12);
    EXPECT_FALSE(parseHidId("0003:000004D9"));
    EXPECT_FALSE(parseHidId("0003:000104D9:0000A12E")); // wider than 16 bits
    EXPECT_FALSE(interfaceNumberFromPhys("usb-0000:00:14.0-3/input"));
    EXPECT_EQ(parseInterfaceNumber("0a\n"), 10); // bInterfaceNumber is hex

    // After removal only the path still names the device.
    const auto removed = hidIdFromDevicePath(
        "/devices/pci0000:00/0000:00:14.0/usb1/1-3/1-3:1.3/0003:04D9:A12E.0007/hidraw/hidraw11");
    ASSERT_TRUE(removed);
    EXPECT_EQ(removed->productId, 0xA12E);
    EXPECT_FALSE(hidIdFromDevicePath("/devices/virtual/misc/uhid/hidraw0"));
}

TEST(HidrawEnumerator, NamesEveryInterfaceAndCollectionInNodeOrder) {
    const HidrawEnumerator enumerator(recordedTree(kDesktop));
    std::vector<std::string> paths;
    for (const auto& info : enumerator.enumerate())
        paths.push_back(info.path);
    // hidraw4 cannot be parsed; hidraw10 gives its interface only in bInterfaceNumber.
    const std::vector<std::string> expected = {
        "/dev/hidraw0#vid_046d&pid_c077&mi_00",       "/dev/hidraw1#vid_04d9&pid_a126&mi_01&col01",
        "/dev/hidraw1#vid_04d9&pid_a126&mi_01&col02", "/dev/hidraw1#vid_04d9&pid_a126&mi_01&col03",
        "/dev/hidraw1#vid_04d9&pid_a126&mi_01&col04", "/dev/hidraw2#vid_04d9&pid_a126&mi_03",
        "/dev/hidraw3#vid_04d9&pid_a12e&mi_00",       "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col01",
        "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col02", "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col03",
        "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col04", "/dev/hidraw10#vid_04d9&pid_a12e&mi_02",
        "/dev/hidraw11#vid_04d9&pid_a12e&mi_03",
    };
    EXPECT_EQ(paths, expected);

    const auto nodes = enumerator.nodes();
    ASSERT_EQ(nodes.size(), 7u);
    EXPECT_EQ(nodes[4].number, 9);
    ASSERT_EQ(nodes[4].descriptor.collections.size(), 4u);
    EXPECT_EQ(nodes[4].descriptor.collections[3].reportIds, std::vector<std::uint8_t>{4});
}

TEST(HidrawEnumerator, ANodeWithoutDevnodeIsSkippedAndOneWithoutUsbInterfaceHasNoMiPart) {
    HidrawDeviceFacts facts{"hidraw7",    "",           "0005:000004D9:0000A12E",
                            std::nullopt, std::nullopt, {}};
    EXPECT_FALSE(parseHidrawNode(facts)); // no node to open yet
    facts.devnode = "/dev/hidraw7";
    const auto interfaces = HidrawEnumerator([facts] { return std::vector{facts}; }).enumerate();
    ASSERT_EQ(interfaces.size(), 1u);
    // Bluetooth: no "mi_" part at all.
    EXPECT_EQ(interfaces.front().path, "/dev/hidraw7#vid_04d9&pid_a12e");
    EXPECT_EQ(devnodeOfPath(interfaces.front().path), "/dev/hidraw7");
    EXPECT_EQ(devnodeOfPath("/dev/hidraw7"), "/dev/hidraw7");
}

TEST(HidrawLookup, FindsTheKeyboardsCommandAndNotificationInterfaces) {
    HidrawBackend backend{HidrawEnumerator(recordedTree(kDesktop))};
    const auto interfaces = backend.enumerate();

    // The a126 device's mi_03 and col04 come first and must be passed over.
    const auto command = findInterfacePath(interfaces, "mi_03");
    ASSERT_TRUE(command);
    EXPECT_EQ(command->path, "/dev/hidraw11#vid_04d9&pid_a12e&mi_03");
    const auto notify = findInterfacePath(interfaces, "ol04");
    ASSERT_TRUE(notify);
    EXPECT_EQ(notify->path, "/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col04");
    EXPECT_FALSE(findInterfacePath(interfaces, "MI_03")); // case-sensitive

    std::vector<HidInterfaceInfo> withoutKeyboard;
    for (const auto& info : interfaces)
        if (info.productId != kKeyboardProductId)
            withoutKeyboard.push_back(info);
    EXPECT_FALSE(findInterfacePath(withoutKeyboard, "mi_03"));
    EXPECT_FALSE(findInterfacePath(withoutKeyboard, "ol04"));
}

} // namespace
} // namespace q905
