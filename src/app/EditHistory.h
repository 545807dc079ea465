// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Undo and redo of the window's edits. A step is the state before one edit: the settings image,
// the key assignments with their marks, and the files on this computer those edits write.
// Restoring a step puts all of them back exactly; the keyboard hears of it only on Apply.

#include "app/HostState.h"
#include "device/SettingsImage.h"
#include "keys/KeyAssignmentTable.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

namespace q905 {

// A file on this computer as a step found it.
struct KeptFile {
    enum class State {
        Missing,    // restored by removing it
        Unreadable, // left alone: it holds something this program could not take
        Held,
    };
    State state = State::Missing;
    // The bytes when held. For keymap.bin null means it held exactly the image and the table,
    // as it normally does, and is written from them again.
    std::shared_ptr<const std::vector<std::uint8_t>> bytes;

    bool operator==(const KeptFile& other) const;
};

// A step is the state before one edit. It keeps only what it must: parts equal to the step
// before share its copy.
struct EditState {
    SettingsImage image;
    std::shared_ptr<const KeyAssignmentTable> table;
    KeyAssignedFlags flags{};
    // keymap.bin and MacroDefine.bin. The macro list is what MacroDefine.bin holds: the macro
    // dialog writes it on OK.
    KeptFile keymapFile;
    KeptFile macroFile;

    // Whether an edit happened between the two: keymap.bin follows the image and the table.
    bool sameEdits(const EditState& other) const;
};

// like: a recent step whose copies are shared where they are equal; may be null.
EditState captureEditState(HostState& host, const EditState* like = nullptr);
// The image, the table and the marks go back; keymap.bin and MacroDefine.bin are rewritten with
// the bytes they held (or removed when they did not exist, or left alone when they could not be
// read), and the macro list is read again.
// False when a file could not be written.
[[nodiscard]] Status restoreEditState(HostState& host, const EditState& state);

// What an undo or a redo did: nothing (no step), or put a step back, its files saved or not.
// A step put back always changes the state in memory, so the window refreshes either way.
struct [[nodiscard]] HistoryStep {
    enum class Kind { NothingToDo, Restored };
    Kind kind;
    Status saved; // keymap.bin and MacroDefine.bin, as the step put them back
    bool restored() const { return kind == Kind::Restored; }
};

class EditHistory {
  public:
    static constexpr std::size_t kMaxSteps = 50;

    // An edit is about to start (a click, a slider drag, a dialog): remembers the state before.
    void begin(HostState& host);
    // The edit ended: one undo step when anything changed. Redo is forgotten then.
    void end(HostState& host);
    bool editOpen() const { return m_pending.has_value(); }

    bool canUndo() const { return !m_undo.empty(); }
    bool canRedo() const { return !m_redo.empty(); }
    HistoryStep undo(HostState& host);
    HistoryStep redo(HostState& host);

    // Apply, revert, factory reset and every read of the keyboard: nothing before them can be
    // undone, nothing undone can be redone.
    void clear();

  private:
    // The latest step, to share copies with; null when there is none.
    const EditState* latest() const;
    HistoryStep step(HostState& host, std::vector<EditState>& from, std::vector<EditState>& to);

    std::optional<EditState> m_pending;
    std::vector<EditState> m_undo;
    std::vector<EditState> m_redo;
};

} // namespace q905
