// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidrawSystem.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/hidraw.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace q905 {

namespace {
SystemResult fromCall(long value) {
    if (value < 0)
        return {value, errno};
    return {value, 0};
}

class LinuxHidrawSystem final : public HidrawSystem {
  public:
    SystemResult open(const std::string& devnode) override {
        return fromCall(::open(devnode.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC));
    }
    void close(int fd) override { ::close(fd); }
    SystemResult setFeature(int fd, std::span<const std::uint8_t> buffer) override {
        return fromCall(::ioctl(fd, HIDIOCSFEATURE(buffer.size()), buffer.data()));
    }
    SystemResult getFeature(int fd, std::span<std::uint8_t> buffer) override {
        return fromCall(::ioctl(fd, HIDIOCGFEATURE(buffer.size()), buffer.data()));
    }
    SystemResult write(int fd, std::span<const std::uint8_t> bytes) override {
        return fromCall(::write(fd, bytes.data(), bytes.size()));
    }
    SystemResult read(int fd, std::span<std::uint8_t> bytes) override {
        return fromCall(::read(fd, bytes.data(), bytes.size()));
    }
    SystemResult poll(std::span<pollfd> fds, int timeoutMs) override {
        return fromCall(::poll(fds.data(), fds.size(), timeoutMs));
    }
    SystemResult createWakeup() override { return fromCall(::eventfd(0, EFD_CLOEXEC)); }
    void signalWakeup(int fd) override {
        const std::uint64_t one = 1;
        // Any other failure means the counter is already non-zero, i.e. signalled.
        while (::write(fd, &one, sizeof one) < 0 && errno == EINTR) {
        }
    }
};
} // namespace

std::shared_ptr<HidrawSystem> makeLinuxHidrawSystem() {
    return std::make_shared<LinuxHidrawSystem>();
}

} // namespace q905
