#include "base/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace q905 {

namespace {

Status fail(const std::string& what) {
    return Status::failure(what + ": " + std::strerror(errno));
}

std::string temporaryName(const std::filesystem::path& path) {
    static thread_local std::mt19937_64 random{std::random_device{}()};
    std::string name = path.string() + kTemporaryMark;
    static constexpr char kDigits[] = "0123456789abcdefghijklmnopqrstuvwxyz";
    for (int i = 0; i < 8; ++i)
        name += kDigits[random() % (sizeof(kDigits) - 1)];
    return name;
}

Status writeAll(int fd, std::span<const std::uint8_t> bytes, const std::string& name) {
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return fail("cannot write " + name);
        written += static_cast<std::size_t>(n);
    }
    // Keep the usual permissions of a user's data file (temporaries are created 0600).
    ::fchmod(fd, 0644);
    if (::fsync(fd) != 0)
        return fail("cannot flush " + name);
    return Status::success();
}

// The file is written without a name and linked in only when complete: a kill at any
// point before leaves nothing behind.
std::optional<Status> saveUnnamed(const std::filesystem::path& path,
                                  std::span<const std::uint8_t> bytes, std::string& linked) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0)
        return std::nullopt; // not supported here: the caller writes a named temporary
    Status status = writeAll(fd, bytes, path.string());
    if (status.ok()) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        for (int attempt = 0;; ++attempt) {
            linked = temporaryName(path);
            if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, linked.c_str(), AT_SYMLINK_FOLLOW) == 0)
                break;
            if (errno != EEXIST || attempt == 8) {
                linked.clear();
                ::close(fd);
                return std::nullopt; // no /proc, say: fall back to a named temporary
            }
        }
    }
    ::close(fd);
    return status;
}

Status saveNamed(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                 std::string& temporary) {
    int fd = -1;
    for (int attempt = 0; fd < 0; ++attempt) {
        temporary = temporaryName(path);
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0 && (errno != EEXIST || attempt == 8))
            return fail("cannot create " + temporary);
    }
    Status status = writeAll(fd, bytes, temporary);
    if (::close(fd) != 0 && status.ok())
        status = fail("cannot flush " + temporary);
    return status;
}

} // namespace

Status saveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::string temporary;
    std::optional<Status> status = saveUnnamed(path, bytes, temporary);
    if (!status)
        status = saveNamed(path, bytes, temporary);
    if (status->ok() && ::rename(temporary.c_str(), path.c_str()) != 0)
        status = fail("cannot replace " + path.string());
    if (!status->ok() && !temporary.empty())
        ::unlink(temporary.c_str());
    return *status;
}

Status checkWritableFolder(const std::filesystem::path& folder) {
    int fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd >= 0) {
        ::close(fd);
        return Status::success();
    }
    if (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL)
        return fail("cannot write to " + folder.string());
    // No unnamed files here: try a named one.
    const std::string probe = temporaryName(folder / "probe");
    fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return fail("cannot write to " + folder.string());
    ::close(fd);
    ::unlink(probe.c_str());
    return Status::success();
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
