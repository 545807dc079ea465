// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// keymap.bin: the whole host state between runs, the settings image followed by the key
// assignment table (206,928 bytes, no header). Profile files have the same form.

#include "base/Result.h"
#include "device/SettingsImage.h"
#include "keys/KeyAssignmentTable.h"

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace q905 {

inline constexpr const char* kKeymapFileName = "keymap.bin";

std::filesystem::path keymapPath(const std::filesystem::path& dataFolder);

// The file form of the host state.
std::vector<std::uint8_t> hostStateBytes(const SettingsImage& image,
                                         const KeyAssignmentTable& table);
// Takes as much of the file form as bytes holds: the image part into image (unless it is null),
// the rest into table. Bytes beyond 206,928 are ignored; what a short input lacks stays as it was.
// Records 113..254 are cleared whatever the bytes hold.
void takeHostStateBytes(std::span<const std::uint8_t> bytes, SettingsImage* image,
                        KeyAssignmentTable& table);

enum class KeymapLoadStatus {
    Loaded,           // read; a short file filled only what it holds
    LoadedWrongSize,  // read, but not 206,928 bytes long: message tells the user, who should
                      // know before the next save rewrites it in full
    Created,          // there was no file: one was written from the state in memory
    NotCreated,       // there was no file and none could be written; the state in memory stays
    Unreadable,       // not a regular file, or it cannot be read; nothing changed or was written
    KeptUnsavedTable, // the table holds changes the file could not take; it was not reloaded
};

struct [[nodiscard]] KeymapLoadResult {
    KeymapLoadStatus status = KeymapLoadStatus::Loaded;
    std::uintmax_t fileSize = 0; // of a loaded file; one more than 206,928 for a longer one
    std::string message;
    bool loaded() const {
        return status == KeymapLoadStatus::Loaded || status == KeymapLoadStatus::LoadedWrongSize;
    }
};

// keepImage = false (start-up): the image and the table come from the file; a missing file is
// created from the current image and an empty table. keepImage = true (before the key dialog
// opens): only the table is taken over; a missing file is created from the current state.
// Afterwards byte 0 of records 0..112 holds the keys' codes. A caller whose image the read
// thread may be filling holds Settings::mutex() around the call.
KeymapLoadResult loadKeymapFile(const std::filesystem::path& dataFolder, bool keepImage,
                                SettingsImage& image, KeyAssignments& keys);

// Writes image and table; a failed write leaves the old file whole.
Status saveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                      const KeyAssignmentTable& table);
// Writes image and keys.table() and records in keys whether the file now holds the table.
Status saveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                      KeyAssignments& keys);

} // namespace q905
