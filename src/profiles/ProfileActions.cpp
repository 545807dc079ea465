#include "profiles/ProfileActions.h"

#include <memory>

namespace q905 {

namespace {

ProfileResult replaceAndRemember(const std::filesystem::path& folder,
                                 const std::filesystem::path& source, std::string_view name,
                                 ProfilePathTable& paths) {
    ProfileResult result = replaceCurrentProfile(folder, source, name);
    if (result.status == ProfileStatus::Done || result.status == ProfileStatus::CleanupFailed) {
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
        return {ProfileStatus::BadName, source.string() + ": " + why, {}, {}};
    SettingsImage newImage = image;
    auto newTable = std::make_unique<KeyAssignmentTable>();
    if (ProfileResult loaded = loadProfile(source, newImage, *newTable); !loaded.ok())
        return loaded;
    if (const auto actions = launchActionsIn(*newTable); !actions.empty() && !consent(actions))
        return {ProfileStatus::Declined, "the profile's launch actions were not accepted", {}, {}};
    ProfileResult result = replaceAndRemember(folder, source, name, paths);
    if (result.status == ProfileStatus::Done || result.status == ProfileStatus::CleanupFailed) {
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
        return {ProfileStatus::BadName, target.string() + ": " + why, {}, {}};
    if (ProfileResult saved = saveProfile(target, image, table); !saved.ok())
        return saved;
    return replaceAndRemember(folder, target, name, paths);
}

ProfileResult renameCurrentProfile(const std::filesystem::path& folder, std::string_view newName,
                                   ProfilePathTable& paths) {
    if (paths.empty() || paths[0].empty())
        return {ProfileStatus::NoProfile, "there is no current profile to rename", {}, {}};
    return replaceAndRemember(folder, paths[0], newName, paths);
}

} // namespace q905
