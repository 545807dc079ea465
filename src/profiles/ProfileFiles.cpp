#include "profiles/ProfileFiles.h"

#include "keys/KeymapFile.h"
#include "base/AtomicFile.h"

namespace q905 {

std::filesystem::path profileFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / kProfileFolderName;
}

ProfileResult saveProfile(const std::filesystem::path& path, const SettingsImage& image,
                          const KeyAssignmentTable& table) {
    std::string error;
    if (!saveFileAtomically(path, hostStateBytes(image, table), &error))
        return {ProfileStatus::WriteFailed, error, {}, {}};
    return {ProfileStatus::Done, {}, {}, path};
}

ProfileResult loadProfile(const std::filesystem::path& path, SettingsImage& image,
                          KeyAssignmentTable& table) {
    const auto bytes = readWholeFile(path);
    if (!bytes)
        return {ProfileStatus::Unreadable, "cannot read " + path.string(), {}, {}};
    if (bytes->size() != kHostStateFileSize)
        return {ProfileStatus::WrongSize,
                path.string() + " is not a profile: it holds " + std::to_string(bytes->size()) +
                    " bytes instead of " + std::to_string(kHostStateFileSize),
                {},
                {}};
    takeHostStateBytes(*bytes, &image, table);
    table.resetKeyCodes();
    return {ProfileStatus::Done, {}, {}, path};
}

} // namespace q905
