// SPDX-License-Identifier: GPL-3.0-or-later
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

using Bytes = std::vector<std::uint8_t>;

// The earlier copy when it holds the same, a new one otherwise.
template <typename T>
std::shared_ptr<const T> share(T value, const std::shared_ptr<const T>& earlier) {
    if (earlier && *earlier == value)
        return earlier;
    return std::make_shared<const T>(std::move(value));
}

template <typename T>
bool sameContents(const std::shared_ptr<const T>& a, const std::shared_ptr<const T>& b) {
    return a == b || (a && b && *a == *b);
}

// bytesOfState: what the file holds when it follows the state; then no copy is kept.
KeptFile keepFile(const std::filesystem::path& file, const KeptFile* earlier,
                  const Bytes* bytesOfState = nullptr) {
    FileContents contents = readRegularFile(file, kLargestHostFile);
    if (contents.status == FileReadStatus::Missing)
        return {KeptFile::State::Missing, nullptr};
    if (!contents.ok())
        return {KeptFile::State::Unreadable, nullptr};
    if (bytesOfState && contents.bytes == *bytesOfState)
        return {KeptFile::State::Held, nullptr};
    return {KeptFile::State::Held,
            share(std::move(contents.bytes), earlier ? earlier->bytes : nullptr)};
}

Status restoreFile(const std::filesystem::path& file, const KeptFile& kept,
                   const Bytes* bytesOfState = nullptr) {
    switch (kept.state) {
    case KeptFile::State::Missing: {
        std::error_code ignored;
        std::filesystem::remove(file, ignored);
        return Status::success();
    }
    case KeptFile::State::Unreadable:
        return Status::success();
    case KeptFile::State::Held:
        break;
    }
    return saveFileAtomically(file, kept.bytes ? *kept.bytes : *bytesOfState);
}

} // namespace

bool KeptFile::operator==(const KeptFile& other) const {
    return state == other.state && sameContents(bytes, other.bytes);
}

bool EditState::sameEdits(const EditState& other) const {
    return image == other.image && sameContents(table, other.table) && flags == other.flags &&
           macroFile == other.macroFile;
}

EditState captureEditState(HostState& host, const EditState* like) {
    EditState state;
    state.image = host.settings().deviceCopy();
    state.table = share(host.keys().table(), like ? like->table : nullptr);
    state.flags = host.keys().flags();
    const Bytes followed = hostStateBytes(state.image, *state.table);
    state.keymapFile = keepFile(host.dataFolder() / kKeymapFileName,
                                like ? &like->keymapFile : nullptr, &followed);
    state.macroFile = keepFile(host.macroFilePath(), like ? &like->macroFile : nullptr);
    return state;
}

Status restoreEditState(HostState& host, const EditState& state) {
    host.image() = state.image;
    host.keys().table() = *state.table;
    host.keys().flags() = state.flags;
    const Bytes followed = hostStateBytes(state.image, *state.table);
    Status restored = restoreFile(host.dataFolder() / kKeymapFileName, state.keymapFile, &followed);
    if (Status macros = restoreFile(host.macroFilePath(), state.macroFile); restored && !macros)
        restored = macros;
    if (state.macroFile.state == KeptFile::State::Held) {
        // The macros in memory follow the file only when it was put back.
        if (const MacroFileResult loaded = loadMacroFile(host.macroFilePath(), host.macros());
            restored && !loaded.ok())
            restored = Status::failure(loaded.message);
    } else if (state.macroFile.state == KeptFile::State::Missing) {
        host.macros() = MacroList{}; // what a start without the file has
    }
    return restored;
}

const EditState* EditHistory::latest() const {
    if (!m_undo.empty())
        return &m_undo.back();
    return m_redo.empty() ? nullptr : &m_redo.back();
}

void EditHistory::begin(HostState& host) {
    m_pending = captureEditState(host, latest());
}

void EditHistory::end(HostState& host) {
    if (!m_pending)
        return;
    EditState before = std::move(*m_pending);
    m_pending.reset();
    if (before.sameEdits(captureEditState(host, &before)))
        return;
    if (m_undo.size() == kMaxSteps)
        m_undo.erase(m_undo.begin());
    m_undo.push_back(std::move(before));
    m_redo.clear();
}

HistoryStep EditHistory::step(HostState& host, std::vector<EditState>& from,
                              std::vector<EditState>& to) {
    if (from.empty())
        return {HistoryStep::Kind::NothingToDo, Status::success()};
    m_pending.reset();
    to.push_back(captureEditState(host, &from.back()));
    Status saved = restoreEditState(host, from.back());
    from.pop_back();
    return {HistoryStep::Kind::Restored, std::move(saved)};
}

HistoryStep EditHistory::undo(HostState& host) {
    return step(host, m_undo, m_redo);
}

HistoryStep EditHistory::redo(HostState& host) {
    return step(host, m_redo, m_undo);
}

void EditHistory::clear() {
    m_pending.reset();
    m_undo.clear();
    m_redo.clear();
}

} // namespace q905
