// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every file and cache the program writes goes through here: written unnamed in the target's
// folder, flushed, then given a name and renamed over the target, so a crash, a kill or a full
// disk never leaves a truncated keymap.bin, MacroDefine.bin, profile or cache behind, nor a
// stray temporary. The target itself is never opened: a symlink there is replaced, not written
// through, and a FIFO or device there cannot block or receive the bytes.

#include "base/Result.h"

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>

namespace q905 {

// Parts written one after the other: a large picture need not be copied behind its header.
using FileParts = std::span<const std::span<const std::uint8_t>>;

Status saveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);
Status saveFileAtomically(const std::filesystem::path& path, FileParts parts);

// A file written in full and flushed beside its target, put in place only by commit(). A
// caller that must not change the keyboard unless its files can follow prepares them first:
// once prepared, the space is taken, and what is left (a rename) does not run out of it.
// Dropped (the temporary removed) unless committed.
class [[nodiscard]] PreparedFile {
  public:
    static Result<PreparedFile> prepare(const std::filesystem::path& path,
                                        std::span<const std::uint8_t> bytes);
    static Result<PreparedFile> prepare(const std::filesystem::path& path, FileParts parts);
    PreparedFile(PreparedFile&& other) noexcept;
    PreparedFile& operator=(PreparedFile&& other) noexcept;
    PreparedFile(const PreparedFile&) = delete;
    PreparedFile& operator=(const PreparedFile&) = delete;
    ~PreparedFile();

    const std::filesystem::path& target() const { return m_target; }
    // Content that became known after preparing. Bytes of the prepared size overwrite the
    // space already taken; another size is written anew.
    Status rewrite(std::span<const std::uint8_t> bytes);
    // Renames the prepared file over its target.
    Status commit();
    // Removes the temporary now; the target is left as it was.
    void drop();

  private:
    PreparedFile() = default;
    std::filesystem::path m_target;
    std::string m_temporary;
    int m_fd = -1;
    std::size_t m_size = 0;
};

// Where unnamed files are not supported, a temporary carries a name while it is written; one
// left by a killed save is removed here once it is older than olderThan (a younger one may
// belong to a save still under way in another process).
void removeStaleTemporaries(const std::filesystem::path& folder,
                            std::chrono::seconds olderThan = std::chrono::seconds(60));

// The mark in the names of our temporaries.
inline constexpr const char* kTemporaryMark = ".q905-tmp-";

} // namespace q905
