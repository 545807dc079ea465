// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/EvdevKeyCodes.h"

#include <array>
#include <utility>

namespace q905 {
namespace {

// evdev code (linux/input-event-codes.h) → virtual-key code.
constexpr std::pair<int, std::uint8_t> kEvdevToVirtualKey[] = {
    {1, 0x1B}, // Esc
    {2, 0x31},   {3, 0x32},   {4, 0x33},   {5, 0x34},   {6, 0x35},   {7, 0x36},   {8, 0x37},
    {9, 0x38},   {10, 0x39},  {11, 0x30},              // 1..9, 0
    {12, 0xBD},  {13, 0xBB},  {14, 0x08},  {15, 0x09}, // - = Backspace Tab
    {16, 'Q'},   {17, 'W'},   {18, 'E'},   {19, 'R'},   {20, 'T'},   {21, 'Y'},   {22, 'U'},
    {23, 'I'},   {24, 'O'},   {25, 'P'},   {26, 0xDB},  {27, 0xDD},  {28, 0x0D}, // [ ] Enter
    {29, 0xA2},                                                                  // left Ctrl
    {30, 'A'},   {31, 'S'},   {32, 'D'},   {33, 'F'},   {34, 'G'},   {35, 'H'},   {36, 'J'},
    {37, 'K'},   {38, 'L'},   {39, 0xBA},  {40, 0xDE},  {41, 0xC0}, // ; ' `
    {42, 0xA0},  {43, 0xDC},                                        // left Shift, backslash
    {44, 'Z'},   {45, 'X'},   {46, 'C'},   {47, 'V'},   {48, 'B'},   {49, 'N'},   {50, 'M'},
    {51, 0xBC},  {52, 0xBE},  {53, 0xBF},  {54, 0xA1}, // , . / right Shift
    {55, 0x6A},  {56, 0xA4},  {57, 0x20},  {58, 0x14}, // keypad *, left Alt, Space, Caps Lock
    {59, 0x70},  {60, 0x71},  {61, 0x72},  {62, 0x73},  {63, 0x74},  {64, 0x75},  {65, 0x76},
    {66, 0x77},  {67, 0x78},  {68, 0x79},                           // F1..F10
    {69, 0x90},  {70, 0x91},                                        // Num Lock, Scroll Lock
    {71, 0x67},  {72, 0x68},  {73, 0x69},  {74, 0x6D},              // keypad 7 8 9 -
    {75, 0x64},  {76, 0x65},  {77, 0x66},  {78, 0x6B},              // keypad 4 5 6 +
    {79, 0x61},  {80, 0x62},  {81, 0x63},  {82, 0x60},  {83, 0x6E}, // keypad 1 2 3 0 .
    {86, 0xE2},  {87, 0x7A},  {88, 0x7B},                           // 102nd key, F11, F12
    {96, 0x6C}, // keypad Enter: the key tables' own code for it
    {97, 0xA3},  {98, 0x6F},  {99, 0x2C},  {100, 0xA5}, // right Ctrl, keypad /, SysRq, right Alt
    {102, 0x24}, {103, 0x26}, {104, 0x21}, {105, 0x25}, {106, 0x27}, {107, 0x23}, {108, 0x28},
    {109, 0x22}, {110, 0x2D}, {111, 0x2E}, // Home Up PgUp Left Right End Down PgDn Ins Del
    {113, 0xAD}, {114, 0xAE}, {115, 0xAF}, // Mute, Volume down, Volume up
    {119, 0x13},                           // Pause
    {125, 0x5B}, {126, 0x5C}, {127, 0x5D}, // left Win, right Win, Menu
    {163, 0xB0}, {164, 0xB3}, {165, 0xB1}, // next, play/pause, previous
};

constexpr int kHighestEvdevCode = 165;

constexpr std::array<std::uint8_t, kHighestEvdevCode + 1> makeLookup() {
    std::array<std::uint8_t, kHighestEvdevCode + 1> lookup{};
    for (const auto& [evdev, virtualKey] : kEvdevToVirtualKey)
        lookup[evdev] = virtualKey;
    return lookup;
}

constexpr auto kLookup = makeLookup();

} // namespace

std::uint8_t virtualKeyFromEvdev(int evdevCode) {
    if (evdevCode < 0 || evdevCode > kHighestEvdevCode)
        return 0;
    return kLookup[static_cast<std::size_t>(evdevCode)];
}

int evdevFromVirtualKey(std::uint8_t virtualKey) {
    for (const auto& [evdev, code] : kEvdevToVirtualKey)
        if (code == virtualKey)
            return evdev;
    return 0;
}

} // namespace q905
