#include "app/EditHistory.h"

#include "base/AtomicFile.h"
#include "base/RegularFile.h"
#include "keys/KeymapFile.h"
#include "macros/MacroFile.h"

#include <filesystem>
#include <mutex>

namespace q905 {

namespace {

// Both files are far smaller; anything larger is not theirs to restore.
constexpr std::size_t kLargestHostFile = 1 << 20;

std::optional<std::vector<std::uint8_t>> fileBytes(const std::filesystem::path& file) {
    FileContents contents = readRegularFile(file, kLargestHostFile);
    if (!contents.ok())
        return std::nullopt;
    return std::move(contents.bytes);
}

} // namespace

EditState captureEditState(HostState& host) {
    EditState state{host.settings().deviceCopy(), host.keys().table(), host.keys().flags(),
                    fileBytes(host.dataFolder() / kKeymapFileName),
                    fileBytes(host.macroFilePath())};
    return state;
}

namespace {

bool restoreFile(const std::filesystem::path& file,
                 const std::optional<std::vector<std::uint8_t>>& bytes) {
    if (!bytes) {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return true;
    }
    return saveFileAtomically(file, *bytes).ok();
}

} // namespace

bool restoreEditState(HostState& host, const EditState& state) {
    {
        std::lock_guard lock(host.settings().mutex());
        host.image() = state.image;
    }
    host.keys().table() = state.table;
    host.keys().flags() = state.flags;
    const bool keymap = restoreFile(host.dataFolder() / kKeymapFileName, state.keymapFile);
    const bool macros = restoreFile(host.macroFilePath(), state.macroFile);
    if (state.macroFile)
        (void)loadMacroFile(host.macroFilePath(), host.macros());
    return keymap && macros;
}

void EditHistory::begin(HostState& host) {
    m_pending = captureEditState(host);
}

void EditHistory::end(HostState& host) {
    if (!m_pending)
        return;
    EditState before = std::move(*m_pending);
    m_pending.reset();
    if (before.sameEdits(captureEditState(host)))
        return;
    if (m_undo.size() == kMaxSteps)
        m_undo.erase(m_undo.begin());
    m_undo.push_back(std::move(before));
    m_redo.clear();
}

bool EditHistory::step(HostState& host, std::vector<EditState>& from, std::vector<EditState>& to) {
    if (from.empty())
        return false;
    m_pending.reset();
    to.push_back(captureEditState(host));
    const bool restored = restoreEditState(host, from.back());
    from.pop_back();
    return restored;
}

bool EditHistory::undo(HostState& host) {
    return step(host, m_undo, m_redo);
}

bool EditHistory::redo(HostState& host) {
    return step(host, m_redo, m_undo);
}

void EditHistory::clear() {
    m_pending.reset();
    m_undo.clear();
    m_redo.clear();
}

} // namespace q905
