// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A key's current assignment in a few words, for listings: "single Q", "combo LCtrl+C",
// "function Copy", "macro 3", "launch program /usr/bin/foo", "default", with ", disabled"
// added for a disabled key ("disabled" alone when it carries its default).

#include "device/SettingsImage.h"
#include "keys/KeyAssignmentTable.h"

#include <string>

namespace q905 {

std::string describeAssignment(const KeyAssignmentTable& table, const SettingsImage& image,
                               int keyIndex);

// "single", "combo", "macro", "function", "launch music", "launch program", "launch file",
// "launch folder".
std::string groupWord(FunctionGroup group);

} // namespace q905
