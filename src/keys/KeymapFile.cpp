#include "keys/KeymapFile.h"

#include "base/AtomicFile.h"

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
}

bool saveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                    const KeyAssignmentTable& table, std::string* error) {
    std::error_code ignored;
    std::filesystem::create_directories(dataFolder, ignored);
    return saveFileAtomically(keymapPath(dataFolder), hostStateBytes(image, table), error);
}

bool saveKeymapFile(const std::filesystem::path& dataFolder, const SettingsImage& image,
                    KeyAssignments& keys, std::string* error) {
    const bool saved = saveKeymapFile(dataFolder, image, keys.table(), error);
    keys.setFileBehind(!saved);
    return saved;
}

KeymapLoadResult loadKeymapFile(const std::filesystem::path& dataFolder, bool keepImage,
                                SettingsImage& image, KeyAssignments& keys) {
    const std::filesystem::path path = keymapPath(dataFolder);
    if (keepImage && keys.fileBehind())
        return {KeymapLoadStatus::KeptUnsavedTable, 0,
                path.string() + " is older than the assignments in memory; kept those"};

    const auto bytes = readWholeFile(path);
    if (!bytes) {
        std::error_code error;
        if (std::filesystem::exists(path, error) || error)
            return {KeymapLoadStatus::Unreadable, 0, "cannot read " + path.string()};
        // Only start-up begins from an empty table; before the key dialog the table in memory
        // is the newer state and must not be lost with the file.
        if (!keepImage)
            keys.table().clear();
        std::string message;
        const bool created = saveKeymapFile(dataFolder, image, keys, &message);
        keys.table().resetKeyCodes();
        if (!created)
            return {KeymapLoadStatus::NotCreated, 0, message};
        return {KeymapLoadStatus::Created, kHostStateFileSize, {}};
    }

    takeHostStateBytes(*bytes, keepImage ? nullptr : &image, keys.table());
    keys.table().resetKeyCodes();
    keys.setFileBehind(false);
    return {KeymapLoadStatus::Loaded, bytes->size(), {}};
}

} // namespace q905
