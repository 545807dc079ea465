// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs the q905ctl binary in a scratch folder of its own, as a user would from a shell.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace q905::testing {

struct CtlResult {
    int exitCode = -1;
    std::string out;
    std::string err;
};

class CtlRunner {
  public:
    CtlRunner() {
        m_folder = std::filesystem::temp_directory_path() /
                   ("q905ctl-test-" + std::to_string(::getpid()) + "-" + std::to_string(s_next++));
        std::filesystem::remove_all(m_folder);
        std::filesystem::create_directories(m_folder);
    }
    ~CtlRunner() { std::filesystem::remove_all(m_folder); }

    const std::filesystem::path& folder() const { return m_folder; }
    std::filesystem::path file(const std::string& name) const { return m_folder / name; }

    // Arguments are passed through the shell; keep them free of single quotes. prefix runs in
    // the same shell first (a limit, say).
    CtlResult run(const std::string& arguments, const std::string& prefix = {}) const {
        const std::string command = "cd '" + m_folder.string() + "' && " + prefix +
                                    "'" Q905_CTL_PATH "' " + arguments + " >out.txt 2>err.txt";
        const int status = std::system(command.c_str());
        CtlResult result;
        result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.out = read("out.txt");
        result.err = read("err.txt");
        return result;
    }

    // The emulated keyboard with its memory in mem.bin and the host files in data/.
    CtlResult simulate(const std::string& arguments) const {
        return run("--simulate=mem.bin --simulate-latency 0 --data-dir data " + arguments);
    }

    std::string read(const std::string& name) const {
        std::ifstream in(m_folder / name, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

  private:
    static inline int s_next = 0;
    std::filesystem::path m_folder;
};

} // namespace q905::testing
