// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Profile files: the whole host state (settings image, then key assignment table) in the same
// 206,928-byte form as keymap.bin, exported and imported anywhere, and one current profile kept
// in the data folder's "Configure" folder.

#include "device/SettingsImage.h"
#include "keys/KeyAssignmentTable.h"

#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace q905 {

inline constexpr const char* kProfileFolderName = "Configure";
inline constexpr const char* kProfileExtension = ".bin";

std::filesystem::path profileFolder(const std::filesystem::path& dataFolder);

enum class ProfileStatus {
    Done,
    Unreadable,    // the source cannot be read; nothing changed
    WrongSize,     // the source is not a profile (not 206,928 bytes); nothing changed
    BadName,       // empty, ".", "..", a path separator, or no name left without ".bin"
    NoProfile,     // there is no current profile to rename
    WriteFailed,   // the file could not be written; the old one is whole
    CleanupFailed, // the new profile is in place, but an old profile file could not be removed
    Declined,      // the user did not accept the profile's launch actions; nothing changed
};

// message says what failed in English, for the command line; a window says it in its own
// language from status and the files named here.
struct [[nodiscard]] ProfileResult {
    ProfileStatus status = ProfileStatus::Done;
    std::string message;
    std::string name;           // the current profile's name afterwards, when one was set
    std::filesystem::path path; // and its file
    std::filesystem::path file; // Unreadable, WrongSize, WriteFailed: the file concerned
    std::vector<std::filesystem::path> leftOver; // CleanupFailed: the old files still there
    int systemError = 0; // WriteFailed: the errno behind it, for a window to word the reason
    bool ok() const { return status == ProfileStatus::Done; }
};

// Writes image then table; a failed write leaves an existing file whole.
ProfileResult saveProfile(const std::filesystem::path& path, const SettingsImage& image,
                          const KeyAssignmentTable& table);
struct ProfileBytes : ProfileResult {
    std::vector<std::uint8_t> bytes;
};
// The bytes of a profile file: a regular file of exactly 206,928 bytes, else refused.
ProfileBytes readProfileBytes(const std::filesystem::path& path);

// Takes a profile file into image and table. Anything but a readable file of exactly 206,928
// bytes is refused and leaves both untouched.
ProfileResult loadProfile(const std::filesystem::path& path, SettingsImage& image,
                          KeyAssignmentTable& table);
// The same from the bytes readProfileBytes gave.
void takeProfileBytes(std::span<const std::uint8_t> bytes, SettingsImage& image,
                      KeyAssignmentTable& table);

} // namespace q905
