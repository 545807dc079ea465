// SPDX-License-Identifier: GPL-3.0-or-later
// keymap.bin and profile files: the host state taken from any bytes, then everything that
// reads it (the assignment texts, the marks, the launch lookup) and the round trip back.

#include "keys/AssignmentText.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"
#include "keys/KeymapFile.h"
#include "keys/LaunchLookup.h"

#include <cstdlib>
#include <memory>

using namespace q905;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static auto keys = std::make_unique<KeyAssignments>();
    SettingsImage image;
    keys->table().clear();
    takeHostStateBytes({data, size}, &image, keys->table());
    keys->table().resetKeyCodes();
    recomputeAssignedFlags(*keys, image);
    for (int key = 0; key < kKeyCount; ++key) {
        if (!isUnplacedKey(key))
            (void)describeAssignment(keys->table(), image, key);
    }
    for (unsigned code = 0; code < 256; ++code) {
        if (const auto action = findLaunchAction(keys->table(), static_cast<std::uint8_t>(code))) {
            if (action->recordIndex >= static_cast<std::size_t>(kKeyCount))
                std::abort(); // a record nobody sees must never launch
            (void)splitLaunchPath(action->path);
        }
    }
    const auto bytes = hostStateBytes(image, keys->table());
    if (bytes.size() != kHostStateFileSize)
        std::abort();
    return 0;
}
