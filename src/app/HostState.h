#pragma once
// Everything the program keeps on the host, in one place: the two settings images, the key
// assignment tables with their marks, the macro list, and the data folder their files live in.
// The window and the command line both start from here, the same way.

#include "device/Settings.h"
#include "keys/KeyAssignmentTable.h"
#include "keys/KeymapFile.h"
#include "macros/MacroFile.h"
#include "macros/MacroModel.h"

#include <filesystem>
#include <memory>
#include <string>

namespace q905 {

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

    // Whether files can be written to the data folder: checked before the keyboard is
    // changed, so a change never reaches the keyboard and then fails to be saved.
    Status checkDataFolder() const;

    // keymap.bin from DeviceSettings and KeyAssignmentTable.
    Status saveKeymap();
    // keymap.bin from the applied copies: what the keyboard holds, without pending edits.
    Status saveAppliedKeymap();
    Status saveMacros();

    // AppliedSettings and AppliedAssignmentTable take the working copies.
    void snapshotAll();
    // The working copies go back to the applied ones; the marks follow.
    void revertAll();
    // After the keyboard's factory reset has been read: no assignments, no marks, every key
    // enabled, snapshots, keymap.bin written.
    Status factoryResetHostSide();

  private:
    std::filesystem::path m_dataFolder;
    Settings m_settings;
    KeyAssignments m_keys;
    std::unique_ptr<MacroList> m_macros; // 170 KB: on the heap
};

} // namespace q905
