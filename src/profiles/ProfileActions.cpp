// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileActions.h"

#include "keys/KeymapFile.h"

#include <memory>

namespace q905 {

namespace {

bool placed(const ProfileResult& result) {
    return result.status == ProfileStatus::Done || result.status == ProfileStatus::CleanupFailed;
}

ProfileResult remember(ProfileResult result, ProfilePathTable& paths) {
    if (placed(result)) {
        if (paths.empty())
            paths.resize(1);
        paths[0] = result.path;
    }
    return result;
}

} // namespace

ProfileResult importProfile(const std::filesystem::path& folder,
                            const std::filesystem::path& source, SettingsImage& image,
                            KeyAssignmentTable& table, ProfilePathTable& paths,
                            const LaunchActionConsent& consent) {
    const std::string name = profileNameFromFile(source);
    if (std::string why = checkProfileName(name); !why.empty())
        return {ProfileStatus::BadName, source.string() + ": " + why, {}, {}, source, {}};
    // Read once: the file may change while the user answers, and the profile kept must be the
    // one loaded.
    const ProfileBytes bytes = readProfileBytes(source);
    if (!bytes.ok())
        return bytes;
    SettingsImage newImage = image;
    auto newTable = std::make_unique<KeyAssignmentTable>();
    takeProfileBytes(bytes.bytes, newImage, *newTable);
    if (const auto actions = launchActionsIn(*newTable); !actions.empty() && !consent(actions))
        return {ProfileStatus::Declined,
                "the profile's launch actions were not accepted",
                {},
                {},
                {},
                {}};
    ProfileResult result = remember(placeCurrentProfile(folder, bytes.bytes, name), paths);
    if (placed(result)) {
        image = newImage;
        table = *newTable;
    }
    return result;
}

ProfileResult exportProfile(const std::filesystem::path& folder,
                            const std::filesystem::path& target, const SettingsImage& image,
                            const KeyAssignmentTable& table, ProfilePathTable& paths) {
    const std::string name = profileNameFromFile(target);
    if (std::string why = checkProfileName(name); !why.empty())
        return {ProfileStatus::BadName, target.string() + ": " + why, {}, {}, target, {}};
    if (ProfileResult saved = saveProfile(target, image, table); !saved.ok())
        return saved;
    return remember(placeCurrentProfile(folder, hostStateBytes(image, table), name), paths);
}

ProfileResult renameCurrentProfile(const std::filesystem::path& folder, std::string_view newName,
                                   ProfilePathTable& paths) {
    if (paths.empty() || paths[0].empty())
        return {ProfileStatus::NoProfile, "there is no current profile to rename", {}, {}, {}, {}};
    return remember(replaceCurrentProfile(folder, paths[0], newName), paths);
}

} // namespace q905
