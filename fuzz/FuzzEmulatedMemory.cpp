// SPDX-License-Identifier: GPL-3.0-or-later
// The emulated keyboard's memory file: any 10,068 bytes become its memory, and the start-up
// read takes them through the protocol into the settings image.

#include "device/DeviceReader.h"
#include "device/HidLink.h"
#include "emulator/EmulatedKeyboard.h"

#include <algorithm>

using namespace q905;

namespace {
class NoWaitClock final : public Clock {
  public:
    void sleep(std::chrono::milliseconds) override {}
    void yield() override {}
    TimePoint now() override { return {}; }
};
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size != kSettingsImageSize)
        return -1; // the file is refused at any other size
    static EmulatedKeyboard keyboard;
    SettingsImage memory;
    std::copy_n(data, size, memory.bytes().begin());
    keyboard.setMemory(memory);
    keyboard.clearErrors();
    NoWaitClock clock;
    HidLink link(keyboard.backend(), clock);
    if (!link.openCommandHandle())
        return 0;
    Settings settings;
    (void)readAll(link, settings);
    return 0;
}
