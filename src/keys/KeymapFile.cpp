// SPDX-License-Identifier: GPL-3.0-or-later
#include "keys/KeymapFile.h"

#include "base/AtomicFile.h"
#include "base/RegularFile.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyTable.h"

#include <algorithm>
#include <system_error>

namespace q905 {

std::filesystem::path keymapPath(const std::filesystem::path& dataFolder) {
    return dataFolder / kKeymapFileName;
}

std::vector<std::uint8_t> hostStateBytes(const SettingsImage& image,
                                         const KeyAssignmentTable& table) {
    std::vector<std::uint8_t> bytes;
    bytes.reserve(kHostStateFileSize);
    bytes.insert(bytes.end(), image.bytes().begin(), image.bytes().end());
    bytes.insert(bytes.end(), table.bytes().begin(), table.bytes().end());
    return bytes;
}

void takeHostStateBytes(std::span<const std::uint8_t> bytes, SettingsImage* image,
                        KeyAssignmentTable& table) {
    const std::size_t imagePart = std::min(bytes.size(), kSettingsImageSize);
    if (image)
        std::copy_n(bytes.begin(), imagePart, image->bytes().begin());
    if (bytes.size() <= kSettingsImageSize)
        return;
    const auto tablePart = bytes.subspan(kSettingsImageSize);
    std::copy_n(tablePart.begin(), std::min(tablePart.size(), kKeyAssignmentTableSize),
                table.bytes().begin());
    // Records past the last key are never shown; a file must not hide anything there.
    for (std::size_t index = kKeyCount; index < kKeyAssignmentRecordCount; ++index)
        table[index] = KeyAssignmentRecord{};
}

Status saveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                      const KeyAssignmentTable& table) {
    std::error_code ignored;
    std::filesystem::create_directories(dataFolder, ignored);
    return saveFileAtomically(keymapPath(dataFolder), hostStateBytes(image, table));
}

Status saveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                      KeyAssignments& keys) {
    Status saved = saveKeymapFile(dataFolder, image, keys.table());
    keys.setFileBehind(!saved.ok());
    return saved;
}

KeymapLoadResult loadKeymapFile(const std::filesystem::path& dataFolder, bool keepImage,
                                SettingsImage& image, KeyAssignments& keys) {
    const std::filesystem::path path = keymapPath(dataFolder);
    if (keepImage && keys.fileBehind())
        return {KeymapLoadStatus::KeptUnsavedTable, 0,
                path.string() + " is older than the assignments in memory; kept those"};

    const FileContents contents = readRegularFile(path, kHostStateFileSize);
    if (contents.status == FileReadStatus::Missing) {
        // Only start-up begins from an empty table; before the key dialog the table in memory
        // is the newer state and must not be lost with the file.
        if (!keepImage)
            keys.table().clear();
        const Status created = saveKeymapFile(dataFolder, image, keys);
        keys.table().resetKeyCodes();
        if (!created)
            return {KeymapLoadStatus::NotCreated, 0, created.message()};
        return {KeymapLoadStatus::Created, kHostStateFileSize, {}};
    }
    if (contents.status != FileReadStatus::Read && contents.status != FileReadStatus::TooLarge)
        return {KeymapLoadStatus::Unreadable, 0, contents.message};

    // A file of another size is taken as far as it goes (bytes beyond the state are ignored),
    // but the user hears of it: the next save rewrites it in full.
    const std::span<const std::uint8_t> bytes(contents.bytes.data(),
                                              std::min(contents.bytes.size(), kHostStateFileSize));
    takeHostStateBytes(bytes, keepImage ? nullptr : &image, keys.table());
    keys.table().resetKeyCodes();
    keys.setFileBehind(false);
    // At start-up the file already says which keys are assigned: the marks show while the
    // keyboard is still being read.
    if (!keepImage)
        recomputeAssignedFlags(keys, image);
    if (contents.bytes.size() == kHostStateFileSize)
        return {KeymapLoadStatus::Loaded, kHostStateFileSize, {}};
    return {KeymapLoadStatus::LoadedWrongSize, contents.bytes.size(),
            wrongSizeMessage(path, contents.bytes.size(), kHostStateFileSize)};
}

} // namespace q905
