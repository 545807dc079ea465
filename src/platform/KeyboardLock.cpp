// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/KeyboardLock.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <sstream>
#include <thread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q905 {

namespace {

bool runtimeDirSet() {
    const char* xdg = std::getenv("XDG_RUNTIME_DIR");
    return xdg && *xdg;
}

std::filesystem::path runtimeFolder() {
    if (runtimeDirSet())
        return std::filesystem::path(std::getenv("XDG_RUNTIME_DIR")) / "q905";
    return std::filesystem::temp_directory_path() / ("q905-" + std::to_string(::getuid()));
}

constexpr std::chrono::milliseconds kPoll{20};

Status folderRefused(const std::filesystem::path& folder, const std::string& why) {
    std::string message = "will not keep the keyboard's lock in " + folder.string() + ": " + why;
    if (!runtimeDirSet())
        message += " (XDG_RUNTIME_DIR is not set; set it to a folder only you can write, as a "
                   "login session does)";
    return Status::failure(message);
}

// Outside $XDG_RUNTIME_DIR the folder's name can be guessed: another user may have made it, or
// put a link there, before us. It is used only as a real folder of ours that nobody else can
// enter.
Status privateFolder(const std::filesystem::path& folder) {
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        return folderRefused(folder, std::strerror(errno));
    struct stat info {};
    if (::lstat(folder.c_str(), &info) != 0)
        return folderRefused(folder, std::strerror(errno));
    if (!S_ISDIR(info.st_mode))
        return folderRefused(folder, "it is not a folder");
    if (info.st_uid != ::geteuid())
        return folderRefused(folder, "it belongs to another user");
    if ((info.st_mode & 077) != 0 && ::chmod(folder.c_str(), 0700) != 0)
        return folderRefused(folder, std::strerror(errno));
    return Status::success();
}

std::filesystem::path holderFile(const std::filesystem::path& lock) {
    return lock.string() + ".holder";
}

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
    if (const Status folder = privateFolder(m_file.parent_path()); !folder)
        return folder;
    // Never through a link, never truncated: the file only carries the lock.
    const int fd = ::open(m_file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return Status::failure("cannot open the keyboard's lock " + m_file.string() + ": " +
                               std::strerror(errno));
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_uid != ::geteuid()) {
        ::close(fd);
        return Status::failure("will not use the keyboard's lock " + m_file.string() +
                               ": it is not a file of this user");
    }
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
        if ((stop && stop->load()) || (timeout && std::chrono::steady_clock::now() >= deadline)) {
            ::close(fd);
            return Status::failure("the keyboard is in use by " + holder());
        }
        std::this_thread::sleep_for(kPoll);
    }
    m_fd = fd;
    writeHolder();
    return Status::success();
}

void KeyboardLock::writeHolder() const {
    // Written whole beside and renamed over: a waiter reads the old name or the new one, never
    // half of one.
    const std::filesystem::path target = holderFile(m_file);
    const std::string scratch = target.string() + "." + std::to_string(::getpid());
    const int fd =
        ::open(scratch.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return; // the name is a courtesy to waiters; the lock holds without it
    const std::string line = m_holderName + " (pid " + std::to_string(::getpid()) + ")\n";
    const bool written = ::write(fd, line.data(), line.size()) == ssize_t(line.size());
    ::close(fd);
    if (!written || ::rename(scratch.c_str(), target.c_str()) != 0)
        ::unlink(scratch.c_str());
}

std::string KeyboardLock::holder() const {
    const int fd =
        ::open(holderFile(m_file).c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    std::string text;
    if (fd >= 0) {
        struct stat info {};
        if (::fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
            text.resize(256);
            const ssize_t got = ::read(fd, text.data(), text.size() - 1);
            text.resize(got > 0 ? std::size_t(got) : 0);
        }
        ::close(fd);
    }
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
