// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// How q905ctl hands its command to a running window that owns the keyboard: a Unix socket
// beside the keyboard's lock, one command per connection. The request carries the data folder,
// the working folder and the arguments; the answer the exit code and what the command printed.

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace q905 {

struct HandedCommand {
    std::filesystem::path dataFolder;    // the command's; a window of another one declines
    std::filesystem::path workingFolder; // relative paths in the arguments are q905ctl's
    std::vector<std::string> arguments;  // as q905ctl was given them
};

struct CommandAnswer {
    // kDeclined: the window does not serve this data folder; q905ctl goes on by itself.
    static constexpr int kDeclined = -1;
    int exitCode = kDeclined;
    std::string out;
    std::string err;
};

std::filesystem::path commandSocketPath(const std::filesystem::path& keyboardLockFile);

// The window's answer; nullopt when no window listens there (or it went away mid-way).
std::optional<CommandAnswer> handToWindow(const std::filesystem::path& socket,
                                          const HandedCommand& command);

// The window's side: a listening socket, and the reading and writing of one connection.
class CommandListener {
  public:
    // A stale socket of a window that is gone is replaced.
    explicit CommandListener(const std::filesystem::path& socket);
    ~CommandListener();
    CommandListener(const CommandListener&) = delete;
    CommandListener& operator=(const CommandListener&) = delete;

    bool listening() const { return m_fd >= 0; }
    int fd() const { return m_fd; }
    // A waiting connection from a process of this user; -1 when none.
    int accept();

  private:
    std::filesystem::path m_socket;
    int m_fd = -1;
};

// Reads one request; nullopt for anything malformed or oversized.
std::optional<HandedCommand> readCommand(int connection);
bool writeAnswer(int connection, const CommandAnswer& answer);

} // namespace q905
