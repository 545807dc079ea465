#pragma once
// Every file the program writes goes through here: written beside the target under a
// temporary name, flushed, then renamed over it, so a crash or a full disk never leaves a
// truncated keymap.bin, MacroDefine.bin or profile behind.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace q905 {

[[nodiscard]] bool saveFileAtomically(const std::filesystem::path& path,
                                      std::span<const std::uint8_t> bytes,
                                      std::string* error = nullptr);

// The whole file, or nothing when it cannot be opened.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path);

} // namespace q905
