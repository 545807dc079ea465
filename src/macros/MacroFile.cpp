#include "macros/MacroFile.h"

#include "base/AtomicFile.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace q905 {

MacroFileResult loadMacroFile(const std::filesystem::path& path, MacroList& macros) {
    macros = MacroList{};
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    // Only a file that is not there is created: one that exists but cannot be read holds
    // someone's macros and must not be overwritten with zeros.
    if (status.type() == std::filesystem::file_type::not_found) {
        return saveMacroFile(path, macros) ? MacroFileResult::Created : MacroFileResult::Failed;
    }
    if (!std::filesystem::is_regular_file(status))
        return MacroFileResult::Failed;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return MacroFileResult::Failed;
    std::vector<std::uint8_t> bytes(kMacroListSize);
    in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (in.bad())
        return MacroFileResult::Failed;
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    macros.fillFromBytes(bytes);
    return MacroFileResult::Loaded;
}

bool saveMacroFile(const std::filesystem::path& path, const MacroList& macros) {
    return saveFileAtomically(path, macros.toBytes());
}

} // namespace q905
