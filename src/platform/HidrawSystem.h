// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Every system call the hidraw backend makes, behind one interface: the real kernel in the
// program, a scripted fake in the tests, so the transfer code runs without a keyboard.

#include <cstdint>
#include <memory>
#include <poll.h>
#include <span>
#include <string>

namespace q905 {

// value is the call's result (a descriptor, a byte count, a number of ready descriptors);
// error is the errno of a failed call and 0 on success.
struct SystemResult {
    long value = 0;
    int error = 0;
    bool ok() const { return error == 0; }
};

class HidrawSystem {
  public:
    virtual ~HidrawSystem() = default;
    // Read/write, non-blocking, close-on-exec.
    virtual SystemResult open(const std::string& devnode) = 0;
    virtual void close(int fd) = 0;
    // HIDIOCSFEATURE / HIDIOCGFEATURE with the buffer's length; byte 0 is the report id.
    virtual SystemResult setFeature(int fd, std::span<const std::uint8_t> buffer) = 0;
    virtual SystemResult getFeature(int fd, std::span<std::uint8_t> buffer) = 0;
    virtual SystemResult write(int fd, std::span<const std::uint8_t> bytes) = 0;
    virtual SystemResult read(int fd, std::span<std::uint8_t> bytes) = 0;
    // timeoutMs < 0 waits without limit.
    virtual SystemResult poll(std::span<pollfd> fds, int timeoutMs) = 0;
    // A descriptor that becomes readable, and stays so, once signalled: it wakes a poll from
    // another thread.
    virtual SystemResult createWakeup() = 0;
    virtual void signalWakeup(int fd) = 0;
};

std::shared_ptr<HidrawSystem> makeLinuxHidrawSystem();

} // namespace q905
