// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A profile can bind keys to programs, files and folders that this computer opens whenever the
// keyboard reports such a key. A profile from elsewhere must not bring those in unseen: an import
// lists them and takes the profile over only when the user agrees.

#include "keys/KeyAssignmentTable.h"

#include <functional>
#include <string>
#include <vector>

namespace q905 {

struct ProfileLaunchAction {
    std::size_t recordIndex = 0;
    std::string key;  // the key's label, or "record N" beyond the keyboard's keys
    std::string kind; // "music", "program", "file", "folder"
    std::string path; // UTF-8
    FunctionGroup group = FunctionGroup::PlayMusic; // PlayMusic..OpenFolder
};

// Every record of a launch group with a path to open, in record order.
std::vector<ProfileLaunchAction> launchActionsIn(const KeyAssignmentTable& table);

// One line per action: key, kind, path.
std::string describeLaunchActions(const std::vector<ProfileLaunchAction>& actions);

// Asked with the profile's launch actions (never with none); true takes the profile over.
using LaunchActionConsent = std::function<bool(const std::vector<ProfileLaunchAction>&)>;

} // namespace q905
