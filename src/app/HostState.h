// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Everything the program keeps on the host, in one place: the two settings images, the key
// assignment tables with their marks, the macro list, and the data folder their files live in.
// The window and the command line both start from here, the same way, and both take the keyboard
// session's reports in here: the transactions are the session's, their host side is this.

#include "base/AtomicFile.h"
#include "device/DeviceReader.h"
#include "device/DeviceWriter.h"
#include "device/Settings.h"
#include "keys/KeyAssignmentTable.h"
#include "keys/KeymapFile.h"
#include "macros/MacroFile.h"
#include "macros/MacroModel.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace q905 {

// Beside keymap.bin while it holds edits the keyboard has not taken: the settings image the
// keyboard was believed to hold when keymap.bin was saved.
inline constexpr const char* kAppliedFileName = "applied.bin";

// The host files of one save, written in full beside their targets before the keyboard is
// changed, and put in place after it (HostState::finishSave).
struct [[nodiscard]] PreparedSave {
    std::optional<PreparedFile> keymap; // none while keymap.bin is kept as it is
    std::optional<PreparedFile> applied;
    std::optional<PreparedFile> macros;
};

struct ApplyReport;
struct ResetReport;

struct ApplyOutcome {
    ApplyResult result = ApplyResult::NotConnected;
    // The applied copies took the edits; otherwise the edits stay pending for the next apply.
    bool snapshotTaken = false;
    // keymap.bin: a failure before sending (nothing sent) or, rarely, when put in place.
    Status saved = Status::success();
    // Whether the user has to be told: the keyboard did not take the edits, or they were not
    // saved.
    bool failed() const { return !snapshotTaken || !saved.ok(); }
};

struct FactoryResetOutcome {
    // Of the reset's own frames: Applied, NotConnected or TransferFailed; NothingToApply when
    // the files could not be prepared and nothing was sent.
    ApplyResult reset = ApplyResult::NotConnected;
    ReadResult read = ReadResult::TransferFailed; // the read back, when the reset went out
    Status saved = Status::success();
    // The keyboard was reset (whether or not it could be read back and saved).
    bool wasReset() const { return reset == ApplyResult::Applied; }
    bool failed() const { return !wasReset() || read != ReadResult::Complete || !saved.ok(); }
    // The files could not be prepared (failure): nothing was sent.
    static FactoryResetOutcome notPrepared(const Status& failure) {
        return {ApplyResult::NothingToApply, ReadResult::TransferFailed, failure};
    }
};

// What a q905ctl command run for the window changed: the image and the table it edited, both
// started from the applied ones (the applied table stays the one it started from), and the
// macros when it changed them.
struct CommandResult {
    SettingsImage device;
    KeyAssignments keys;
    std::optional<MacroList> macros;
};

enum class ReadSource { Keyboard, Profile };

class HostState {
  public:
    explicit HostState(std::filesystem::path dataFolder);

    const std::filesystem::path& dataFolder() const { return m_dataFolder; }
    Settings& settings() { return m_settings; }
    const Settings& settings() const { return m_settings; }
    SettingsImage& image() { return m_settings.deviceSettings(); }
    KeyAssignments& keys() { return m_keys; }
    const KeyAssignments& keys() const { return m_keys; }
    MacroList& macros() { return *m_macros; }
    const MacroList& macros() const { return *m_macros; }
    std::filesystem::path macroFilePath() const { return m_dataFolder / kMacroFileName; }

    struct [[nodiscard]] LoadReport {
        MacroFileResult macros;
        KeymapLoadResult keymap;
    };
    // The start-up order: stale temporaries of killed saves removed, MacroDefine.bin, then the
    // table cleared and keymap.bin loaded into the image and the table (files created when
    // missing), then both snapshots.
    LoadReport loadAtStartUp();

    // Whether keymap.bin and MacroDefine.bin, where they exist, are files the load will take.
    // The load creates a missing file, so a caller that must refuse without writing anything
    // asks first.
    Status checkFiles() const;

