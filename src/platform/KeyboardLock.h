// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// An advisory lock on the keyboard, shared by every process of this user that talks to it
// (q905ctl for its whole run, the window for each transaction), so two never interleave their
// transfers. The holder writes its name and pid beside the lock, so a waiter can say who. The
// locks live in $XDG_RUNTIME_DIR/q905, else in a folder of the user's own under the temporary
// folder, checked before use.

#include "base/Result.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

namespace q905 {

class KeyboardLock {
  public:
    // The lock of the real keyboard, or of the emulated keyboard whose memory lives in
    // simulateFile (its path made absolute); none for an emulated keyboard without a file,
    // which no other process can reach.
    static std::optional<std::filesystem::path>
    lockFile(bool simulate, const std::optional<std::filesystem::path>& simulateFile);

    KeyboardLock(std::filesystem::path file, std::string holderName);
    ~KeyboardLock();
    KeyboardLock(const KeyboardLock&) = delete;
    KeyboardLock& operator=(const KeyboardLock&) = delete;

    // Waits until the lock is free, at most timeout (none: until stop is set). The failure
    // names the holder: "q905ctl (pid 1234)".
    [[nodiscard]] Status acquire(std::optional<std::chrono::milliseconds> timeout,
                                 const std::atomic<bool>* stop = nullptr);
    void release();
    bool held() const { return m_fd >= 0; }

  private:
    void writeHolder() const;
    std::string holder() const;

    std::filesystem::path m_file;
    std::string m_holderName;
    int m_fd = -1;
};

} // namespace q905
