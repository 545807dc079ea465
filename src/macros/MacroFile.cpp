// SPDX-License-Identifier: GPL-3.0-or-later
#include "macros/MacroFile.h"

#include "base/AtomicFile.h"
#include "base/RegularFile.h"

namespace q905 {

MacroFileResult loadMacroFile(const std::filesystem::path& path, MacroList& macros) {
    macros = MacroList{};
    FileContents contents = readRegularFile(path, kMacroListSize);
    // Only a file that is not there is created: one that exists but cannot be taken holds
    // someone's macros and must not be overwritten with zeros.
    if (contents.status == FileReadStatus::Missing) {
        const Status created = saveMacroFile(path, macros);
        if (!created)
            return {MacroFileStatus::Failed, 0, created.message()};
        return {MacroFileStatus::Created, kMacroListSize, {}};
    }
    if (!contents.ok())
        return {MacroFileStatus::Failed, 0, contents.message};
    macros.fillFromBytes(contents.bytes);
    const std::size_t size = contents.bytes.size();
    if (size != kMacroListSize)
        return {MacroFileStatus::LoadedWrongSize, size,
                wrongSizeMessage(path, size, kMacroListSize)};
    return {MacroFileStatus::Loaded, size, {}};
}

Status saveMacroFile(const std::filesystem::path& path, const MacroList& macros) {
    return saveFileAtomically(path, macros.toBytes());
}

} // namespace q905
