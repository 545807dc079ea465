// SPDX-License-Identifier: GPL-3.0-or-later
#include "device/HidInterfaceLookup.h"
#include "platform/HidrawBackend.h"
#include "platform/SysfsHidEnumerator.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

const std::string kDesktop = Q905_TEST_DATA_DIR "/sysfs/desktop";

TEST(SysfsUevent, ParsesHidIdAndInterfaceNumbers) {
    const std::string uevent = "DRIVER=hid-generic\nHID_ID=0003:000004D9:0000A12E\n"
                               "HID_PHYS=usb-0000:00:14.0-3/input12\n";
    const auto id = parseHidId(ueventValue(uevent, "HID_ID").value());
    ASSERT_TRUE(id);
    EXPECT_EQ(id->vendorId, 0x04D9);
    EXPECT_EQ(id->productId, 0xA12E);
    EXPECT_EQ(interfaceNumberFromPhys(ueventValue(uevent, "HID_PHYS").value()), 12);
    EXPECT_FALSE(ueventValue(uevent, "HID"));
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

TEST(SysfsHidEnumerator, NamesEveryInterfaceAndCollectionInNodeOrder) {
    const SysfsHidEnumerator enumerator(kDesktop);
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

TEST(SysfsHidEnumerator, DeviceDirectoryIsAParameterAndAMissingTreeIsEmpty) {
    const auto interfaces = SysfsHidEnumerator(kDesktop, "/run/test-dev").enumerate();
    ASSERT_FALSE(interfaces.empty());
    EXPECT_EQ(devnodeOfPath(interfaces.front().path), "/run/test-dev/hidraw0");
    EXPECT_EQ(devnodeOfPath("/dev/hidraw7"), "/dev/hidraw7");
    EXPECT_TRUE(SysfsHidEnumerator(kDesktop + "/no-such-root").enumerate().empty());
    // A device that is no USB interface (Bluetooth here) gets no "mi_" part at all.
    EXPECT_EQ(interfacePath("/dev/hidraw2", {0x0005, 0x04D9, 0xA12E}, std::nullopt, 0),
              "/dev/hidraw2#vid_04d9&pid_a12e");
}

TEST(SysfsLookup, FindsTheKeyboardsCommandAndNotificationInterfaces) {
    HidrawBackend backend{SysfsHidEnumerator(kDesktop)};
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
