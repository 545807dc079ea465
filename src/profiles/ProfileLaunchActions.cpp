// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileLaunchActions.h"

#include "base/Utf16.h"
#include "keys/KeyTable.h"

namespace q905 {

namespace {

const char* kindOf(std::uint8_t group) {
    switch (static_cast<FunctionGroup>(group)) {
    case FunctionGroup::PlayMusic:
        return "music";
    case FunctionGroup::Startup:
        return "program";
    case FunctionGroup::OpenFile:
        return "file";
    default:
        return "folder";
    }
}

} // namespace

std::vector<ProfileLaunchAction> launchActionsIn(const KeyAssignmentTable& table) {
    std::vector<ProfileLaunchAction> actions;
    for (std::size_t index = 0; index < kKeyAssignmentRecordCount; ++index) {
        const KeyAssignmentRecord& record = table[index];
        if (!isLaunchGroup(record.group()))
            continue;
        const std::u16string path = record.launchPath();
        if (path.empty())
            continue; // nothing would be opened
        std::string key = index < static_cast<std::size_t>(kKeyCount)
                              ? std::string(KeyTable[index].label)
                              : std::string();
        if (key.empty())
            key = "record " + std::to_string(index);
        actions.push_back({index, key, kindOf(record.group()), utf16ToUtf8(path),
                           static_cast<FunctionGroup>(record.group())});
    }
    return actions;
}

std::string describeLaunchActions(const std::vector<ProfileLaunchAction>& actions) {
    std::string text;
    for (const ProfileLaunchAction& action : actions)
        text += action.key + "  " + action.kind + "  " + action.path + "\n";
    return text;
}

} // namespace q905
