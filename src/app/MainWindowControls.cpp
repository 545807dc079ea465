// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/MainWindowControls.h"

namespace q905 {

RegionRect keyControlRect(int key) {
    const KeyEntry& entry = KeyTable[static_cast<std::size_t>(key)];
    return {kPictureOriginX + entry.left, kPictureOriginY + entry.top,
            kPictureOriginX + entry.right, kPictureOriginY + entry.bottom};
}

std::vector<ControlSpec> mainWindowTable(std::span<const ControlSpec> panel, int currentKey) {
    std::vector<ControlSpec> table(kMainWindowControls.begin(), kMainWindowControls.end());
    table.insert(table.end(), panel.begin(), panel.end());
    for (int key = 0; key < kKeyCount; ++key) {
        if (isUnplacedKey(key))
            continue;
        const std::string_view label = KeyTable[static_cast<std::size_t>(key)].label;
        table.push_back({keyControlId(key), ControlKind::Key, keyControlRect(key),
                         WindowText{label, label},
                         key == currentKey ? kKeyboardTabOrder : kNoTabStop});
    }
    return table;
}

} // namespace q905
