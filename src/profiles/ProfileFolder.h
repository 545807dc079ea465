// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The profile folder: which file is the current profile, its name, and replacing it.

#include "profiles/ProfileFiles.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace q905 {

// Full paths of profile files; entry 0 is the current profile's file.
using ProfilePathTable = std::vector<std::filesystem::path>;

// The file name with every ".bin" removed: "a.bin.bin" shows as "a".
std::string profileDisplayName(std::string_view fileName);
// The name an imported or exported file gives the current profile: its file name cut at the
// first ".", so "Work.Profile.bin" names the profile "Work".
std::string profileNameFromFile(const std::filesystem::path& file);

// Empty when the name can be a profile, else why not. A name must stay a single file inside the
// profile folder: not empty, not "." or "..", no "/" or "\", and something left without ".bin".
std::string checkProfileName(std::string_view name);
// folder / name, with ".bin" appended unless the name already ends in it.
std::filesystem::path profileTargetPath(const std::filesystem::path& folder, std::string_view name);

// Every profile file ("*.bin", plain files only) of the folder, sorted by name so that the
// choice of the current profile does not depend on the file system's order.
ProfilePathTable scanProfileFolder(const std::filesystem::path& folder);

struct CurrentProfile {
    std::string name;
    std::filesystem::path path;
};

// The current profile is the folder's one profile file. Where an old one could not be removed
// there are several: the most recently written is the current one (by name among equals), since
// every import, export and rename writes the file it makes current. paths becomes that one
// entry, or empty when the folder holds none.
std::optional<CurrentProfile> listCurrentProfile(const std::filesystem::path& folder,
                                                 ProfilePathTable& paths);
// The profile files of the folder other than current, by name.
ProfilePathTable otherProfiles(const std::filesystem::path& folder,
                               const std::filesystem::path& current);
// Removes the files; CleanupFailed with the ones that stay when any could not be removed.
ProfileResult removeProfileFiles(const ProfilePathTable& files);

// Entry i = folder / (listItems[i] + ".bin"). An entry that already names a file showing as
// listItems[i] is kept, so a file such as "a.bin.bin" keeps its real path.
void rebuildProfilePaths(const std::filesystem::path& folder,
                         std::span<const std::string> listItems, ProfilePathTable& paths);

// Afterwards the folder holds exactly one profile file, profileTargetPath(folder, name), with the
// content of source, also when source lies in the folder itself. The source is read whole before
// anything is removed; an unreadable or foreign source or a bad name changes nothing.
ProfileResult replaceCurrentProfile(const std::filesystem::path& folder,
                                    const std::filesystem::path& source, std::string_view name);
// The same with a profile's bytes already in hand, so that what was loaded is what is kept.
ProfileResult placeCurrentProfile(const std::filesystem::path& folder,
                                  std::span<const std::uint8_t> bytes, std::string_view name);

} // namespace q905
