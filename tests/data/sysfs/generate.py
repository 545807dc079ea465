#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the fake sysfs tree desktop/ used by the hidraw enumeration tests.

Run from this folder after changing it; the output is committed. The keyboard's entries use
the real layout (class/hidraw/hidrawN and its device entry are symlinks into devices/); the
unrelated mouse uses plain directories, which the enumerator must accept as well.
"""
import os
import shutil

ROOT = "desktop"
USB = "devices/pci0000:00/0000:00:14.0/usb1"

BOOT_KEYBOARD = bytes.fromhex(
    "05 01 09 06 a1 01 05 07 19 e0 29 e7 15 00 25 01 75 01 95 08 81 02 c0")
MOUSE = bytes.fromhex(
    "05 01 09 02 a1 01 09 01 a1 00 05 09 19 01 29 03 75 01 95 03 81 02 c0 c0")
# Consumer control (id 2), system control (id 3), keyboard with a nested collection (id 1),
# vendor notifications (id 4, three data bytes).
MULTI_COLLECTION = bytes.fromhex(
    "05 0c 09 01 a1 01 85 02 75 10 95 01 81 00 c0"
    "05 01 09 80 a1 01 85 03 75 08 95 01 81 00 c0"
    "05 01 09 06 a1 01 85 01 09 06 a1 00 75 08 95 06 81 00 c0 c0"
    "06 00 ff 09 01 a1 01 85 04 09 02 15 00 26 ff 00 75 08 95 03 81 02 c0")
# Unnumbered vendor reports: 64 bytes in, 64 out, 8-byte feature.
VENDOR_COMMANDS = bytes.fromhex(
    "06 00 ff 09 01 a1 01 15 00 26 ff 00 75 08"
    "95 40 09 01 81 02 95 40 09 01 91 02 95 08 09 01 b1 02 c0")


def write(path, content):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb" if isinstance(content, bytes) else "w") as f:
        f.write(content)


def linked_node(number, port, interface, hid_name, hid_id, phys, descriptor):
    usb_interface = f"{USB}/{port}/{port}:1.{interface}"
    vendor, product = hid_id.split(":")[1][4:].lower(), hid_id.split(":")[2][4:].lower()
    write(f"{ROOT}/{USB}/{port}/idVendor", f"{vendor}\n")
    write(f"{ROOT}/{USB}/{port}/idProduct", f"{product}\n")
    hid_device = f"{usb_interface}/{hid_name}"
    write(f"{ROOT}/{usb_interface}/bInterfaceNumber", f"{interface:02x}\n")
    uevent = f"DRIVER=hid-generic\nHID_ID={hid_id}\nHID_NAME=Test Device\n"
    uevent += f"HID_PHYS={phys}\nMODALIAS=hid:b0003g0001\n"
    write(f"{ROOT}/{hid_device}/uevent", uevent)
    write(f"{ROOT}/{hid_device}/report_descriptor", descriptor)
    node = f"{ROOT}/{hid_device}/hidraw/hidraw{number}"
    os.makedirs(node)
    write(f"{node}/uevent", f"MAJOR=244\nMINOR={number}\nDEVNAME=hidraw{number}\n")
    os.symlink(f"../../../{hid_name}", f"{node}/device")
    os.symlink(f"../../{hid_device}/hidraw/hidraw{number}",
               f"{ROOT}/class/hidraw/hidraw{number}")


def plain_node(number, hid_id, phys, descriptor):
    device = f"{ROOT}/class/hidraw/hidraw{number}/device"
    write(f"{device}/uevent", f"HID_ID={hid_id}\nHID_PHYS={phys}\n")
    write(f"{device}/report_descriptor", descriptor)


shutil.rmtree(ROOT, ignore_errors=True)
os.makedirs(f"{ROOT}/class/hidraw")

plain_node(0, "0003:0000046D:0000C077", "usb-0000:00:14.0-1/input0", MOUSE)

# Same maker, another product: its paths contain mi_03 and col04 too and come first.
other = "0003:000004D9:0000A126"
linked_node(1, "1-2", 1, "0003:04D9:A126.0002", other, "usb-0000:00:14.0-2/input1",
            MULTI_COLLECTION)
linked_node(2, "1-2", 3, "0003:04D9:A126.0003", other, "usb-0000:00:14.0-2/input3",
            VENDOR_COMMANDS)

# A node whose uevent cannot be parsed.
write(f"{ROOT}/class/hidraw/hidraw4/device/uevent", "HID_ID=garbage\n")

# The keyboard, numbered so that lexical order would differ from numeric order. Interface 2
# gives no input number in HID_PHYS, so its number comes from bInterfaceNumber.
keyboard = "0003:000004D9:0000A12E"
linked_node(3, "1-3", 0, "0003:04D9:A12E.0004", keyboard, "usb-0000:00:14.0-3/input0",
            BOOT_KEYBOARD)
linked_node(9, "1-3", 1, "0003:04D9:A12E.0005", keyboard, "usb-0000:00:14.0-3/input1",
            MULTI_COLLECTION)
linked_node(10, "1-3", 2, "0003:04D9:A12E.0006", keyboard, "usb-0000:00:14.0-3", MOUSE)
linked_node(11, "1-3", 3, "0003:04D9:A12E.0007", keyboard, "usb-0000:00:14.0-3/input3",
            VENDOR_COMMANDS)
