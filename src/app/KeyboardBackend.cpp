// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/KeyboardBackend.h"

#include "base/TextSafety.h"
#include "emulator/EmulatedKeyboard.h"
#include "platform/HidrawBackend.h"

#include <cerrno>
#include <iostream>

namespace q905 {

KeyboardBackend::KeyboardBackend(const CliOptions& options) {
    if (options.traceFile)
        m_trace = std::make_unique<Trace>(options.traceFile->string());
    if (options.simulate) {
        EmulatedKeyboard::Options emulated;
        emulated.firmwareMajor = options.simulateMajor;
        emulated.firmwareMinor = options.simulateMinor;
        emulated.latency = options.simulateLatency;
        m_emulator = std::make_unique<EmulatedKeyboard>(emulated);
        m_emulator->setFaults(options.simulateFaults);
        m_memoryFile = options.simulateFile;
        if (m_memoryFile)
            m_memoryFileStatus = m_emulator->loadMemory(*m_memoryFile); // missing: factory
        m_memoryAtStart = m_emulator->memory();

        m_backend = &m_emulator->backend();
    } else {
        m_hidraw = std::make_unique<HidrawBackend>();
        m_backend = m_hidraw.get();
    }
}

KeyboardBackend::~KeyboardBackend() {
    // A file that was refused is someone's, not ours to overwrite; a run that changed nothing
    // (a command refused before it began) leaves the file as it was, or absent.
    if (m_emulator && m_memoryFile && m_memoryFileStatus.ok() &&
        m_emulator->memory() != m_memoryAtStart)
        if (const Status saved = m_emulator->saveMemory(*m_memoryFile); !saved)
            std::cerr << program_invocation_short_name
                      << ": the emulated keyboard's memory was not saved: "
                      << escapeForTerminal(saved.message()) << "\n";
}

} // namespace q905
