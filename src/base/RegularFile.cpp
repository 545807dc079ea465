// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/RegularFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q905 {

namespace {

FileContents refuse(FileReadStatus status, std::string message) {
    return {status, {}, std::move(message)};
}

std::string systemError(const std::string& what, const std::filesystem::path& path) {
    return what + " " + path.string() + ": " + std::strerror(errno);
}

class Descriptor {
  public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return m_fd; }

  private:
    int m_fd;
};

} // namespace

FileContents readRegularFile(const std::filesystem::path& path, std::size_t maxSize) {
    // Looked at before opening: opening a device or a FIFO may itself have effects.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (errno == ENOENT)
            return refuse(FileReadStatus::Missing, path.string() + " does not exist");
        return refuse(FileReadStatus::Unreadable, systemError("cannot read", path));
    }
    if (!S_ISREG(info.st_mode))
        return refuse(FileReadStatus::NotRegular, path.string() + " is not a regular file");

    // O_NONBLOCK: should the path have become a FIFO since, the open does not wait for a writer.
    const Descriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NONBLOCK));
    if (file.get() < 0)
        return refuse(FileReadStatus::Unreadable, systemError("cannot read", path));
    if (::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode))
        return refuse(FileReadStatus::NotRegular, path.string() + " is not a regular file");

    FileContents contents;
    const std::size_t bound = maxSize + 1;
    contents.bytes.resize(bound);
    std::size_t filled = 0;
    while (filled < bound) {
        const ssize_t n = ::read(file.get(), contents.bytes.data() + filled, bound - filled);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return refuse(FileReadStatus::Unreadable, systemError("cannot read", path));
        if (n == 0)
            break;
        filled += static_cast<std::size_t>(n);
    }
    contents.bytes.resize(filled);
    if (filled > maxSize) {
        contents.status = FileReadStatus::TooLarge;
        contents.message =
            path.string() + " is too large: more than " + std::to_string(maxSize) + " bytes";
    }
    return contents;
}

std::string wrongSizeMessage(const std::filesystem::path& path, std::uintmax_t size,
                             std::size_t expected, Language language) {
    const bool german = language == Language::German;
    const std::string held = size > expected
                                 ? (german ? "mehr als " : "more than ") + std::to_string(expected)
                                 : std::to_string(size);
    if (german)
        return path.string() + " enth\u00E4lt " + held + " Bytes statt " +
               std::to_string(expected) +
               "; der Inhalt wurde \u00FCbernommen, und die Datei wird vollst\u00E4ndig neu "
               "geschrieben";
    return path.string() + " holds " + held + " bytes instead of " + std::to_string(expected) +
           "; what it holds was taken, and it will be rewritten in full";
}

} // namespace q905
