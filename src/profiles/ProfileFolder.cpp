#include "profiles/ProfileFolder.h"

#include "base/AtomicFile.h"
#include "base/TextSafety.h"
#include "keys/KeyAssignmentTable.h"

#include <algorithm>
#include <system_error>

namespace q905 {

namespace {

constexpr std::string_view kExtension = kProfileExtension;

bool endsWithExtension(std::string_view name) {
    return name.size() >= kExtension.size() &&
           name.substr(name.size() - kExtension.size()) == kExtension;
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
    paths = scanProfileFolder(folder);
    if (paths.empty())
        return std::nullopt;
    paths.resize(1);
    return CurrentProfile{profileDisplayName(paths[0].filename().string()), paths[0]};
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
        return {ProfileStatus::BadName, why, {}, {}};
    const std::filesystem::path target = profileTargetPath(folder, name);

    // Read first: the source may be one of the files about to be removed.
    ProfileBytes bytes = readProfileBytes(source);
    if (!bytes.ok())
        return bytes;

    std::error_code ignored;
    std::filesystem::create_directories(folder, ignored);
    if (const Status saved = saveFileAtomically(target, bytes.bytes); !saved)
        return {ProfileStatus::WriteFailed, saved.message(), {}, {}};

    ProfileResult result{
        ProfileStatus::Done, {}, profileDisplayName(target.filename().string()), target};
    for (const std::filesystem::path& old : scanProfileFolder(folder)) {
        if (old.filename() == target.filename())
            continue;
        std::error_code removeError;
        if (!std::filesystem::remove(old, removeError) && removeError) {
            result.status = ProfileStatus::CleanupFailed;
            result.message += (result.message.empty() ? "cannot remove " : ", ") + old.string() +
                              " (" + removeError.message() + ")";
        }
    }
    return result;
}

} // namespace q905
