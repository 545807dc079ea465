// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/LaunchLookup.h"

#include "base/Utf16.h"
#include "keys/KeyTable.h"

namespace q905 {

std::optional<LaunchAction> findLaunchAction(const KeyAssignmentTable& table, std::uint8_t code) {
    // Only the keys' own records: the rest of the table is never shown, so it never launches.
    for (std::size_t index = 0; index < static_cast<std::size_t>(kKeyCount); ++index) {
        const KeyAssignmentRecord& record = table[index];
        if (isLaunchGroup(record.group()) && record.keyCode() == code)
            return LaunchAction{index, static_cast<FunctionGroup>(record.group()),
                                utf16ToUtf8(record.launchPath())};
    }
    return std::nullopt;
}

LaunchTarget splitLaunchPath(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return {path, {}};
    return {slash == 0 ? std::string("/") : path.substr(0, slash), path.substr(slash + 1)};
}

} // namespace q905
