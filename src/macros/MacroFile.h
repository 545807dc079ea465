#pragma once
// MacroDefine.bin: the 169,860 bytes of the macro list, records in order, no header.

#include "macros/MacroModel.h"

#include <filesystem>

namespace q905 {

inline constexpr const char* kMacroFileName = "MacroDefine.bin";

enum class MacroFileResult {
    Loaded,  // the file's bytes are in the list; a short file filled only its own length
    Created, // there was no file: the list is empty and an all-zero file was written
    Failed,  // the file could not be read or created: the list is empty, nothing was written
};

// Replaces the list with the file's contents; bytes beyond 169,860 are ignored.
[[nodiscard]] MacroFileResult loadMacroFile(const std::filesystem::path& path, MacroList& macros);

// Writes all 169,860 bytes; the old file stays whole if the write fails.
[[nodiscard]] bool saveMacroFile(const std::filesystem::path& path, const MacroList& macros);

} // namespace q905
