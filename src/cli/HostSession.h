// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A q905ctl command that edits the host state: it starts the way the window does (keymap.bin
// into the image and the table, the keyboard read over it, a snapshot), lets the command make
// its change through the same functions the window calls, then applies and saves keymap.bin.
// With --no-apply the keyboard is not touched: the change only goes to the host files.

#include "app/HostState.h"
#include "cli/Command.h"
#include "cli/DeviceSession.h"

#include <memory>
#include <optional>

namespace q905 {

class HostSession {
  public:
    explicit HostSession(CliContext& context);
    ~HostSession();

    // Loads the host files and, unless --no-apply, opens and reads the keyboard. An exit code
    // when that failed.
    [[nodiscard]] std::optional<int> start();

    HostState& host() { return *m_host; }
    SettingsImage& image() { return m_host->image(); }
    bool connected() const { return m_device != nullptr || m_window; }
    // Only while connected, and never for a window's command.
    KeyboardSession& keyboard();

    // Prepares keymap.bin (and with macros MacroDefine.bin), applies (unless --no-apply), then
    // puts the files in place; the exit code to end with. Nothing is sent when the files
    // cannot be prepared. A window that runs the command is left the change to apply.
    [[nodiscard]] int commit(bool macros = false);
    // For commands that only look: no apply, no file written.
    [[nodiscard]] int finishReading();
    // Ends with exitCode, or 1 when the emulated keyboard saw a protocol error.
    [[nodiscard]] int finishWith(int exitCode);

  private:
    std::optional<int> startAttached();

    CliContext& m_context;
    WindowCommand* m_window = nullptr;
    // Attached: the macros the command started from (on the heap: the list is 170 KB).
    std::unique_ptr<MacroList> m_startMacros;
    std::unique_ptr<HostState> m_host;
    std::unique_ptr<DeviceSession> m_device;
};

} // namespace q905
