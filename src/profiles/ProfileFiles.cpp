// SPDX-License-Identifier: GPL-3.0-or-later
#include "profiles/ProfileFiles.h"

#include "base/AtomicFile.h"
#include "base/RegularFile.h"
#include "keys/KeymapFile.h"

namespace q905 {

std::filesystem::path profileFolder(const std::filesystem::path& dataFolder) {
    return dataFolder / kProfileFolderName;
}

ProfileResult saveProfile(const std::filesystem::path& path, const SettingsImage& image,
                          const KeyAssignmentTable& table) {
    if (const Status saved = saveFileAtomically(path, hostStateBytes(image, table)); !saved)
        return {ProfileStatus::WriteFailed, saved.message(), {}, {}, path, {}, saved.systemError()};
    return {ProfileStatus::Done, {}, {}, path, {}, {}};
}

ProfileBytes readProfileBytes(const std::filesystem::path& path) {
    FileContents contents = readRegularFile(path, kHostStateFileSize);
    const auto refused = [&path](ProfileStatus status, std::string message) {
        return ProfileBytes{{status, std::move(message), {}, {}, path, {}}, {}};
    };
    switch (contents.status) {
    case FileReadStatus::Read:
        if (contents.bytes.size() == kHostStateFileSize)
            return {{ProfileStatus::Done, {}, {}, path, {}, {}}, std::move(contents.bytes)};
        return refused(ProfileStatus::WrongSize, path.string() + " is not a profile: it holds " +
                                                     std::to_string(contents.bytes.size()) +
                                                     " bytes instead of " +
                                                     std::to_string(kHostStateFileSize));
    case FileReadStatus::TooLarge:
        return refused(ProfileStatus::WrongSize, path.string() +
                                                     " is not a profile: it holds more than " +
                                                     std::to_string(kHostStateFileSize) + " bytes");
    default:
        return refused(ProfileStatus::Unreadable, contents.message);
    }
}

void takeProfileBytes(std::span<const std::uint8_t> bytes, SettingsImage& image,
                      KeyAssignmentTable& table) {
    takeHostStateBytes(bytes, &image, table);
    table.resetKeyCodes();
}

ProfileResult loadProfile(const std::filesystem::path& path, SettingsImage& image,
                          KeyAssignmentTable& table) {
    const auto bytes = readProfileBytes(path);
    if (!bytes.ok())
        return bytes;
    takeProfileBytes(bytes.bytes, image, table);
    return {ProfileStatus::Done, {}, {}, path, {}, {}};
}

} // namespace q905
