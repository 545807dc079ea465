// SPDX-License-Identifier: GPL-3.0-or-later
// The keyboard's lock outside a login session: the folder under /tmp has a name anyone can
// guess, so whatever another user put there first is refused, and nothing is written through it.

#include "platform/KeyboardLock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include <sys/stat.h>
#include <unistd.h>

namespace q905 {
namespace {

namespace fs = std::filesystem;

// XDG_RUNTIME_DIR unset and the temporary folder one of the test's own, for one test.
class NoRuntimeDir : public ::testing::Test {
  protected:
    void SetUp() override {
        if (const char* xdg = std::getenv("XDG_RUNTIME_DIR"))
            m_runtime = xdg;
        if (const char* tmp = std::getenv("TMPDIR"))
            m_tmp = tmp;
        m_root = fs::temp_directory_path() / ("q905-lock-test-" + std::to_string(::getpid()));
        fs::remove_all(m_root);
        fs::create_directories(m_root);
        ::unsetenv("XDG_RUNTIME_DIR");
        ::setenv("TMPDIR", m_root.c_str(), 1);
        m_folder = m_root / ("q905-" + std::to_string(::getuid()));
    }
    void TearDown() override {
        if (m_runtime)
            ::setenv("XDG_RUNTIME_DIR", m_runtime->c_str(), 1);
        if (m_tmp)
            ::setenv("TMPDIR", m_tmp->c_str(), 1);
        else
            ::unsetenv("TMPDIR");
        fs::remove_all(m_root);
    }
    static std::string read(const fs::path& file) {
        std::ifstream in(file);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    Status acquire(KeyboardLock& lock) { return lock.acquire(std::chrono::milliseconds(0)); }

    std::optional<std::string> m_runtime, m_tmp;
    fs::path m_root, m_folder;
};

TEST_F(NoRuntimeDir, MakesAPrivateFolderAndTellsAWaiterWhoHoldsIt) {
    const auto file = KeyboardLock::lockFile(false, {});
    ASSERT_TRUE(file);
    EXPECT_EQ(file->parent_path(), m_folder);
    KeyboardLock first(*file, "first");
    ASSERT_TRUE(acquire(first).ok());
    struct stat info {};
    ASSERT_EQ(::lstat(m_folder.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    KeyboardLock second(*file, "second");
    const Status busy = acquire(second);
    EXPECT_EQ(busy.message(),
              "the keyboard is in use by first (pid " + std::to_string(::getpid()) + ")");
    first.release();
    EXPECT_TRUE(acquire(second).ok());
}

TEST_F(NoRuntimeDir, APlantedLinkIsNeverFollowed) {
    // Another user's folder, linked where ours would be made.
    const fs::path elsewhere = m_root / "victim";
    fs::create_directories(elsewhere);
    fs::create_directory_symlink(elsewhere, m_folder);
    KeyboardLock lock(*KeyboardLock::lockFile(false, {}), "q905ctl");
    const Status refused = acquire(lock);
    EXPECT_FALSE(refused.ok());
    EXPECT_NE(refused.message().find("XDG_RUNTIME_DIR"), std::string::npos) << refused.message();
    EXPECT_TRUE(fs::is_empty(elsewhere));

    // Inside our own folder, a link at the lock's name to a file of the user's.
    fs::remove(m_folder);
    fs::create_directory(m_folder, m_root);
    ::chmod(m_folder.c_str(), 0700);
    const fs::path precious = m_root / "precious.txt";
    std::ofstream(precious) << "keep me";
    fs::create_symlink(precious, m_folder / "keyboard.lock");
    EXPECT_FALSE(acquire(lock).ok());
    EXPECT_EQ(read(precious), "keep me");
}

TEST_F(NoRuntimeDir, AFolderOfAnotherUserIsRefused) {
    if (::geteuid() != 0)
        GTEST_SKIP() << "giving a folder to another user needs root";
    fs::create_directory(m_folder);
    ASSERT_EQ(::chown(m_folder.c_str(), 65534, 65534), 0);
    KeyboardLock lock(*KeyboardLock::lockFile(true, m_root / "mem.bin"), "q905ctl");
    const Status refused = acquire(lock);
    EXPECT_NE(refused.message().find("belongs to another user"), std::string::npos)
        << refused.message();
    EXPECT_TRUE(fs::is_empty(m_folder));
}

} // namespace
} // namespace q905
