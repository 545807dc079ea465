#pragma once
// Every file the program writes goes through here: written unnamed in the target's folder,
// flushed, then given a name and renamed over the target, so a crash, a kill or a full disk
// never leaves a truncated keymap.bin, MacroDefine.bin or profile behind, nor a stray
// temporary.

#include "base/Result.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>

namespace q905 {

Status saveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// Whether a file can be created in folder (the check writes nothing that stays).
Status checkWritableFolder(const std::filesystem::path& folder);

// Where unnamed files are not supported, a temporary carries a name while it is written; one
// left by a killed save is removed here once it is older than olderThan (a younger one may
// belong to a save still under way in another process).
void removeStaleTemporaries(const std::filesystem::path& folder,
                            std::chrono::seconds olderThan = std::chrono::seconds(60));

// The mark in the names of our temporaries.
inline constexpr const char* kTemporaryMark = ".q905-tmp-";

} // namespace q905
