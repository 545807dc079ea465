// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeyboardLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q905 {

namespace {

std::filesystem::path runtimeFolder() {
    if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"); xdg && *xdg)
        return std::filesystem::path(xdg) / "q905";
    return std::filesystem::temp_directory_path() / ("q905-" + std::to_string(::getuid()));
}

constexpr std::chrono::milliseconds kPoll{20};

} // namespace

std::optional<std::filesystem::path>
KeyboardLock::lockFile(bool simulate, const std::optional<std::filesystem::path>& simulateFile) {
    if (!simulate)
        return runtimeFolder() / "keyboard.lock";
    if (!simulateFile)
        return std::nullopt;
    std::error_code error;
    std::filesystem::path key = std::filesystem::absolute(*simulateFile, error);
    if (!error)
        key = std::filesystem::weakly_canonical(key, error);
    if (error)
        key = *simulateFile;
    std::ostringstream name;
    name << "emulated-" << std::hex << std::hash<std::string>{}(key.string()) << ".lock";
    return runtimeFolder() / name.str();
}

KeyboardLock::KeyboardLock(std::filesystem::path file, std::string holderName)
    : m_file(std::move(file)), m_holderName(std::move(holderName)) {}

KeyboardLock::~KeyboardLock() {
    release();
}

Status KeyboardLock::acquire(std::optional<std::chrono::milliseconds> timeout,
                             const std::atomic<bool>* stop) {
    if (held())
        return Status::success();
    std::error_code error;
    std::filesystem::create_directories(m_file.parent_path(), error);
    ::chmod(m_file.parent_path().c_str(), 0700);
    const int fd = ::open(m_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return Status::failure("cannot open the keyboard's lock " + m_file.string() + ": " +
                               std::strerror(errno));
    const auto deadline = std::chrono::steady_clock::now() + timeout.value_or(kPoll);
    for (;;) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0)
            break;
        if (errno != EWOULDBLOCK && errno != EINTR) {
            const int failure = errno;
            ::close(fd);
            return Status::failure("cannot lock " + m_file.string() + ": " +
                                   std::strerror(failure));
        }
        if ((stop && stop->load()) ||
            (timeout && std::chrono::steady_clock::now() >= deadline)) {
            const std::string who = holderOf(fd);
            ::close(fd);
            return Status::failure("the keyboard is in use by " + who);
        }
        std::this_thread::sleep_for(kPoll);
    }
    m_fd = fd;
    // Who holds it, for a process that has to wait.
    const std::string line = m_holderName + " (pid " + std::to_string(::getpid()) + ")\n";
    if (::ftruncate(fd, 0) == 0)
        (void)!::pwrite(fd, line.data(), line.size(), 0);
    return Status::success();
}

std::string KeyboardLock::holderOf(int fd) {
    std::string text(256, '\0');
    const ssize_t got = ::pread(fd, text.data(), text.size() - 1, 0);
    text.resize(got > 0 ? std::size_t(got) : 0);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\0'))
        text.pop_back();
    return text.empty() ? "another program" : text;
}

void KeyboardLock::release() {
    if (m_fd < 0)
        return;
    ::flock(m_fd, LOCK_UN);
    ::close(m_fd);
    m_fd = -1;
}

} // namespace q905
