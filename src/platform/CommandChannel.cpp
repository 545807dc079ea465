// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/CommandChannel.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace q905 {

namespace {

constexpr std::string_view kRequestMagic = "q905-command-1";
constexpr std::string_view kAnswerMagic = "q905-answer-1";
// Far above any real command line or output; a peer sending more is not ours.
constexpr std::uint32_t kLongestString = 4u << 20;
constexpr std::uint32_t kMostArguments = 1024;
// A window busy with a long apply answers late; a peer that stops sending mid-request does
// not hold the window's command thread for ever.
constexpr int kReadTimeoutMs = 10000;

bool writeAll(int fd, const void* data, std::size_t size) {
    const char* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t written = ::send(fd, bytes, size, MSG_NOSIGNAL);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        bytes += written;
        size -= std::size_t(written);
    }
    return true;
}

bool readAll(int fd, void* data, std::size_t size, int timeoutMs) {
    char* bytes = static_cast<char*>(data);
    while (size > 0) {
        if (timeoutMs >= 0) {
            pollfd waiting{fd, POLLIN, 0};
            const int ready = ::poll(&waiting, 1, timeoutMs);
            if (ready < 0 && errno == EINTR)
                continue;
            if (ready <= 0)
                return false;
        }
        const ssize_t got = ::recv(fd, bytes, size, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            return false;
        bytes += got;
        size -= std::size_t(got);
    }
    return true;
}

bool writeString(int fd, std::string_view text) {
    const std::uint32_t size = std::uint32_t(text.size());
    return writeAll(fd, &size, sizeof size) && writeAll(fd, text.data(), text.size());
}

std::optional<std::string> readString(int fd, int timeoutMs) {
    std::uint32_t size = 0;
    if (!readAll(fd, &size, sizeof size, timeoutMs) || size > kLongestString)
        return std::nullopt;
    std::string text(size, '\0');
    if (!readAll(fd, text.data(), size, timeoutMs))
        return std::nullopt;
    return text;
}

sockaddr_un addressOf(const std::filesystem::path& socket, bool& fits) {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const std::string path = socket.string();
    fits = path.size() < sizeof address.sun_path;
    if (fits)
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
    return address;
}

} // namespace

std::filesystem::path commandSocketPath(const std::filesystem::path& keyboardLockFile) {
    std::filesystem::path socket = keyboardLockFile;
    socket += ".window";
    return socket;
}

std::optional<CommandAnswer> handToWindow(const std::filesystem::path& socket,
                                          const HandedCommand& command) {
    bool fits = false;
    const sockaddr_un address = addressOf(socket, fits);
    if (!fits)
        return std::nullopt;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return std::nullopt;
    if (::connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        ::close(fd);
        return std::nullopt;
    }
    bool sent = writeString(fd, kRequestMagic) && writeString(fd, command.dataFolder.string()) &&
                writeString(fd, command.workingFolder.string()) &&
                writeString(fd, std::to_string(command.arguments.size()));
    for (const std::string& argument : command.arguments)
        sent = sent && writeString(fd, argument);
    std::optional<CommandAnswer> answer;
    if (sent) {
        // The window answers once the command has run: no limit on the wait.
        const auto magic = readString(fd, -1);
        const auto code = readString(fd, -1);
        auto out = readString(fd, -1);
        auto err = readString(fd, -1);
        if (magic == kAnswerMagic && code && out && err) {
            answer = CommandAnswer{std::atoi(code->c_str()), std::move(*out), std::move(*err)};
        }
    }
    ::close(fd);
    return answer;
}

CommandListener::CommandListener(const std::filesystem::path& socket) : m_socket(socket) {
    bool fits = false;
    const sockaddr_un address = addressOf(socket, fits);
    if (!fits)
        return;
    std::error_code error;
    std::filesystem::create_directories(socket.parent_path(), error);
    ::chmod(socket.parent_path().c_str(), 0700);
    m_fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (m_fd < 0)
        return;
    // Only one window owns a keyboard; a socket left by one that was killed is stale.
    ::unlink(socket.c_str());
    if (::bind(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_fd, 8) != 0) {
        ::close(m_fd);
        m_fd = -1;
        return;
    }
    ::chmod(socket.c_str(), 0600);
}

CommandListener::~CommandListener() {
    if (m_fd < 0)
        return;
    ::close(m_fd);
    ::unlink(m_socket.c_str());
}

int CommandListener::accept() {
    if (m_fd < 0)
        return -1;
    const int connection = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC);
    if (connection < 0)
        return -1;
    ucred peer{};
    socklen_t size = sizeof peer;
    if (::getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 ||
        peer.uid != ::getuid()) {
        ::close(connection);
        return -1;
    }
    return connection;
}

std::optional<HandedCommand> readCommand(int connection) {
    const auto magic = readString(connection, kReadTimeoutMs);
    const auto dataFolder = readString(connection, kReadTimeoutMs);
    const auto workingFolder = readString(connection, kReadTimeoutMs);
    const auto count = readString(connection, kReadTimeoutMs);
    if (magic != kRequestMagic || !dataFolder || !workingFolder || !count)
        return std::nullopt;
    char* end = nullptr;
    const unsigned long arguments = std::strtoul(count->c_str(), &end, 10);
    if (count->empty() || *end != '\0' || arguments > kMostArguments)
        return std::nullopt;
    HandedCommand command{*dataFolder, *workingFolder, {}};
    for (unsigned long i = 0; i < arguments; ++i) {
        auto argument = readString(connection, kReadTimeoutMs);
        if (!argument)
            return std::nullopt;
        command.arguments.push_back(std::move(*argument));
    }
    return command;
}

bool writeAnswer(int connection, const CommandAnswer& answer) {
    return writeString(connection, kAnswerMagic) &&
           writeString(connection, std::to_string(answer.exitCode)) &&
           writeString(connection, answer.out) && writeString(connection, answer.err);
}

} // namespace q905
