// SPDX-License-Identifier: GPL-3.0-or-later
#include "base/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace q905 {

namespace {

Status fail(const std::string& what) {
    const int error = errno;
    return Status::failure(what + ": " + std::strerror(error), error);
}

std::string temporaryName(const std::filesystem::path& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = path.string() + kTemporaryMark;
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int i = 0; i < 8; ++i)
        name += kDigits[random() % (sizeof(kDigits) - 1)];
    return name;
}

Status writeAll(int fd, FileParts parts, const std::string& name) {
    std::size_t offset = 0;
    for (const std::span<const std::uint8_t> part : parts) {
        std::size_t written = 0;
        while (written < part.size()) {
            const ssize_t n = ::pwrite(fd, part.data() + written, part.size() - written,
                                       static_cast<off_t>(offset + written));
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                return fail("cannot write " + name);
            written += static_cast<std::size_t>(n);
        }
        offset += part.size();
    }
    if (::fsync(fd) != 0)
        return fail("cannot flush " + name);
    return Status::success();
}

std::size_t totalSize(FileParts parts) {
    std::size_t size = 0;
    for (const std::span<const std::uint8_t> part : parts)
        size += part.size();
    return size;
}

// The file is written without a name and linked in only when complete: a kill before then
// leaves nothing behind. Nullopt where unnamed files cannot be made or linked here.
std::optional<Status> prepareUnnamed(const std::filesystem::path& path, FileParts bytes, int& fd,
                                     std::string& linked) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    fd = ::open(folder.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt;
    // Keep the usual permissions of a user's data file (temporaries are created 0600).
    ::fchmod(fd, 0644);
    Status status = writeAll(fd, bytes, path.string());
    if (!status.ok())
        return status;
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0;; ++attempt) {
        linked = temporaryName(path);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, linked.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return status;
        if (errno != EEXIST || attempt == 8) {
            linked.clear();
            ::close(fd);
            fd = -1;
            return std::nullopt; // no /proc, say: fall back to a named temporary
        }
    }
}

Status prepareNamed(const std::filesystem::path& path, FileParts bytes, int& fd,
                    std::string& temporary) {
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = temporaryName(path);
        fd = ::open(temporary.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt == 8)) {
            const Status failed = fail("cannot create " + temporary);
            temporary.clear();
            return failed;
        }
    }
    ::fchmod(fd, 0644);
    return writeAll(fd, bytes, temporary);
}

} // namespace

Result<PreparedFile> PreparedFile::prepare(const std::filesystem::path& path,
                                           std::span<const std::uint8_t> bytes) {
    return prepare(path, FileParts(&bytes, 1));
}

Result<PreparedFile> PreparedFile::prepare(const std::filesystem::path& path, FileParts bytes) {
    PreparedFile file;
    file.m_target = path;
    file.m_size = totalSize(bytes);
    std::optional<Status> status = prepareUnnamed(path, bytes, file.m_fd, file.m_temporary);
    if (!status)
        status = prepareNamed(path, bytes, file.m_fd, file.m_temporary);
    if (!status->ok())
        return Result<PreparedFile>::failure(*status); // the file's destructor tidies up
    return file;
}

PreparedFile::PreparedFile(PreparedFile&& other) noexcept
    : m_target(std::move(other.m_target)), m_temporary(std::exchange(other.m_temporary, {})),
      m_fd(std::exchange(other.m_fd, -1)), m_size(other.m_size) {}

PreparedFile& PreparedFile::operator=(PreparedFile&& other) noexcept {
    if (this != &other) {
        drop();
        m_target = std::move(other.m_target);
        m_temporary = std::exchange(other.m_temporary, {});
        m_fd = std::exchange(other.m_fd, -1);
        m_size = other.m_size;
    }
    return *this;
}

PreparedFile::~PreparedFile() {
    drop();
}

Status PreparedFile::rewrite(std::span<const std::uint8_t> bytes) {
    if (m_fd < 0)
        return Status::failure("cannot write " + m_target.string() + ": not prepared");
    if (bytes.size() != m_size) {
        if (::ftruncate(m_fd, static_cast<off_t>(bytes.size())) != 0)
            return fail("cannot write " + m_target.string());
        m_size = bytes.size();
    }
    return writeAll(m_fd, FileParts(&bytes, 1), m_target.string());
}

Status PreparedFile::commit() {
    if (m_fd < 0 || m_temporary.empty())
        return Status::failure("cannot replace " + m_target.string() + ": not prepared");
    ::close(m_fd);
    m_fd = -1;
    if (::rename(m_temporary.c_str(), m_target.c_str()) != 0) {
        const Status failed = fail("cannot replace " + m_target.string());
        drop();
        return failed;
    }
    m_temporary.clear();
    return Status::success();
}

void PreparedFile::drop() {
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
    if (!m_temporary.empty())
        ::unlink(m_temporary.c_str());
    m_temporary.clear();
}

Status saveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    return saveFileAtomically(path, FileParts(&bytes, 1));
}

Status saveFileAtomically(const std::filesystem::path& path, FileParts parts) {
    Result<PreparedFile> prepared = PreparedFile::prepare(path, parts);
    if (!prepared)
        return Status::failure(prepared.message());
    return prepared->commit();
}

void removeStaleTemporaries(const std::filesystem::path& folder, std::chrono::seconds olderThan) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    if (error)
        return;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const auto& entry : entries) {
        if (entry.path().filename().string().find(kTemporaryMark) == std::string::npos)
            continue;
        if (!entry.is_regular_file(error))
            continue;
        const auto written = entry.last_write_time(error);
        if (error || now - written < olderThan)
            continue;
        std::filesystem::remove(entry.path(), error);
    }
}

} // namespace q905
