#include "base/AtomicFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

namespace q905 {

namespace {
bool fail(std::string* error, const std::string& what) {
    if (error)
        *error = what + ": " + std::strerror(errno);
    return false;
}
} // namespace

bool saveFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                        std::string* error) {
    std::filesystem::path temporary = path;
    temporary += ".tmp-XXXXXX";
    std::string pattern = temporary.string();
    const int fd = ::mkstemp(pattern.data());
    if (fd < 0)
        return fail(error, "cannot create " + pattern);
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const bool result = fail(error, "cannot write " + pattern);
            ::close(fd);
            ::unlink(pattern.c_str());
            return result;
        }
        written += static_cast<std::size_t>(n);
    }
    // mkstemp creates the file 0600; keep the usual permissions of a user's data file.
    ::fchmod(fd, 0644);
    if (::fsync(fd) != 0 || ::close(fd) != 0) {
        const bool result = fail(error, "cannot flush " + pattern);
        ::unlink(pattern.c_str());
        return result;
    }
    if (::rename(pattern.c_str(), path.c_str()) != 0) {
        const bool result = fail(error, "cannot replace " + path.string());
        ::unlink(pattern.c_str());
        return result;
    }
    return true;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                    std::istreambuf_iterator<char>());
    return bytes;
}

} // namespace q905
