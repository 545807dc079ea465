// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the profile dialog and the command line do with profiles: import a file, export to a
// file, rename the current profile. Each leaves the profile folder holding one profile, named
// after the file (cut at its first ".") or the new name.

#include "profiles/ProfileFolder.h"
#include "profiles/ProfileLaunchActions.h"

namespace q905 {

// Takes source into image and table and makes it the current profile. A bad name, a file that
// is not a profile, launch actions the consent declines, or a failure to place the file in the
// folder is refused before anything changes: image, table, folder and paths stay as they were.
ProfileResult importProfile(const std::filesystem::path& folder,
                            const std::filesystem::path& source, SettingsImage& image,
                            KeyAssignmentTable& table, ProfilePathTable& paths,
                            const LaunchActionConsent& consent);

// Writes image and table to target and makes that the current profile.
ProfileResult exportProfile(const std::filesystem::path& folder,
                            const std::filesystem::path& target, const SettingsImage& image,
                            const KeyAssignmentTable& table, ProfilePathTable& paths);

// Gives the current profile (paths entry 0) a new name, keeping its content.
ProfileResult renameCurrentProfile(const std::filesystem::path& folder, std::string_view newName,
                                   ProfilePathTable& paths);

} // namespace q905
