// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file the program reads from outside goes through here: it must be a regular file and
// is read only up to its expected size plus one byte, so a directory, a FIFO, a device or a
// huge file is refused with a message instead of hanging, aborting or filling the memory.

#include "base/Language.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace q905 {

enum class FileReadStatus {
    Read,       // bytes holds the whole file
    Missing,    // there is no file at the path
    NotRegular, // a directory, FIFO, device or socket
    TooLarge,   // more than the bound; bytes holds the first bound + 1 bytes
    Unreadable, // it exists but cannot be opened or read
};

struct [[nodiscard]] FileContents {
    FileReadStatus status = FileReadStatus::Read;
    std::vector<std::uint8_t> bytes;
    std::string message; // for the user, naming the path, when status is not Read
    bool ok() const { return status == FileReadStatus::Read; }
};

// Reads path when it is a regular file of at most maxSize bytes.
FileContents readRegularFile(const std::filesystem::path& path, std::size_t maxSize);

// What the user is told, before anything rewrites it, of a file of fixed size that held size
// bytes (more than expected is "more than expected") and was taken as far as it goes. The same
// words for every such file, in q905ctl and in the window.
std::string wrongSizeMessage(const std::filesystem::path& path, std::uintmax_t size,
                             std::size_t expected, Language language = Language::English);

} // namespace q905
