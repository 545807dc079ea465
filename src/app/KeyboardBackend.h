// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard the options name, for the window and the command line alike: the emulated one
// (its memory kept in the --simulate file) or the real one behind hidraw, and the trace of the
// session with it.

#include "app/ProgramOptions.h"
#include "base/Result.h"
#include "device/HidBackend.h"
#include "device/SettingsImage.h"
#include "device/Trace.h"

#include <memory>

namespace q905 {

class EmulatedKeyboard;

class KeyboardBackend {
  public:
    explicit KeyboardBackend(const CliOptions& options);
    // Writes the emulated keyboard's memory back to its file.
    ~KeyboardBackend();
    KeyboardBackend(const KeyboardBackend&) = delete;
    KeyboardBackend& operator=(const KeyboardBackend&) = delete;

    HidBackend& backend() { return *m_backend; }
    // Null without --trace.
    Trace* trace() { return m_trace.get(); }
    bool traceOpen() const { return !m_trace || m_trace->good(); }
    // Null for the real keyboard.
    EmulatedKeyboard* emulator() { return m_emulator.get(); }
    // Whether the --simulate file could be taken. When not, the emulated keyboard keeps its
    // factory settings and the file is left alone at the end.
    const Status& memoryFileStatus() const { return m_memoryFileStatus; }

  private:
    std::optional<std::filesystem::path> m_memoryFile;
    SettingsImage m_memoryAtStart;
    Status m_memoryFileStatus = Status::success();
    std::unique_ptr<Trace> m_trace;
    std::unique_ptr<EmulatedKeyboard> m_emulator;
    std::unique_ptr<HidBackend> m_hidraw;
    HidBackend* m_backend = nullptr;
};

} // namespace q905
