// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Makes a file that nobody, root included, can remove until the guard ends: the file system's
// immutable flag. Where the flag cannot be set (not root, or a file system without it) the
// guard says so and the test skips.

#include <fcntl.h>
#include <filesystem>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace q905::testing {

class ImmutableFile {
  public:
    explicit ImmutableFile(std::filesystem::path path) : m_path(std::move(path)) {
        m_set = setFlag(true);
    }
    ~ImmutableFile() {
        if (m_set)
            setFlag(false);
    }
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;

    bool isSet() const { return m_set; }
    void release() {
        if (m_set)
            m_set = !setFlag(false);
    }

  private:
    bool setFlag(bool on) const {
        const int fd = ::open(m_path.c_str(), O_RDONLY | O_CLOEXEC);
        if (fd < 0)
            return false;
        int flags = 0;
        bool done = ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0;
        if (done) {
            flags = on ? (flags | FS_IMMUTABLE_FL) : (flags & ~FS_IMMUTABLE_FL);
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
        return done;
    }

    std::filesystem::path m_path;
    bool m_set = false;
};

} // namespace q905::testing