    // A keymap.bin or MacroDefine.bin that exists but could not be read at start-up is never
    // written over: the program works on what it holds in memory, and saves leave it alone.
    bool keymapKeptAsItIs() const { return m_keymapKeptAsItIs; }
    bool macrosKeptAsItIs() const { return m_macrosKeptAsItIs; }
    // A command the window runs leaves keymap.bin and MacroDefine.bin alone: the window writes
    // them once it has taken the command's result.
    void keepFilesAsTheyAre() { m_keymapKeptAsItIs = m_macrosKeptAsItIs = true; }

    // After a complete read of the keyboard: edits saved earlier that the keyboard has not
    // taken go back into DeviceSettings, so the next apply sends them (see PendingEdits.h).
    void resumePendingEdits();

    // keymap.bin (with applied.bin while edits are pending) and, with macros, MacroDefine.bin,
    // prepared from the state as it is now. Nothing is replaced yet.
    Result<PreparedSave> prepareSave(bool macros = false);
    // Rewrites the prepared files with the state as it is now (an apply or a read may have
    // changed it) and puts them in place.
    Status finishSave(PreparedSave save);

    // keymap.bin from DeviceSettings and KeyAssignmentTable.
    Status saveKeymap();
    // keymap.bin from the applied copies: what the keyboard holds, without pending edits.
    Status saveAppliedKeymap();
    Status saveMacros();

    // The settings images become the keyboard's as a transaction of the keyboard's session
    // left them: the session is their one writer, this is their copy for editing and files.
    void takeKeyboardImages(const SettingsImage& device, const SettingsImage& applied,
                            DeviceVersion version);

    // The game mode the keyboard was last given from this host, as keymap.bin (or applied.bin)
    // recorded it; none when no saved image held it at start-up.
    GameModeToRestore lastAppliedGameMode() const;
    // The same from the files alone, for a command that reads the keyboard without loading
    // (or writing) the host state.
    static GameModeToRestore savedGameMode(const std::filesystem::path& dataFolder);

    // AppliedSettings and AppliedAssignmentTable take the working copies.
    void snapshotAll();
    // The working copies go back to the applied ones; the marks follow, then keymap.bin is
    // rewritten (a failed write keeps the state in memory).
    [[nodiscard]] Status revertAll();

    // The apply's host side: keymap.bin is prepared first (prepareSave); only then the keyboard
    // gets the edits; this takes the session's report and puts the files in place.
    ApplyOutcome finishApply(PreparedSave save, const ApplyReport& report);
    // keymap.bin prepared (prepareSave), the keyboard's factory reset and read back (the
    // session's), then this: no assignments, every key enabled, snapshots, keymap.bin. A
    // keyboard that did not take the reset leaves the host side untouched: clearing the user's
    // assignments for a keyboard that was never reset would lose them for nothing.
    FactoryResetOutcome finishFactoryReset(PreparedSave save, const ResetReport& report);

    // A q905ctl command's change, applied for the window (report): where the window has no edit
    // of its own pending, its image takes what the keyboard's session now holds; its pending
    // edits stay and win. AppliedSettings becomes the report's; the keys the command changed
    // take the command's assignment the same way, and become applied when the keyboard took the
    // change. The command's macros are taken; the marks follow, then keymap.bin (and
    // MacroDefine.bin when the command changed the macros) is saved; the save's result.
    [[nodiscard]] Status takeCommandEdit(const CommandResult& change, const ApplyReport& report);

    // The refresh after a read: after a read of the keyboard the edits still pending from an
    // earlier run, the assigned-key marks, then keymap.bin (its result returned).
    [[nodiscard]] Status readDone(ReadSource source);

  private:
    struct PendingAtStart {
        SettingsImage edited;
        SettingsImage believed;
    };
    void loadPendingEdits();
    Status writeKeymap(PreparedFile& keymap, std::optional<PreparedFile>& applied,
                       const SettingsImage& image, const KeyAssignmentTable& table,
                       const SettingsImage& believed, bool rewrite);

    std::filesystem::path m_dataFolder;
    Settings m_settings;
    KeyAssignments m_keys;
    std::unique_ptr<MacroList> m_macros; // 170 KB: on the heap
    std::unique_ptr<PendingAtStart> m_pendingAtStart;
    bool m_keymapKeptAsItIs = false;
    bool m_macrosKeptAsItIs = false;
    bool m_gameModeKnown = false;
};

} // namespace q905
