// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileFolder.h"

#include "base/AtomicFile.h"
#include "base/TextSafety.h"
#include "keys/KeyAssignmentTable.h"

#include <algorithm>
#include <chrono>
#include <system_error>

namespace q905 {

namespace {

constexpr std::string_view kExtension = kProfileExtension;

bool endsWithExtension(std::string_view name) {
    return name.size() >= kExtension.size() &&
           name.substr(name.size() - kExtension.size()) == kExtension;
}

// File times move in clock ticks of a few milliseconds: a file written just after another may
// carry the same time. The current profile must be the newest all the same.
void makeNewest(const std::filesystem::path& file, const ProfilePathTable& others) {
    std::error_code error;
    auto time = std::filesystem::last_write_time(file, error);
    if (error)
        return;
    for (const std::filesystem::path& other : others) {
        const auto otherTime = std::filesystem::last_write_time(other, error);
        if (!error && otherTime >= time)
            time = otherTime + std::chrono::milliseconds(1);
    }
    std::filesystem::last_write_time(file, time, error);
}

} // namespace

std::string profileDisplayName(std::string_view fileName) {
    std::string name(fileName);
    for (std::size_t at = name.find(kExtension); at != std::string::npos;
         at = name.find(kExtension))
        name.erase(at, kExtension.size());
    return name;
}

std::string profileNameFromFile(const std::filesystem::path& file) {
    const std::string name = file.filename().string();
    return name.substr(0, name.find('.'));
}

std::string checkProfileName(std::string_view name) {
    if (name.empty())
        return "a profile needs a name";
    if (name == "." || name == "..")
        return "\"" + std::string(name) + "\" cannot name a profile";
    if (name.find_first_of(std::string_view("/\\\0", 3)) != std::string_view::npos)
        return "a profile name cannot contain \"/\" or \"\\\"";
    if (profileDisplayName(profileTargetPath({}, name).filename().string()).empty())
        return "\"" + std::string(name) + "\" leaves no name without \".bin\"";
    return {};
}

std::filesystem::path profileTargetPath(const std::filesystem::path& folder,
                                        std::string_view name) {
    std::string fileName(name);
    if (!endsWithExtension(fileName))
        fileName += kExtension;
    return folder / fileName;
}

ProfilePathTable scanProfileFolder(const std::filesystem::path& folder) {
    ProfilePathTable paths;
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        std::error_code typeError;
        const std::string name = it->path().filename().string();
        // A name that is not UTF-8 could not be shown or typed back: such a file is no profile.
        if (it->is_regular_file(typeError) && endsWithExtension(name) && isValidUtf8(name))
            paths.push_back(it->path());
    }
    std::ranges::sort(paths, {}, [](const std::filesystem::path& path) { return path.filename(); });
    return paths;
}

std::optional<CurrentProfile> listCurrentProfile(const std::filesystem::path& folder,
                                                 ProfilePathTable& paths) {
    const ProfilePathTable files = scanProfileFolder(folder);
    paths.clear();
    if (files.empty())
        return std::nullopt;
    std::filesystem::path newest = files[0];
    std::filesystem::file_time_type newestTime = std::filesystem::file_time_type::min();
    for (const std::filesystem::path& file : files) {
        std::error_code error;
        const auto written = std::filesystem::last_write_time(file, error);
        if (!error && written > newestTime) {
            newest = file;
            newestTime = written;
        }
    }
    paths.push_back(newest);
    return CurrentProfile{profileDisplayName(newest.filename().string()), newest};
}

ProfilePathTable otherProfiles(const std::filesystem::path& folder,
                               const std::filesystem::path& current) {
    ProfilePathTable others = scanProfileFolder(folder);
    std::erase_if(others, [&current](const std::filesystem::path& file) {
        return file.filename() == current.filename();
    });
    return others;
}

ProfileResult removeProfileFiles(const ProfilePathTable& files) {
    ProfileResult result;
    for (const std::filesystem::path& file : files) {
        std::error_code error;
        if (!std::filesystem::remove(file, error) && error) {
            result.status = ProfileStatus::CleanupFailed;
            result.message += (result.message.empty() ? "cannot remove " : ", ") + file.string() +
                              " (" + error.message() + ")";
            result.leftOver.push_back(file);
        }
    }
    return result;
}

void rebuildProfilePaths(const std::filesystem::path& folder,
                         std::span<const std::string> listItems, ProfilePathTable& paths) {
    paths.resize(listItems.size());
    for (std::size_t i = 0; i < listItems.size(); ++i) {
        if (!paths[i].empty() && profileDisplayName(paths[i].filename().string()) == listItems[i])
            continue;
        paths[i] = folder / (listItems[i] + std::string(kExtension));
    }
}

ProfileResult replaceCurrentProfile(const std::filesystem::path& folder,
                                    const std::filesystem::path& source, std::string_view name) {
    if (std::string why = checkProfileName(name); !why.empty())
        return {ProfileStatus::BadName, why, {}, {}, {}, {}};

    // Read first: the source may be one of the files about to be removed.
    ProfileBytes bytes = readProfileBytes(source);
    if (!bytes.ok())
        return bytes;
    return placeCurrentProfile(folder, bytes.bytes, name);
}

ProfileResult placeCurrentProfile(const std::filesystem::path& folder,
                                  std::span<const std::uint8_t> bytes, std::string_view name) {
    if (std::string why = checkProfileName(name); !why.empty())
        return {ProfileStatus::BadName, why, {}, {}, {}, {}};
    const std::filesystem::path target = profileTargetPath(folder, name);
    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    // Written before the old files go, and so the newest: if one of them stays, the listing
    // still finds this one.
    if (const Status saved = saveFileAtomically(target, bytes); !saved)
        return {ProfileStatus::WriteFailed, saved.message(), {}, {}, target, {},
                saved.systemError()};

    ProfileResult result = removeProfileFiles(otherProfiles(folder, target));
    result.name = profileDisplayName(target.filename().string());
    result.path = target;
    if (!result.leftOver.empty())
        makeNewest(target, result.leftOver);
    return result;
}

} // namespace q905
