// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// MacroDefine.bin: the 169,860 bytes of the macro list, records in order, no header.

#include "base/Result.h"
#include "macros/MacroModel.h"

#include <cstdint>
#include <filesystem>

namespace q905 {

inline constexpr const char* kMacroFileName = "MacroDefine.bin";

enum class MacroFileStatus {
    Loaded,          // the file's bytes are in the list
    LoadedWrongSize, // shorter than a macro list, empty included: it filled only its own length,
                     // the rest is zero; message tells the user before a save rewrites it
    Created,         // there was no file: the list is empty and an all-zero file was written
    Failed,          // not a regular file, larger than a macro list, unreadable, or it could not
                     // be created: the list is empty, nothing was written, message says why
};

struct [[nodiscard]] MacroFileResult {
    MacroFileStatus status = MacroFileStatus::Loaded;
    std::uintmax_t fileSize = 0; // of a loaded file
    std::string message;
    bool ok() const { return status != MacroFileStatus::Failed; }
};

// Replaces the list with the file's contents.
MacroFileResult loadMacroFile(const std::filesystem::path& path, MacroList& macros);

// Writes all 169,860 bytes; the old file stays whole if the write fails.
Status saveMacroFile(const std::filesystem::path& path, const MacroList& macros);

} // namespace q905
