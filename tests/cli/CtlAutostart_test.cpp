// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl autostart: the entry where desktops look for it, its state read from the file (so an
// entry removed or switched off by hand counts), and what the window's tray shares with it.
#include "app/Autostart.h"
#include "cli/CtlRunner.h"

#include <gtest/gtest.h>

#include <fstream>

namespace q905 {
namespace {

using testing::CtlRunner;

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

TEST(CtlAutostart, OnWritesTheEntryOffRemovesItAndShowReadsTheFile) {
    CtlRunner ctl;
    const std::string config = "XDG_CONFIG_HOME='" + ctl.file("config").string() + "' ";
    const auto entry = ctl.folder() / "config" / "autostart" / "io.github.q905.q905.desktop";

    EXPECT_EQ(ctl.run("autostart show", config).out.substr(0, 4), "off ");
    const auto on = ctl.run("autostart on", config);
    ASSERT_EQ(on.exitCode, 0) << on.err;
    EXPECT_TRUE(autostartEnabled(entry));
    EXPECT_NE(
        ctl.read("config/autostart/io.github.q905.q905.desktop").find("\nExec=q905 --background\n"),
        std::string::npos);
    EXPECT_EQ(ctl.run("autostart show", config).out, "on  (" + entry.string() + ")\n");

    // Removed by hand, or switched off by a desktop's session settings: off.
    std::filesystem::remove(entry);
    EXPECT_EQ(ctl.run("autostart show", config).out.substr(0, 4), "off ");
    EXPECT_EQ(ctl.run("autostart off", config).exitCode, 0);
    EXPECT_EQ(ctl.run("autostart on", config).exitCode, 0);
    EXPECT_EQ(ctl.run("autostart off", config).exitCode, 0);
    EXPECT_FALSE(std::filesystem::exists(entry));

    // Without an absolute XDG_CONFIG_HOME, under ~/.config.
    EXPECT_EQ(ctl.run("autostart on", "HOME='" + ctl.folder().string() + "' XDG_CONFIG_HOME=rel ")
                  .exitCode,
              0);
    EXPECT_TRUE(
        autostartEnabled(ctl.folder() / ".config" / "autostart" / "io.github.q905.q905.desktop"));

    const auto bad = ctl.run("autostart maybe", config);
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_NE(bad.err.find("autostart takes on, off or show"), std::string::npos);
    // A folder that cannot be made is a failure said plainly, not success.
    writeText(ctl.file("blocked"), "");
    const auto blocked =
        ctl.run("autostart on", "XDG_CONFIG_HOME='" + ctl.file("blocked").string() + "' ");
    EXPECT_EQ(blocked.exitCode, 1);
    EXPECT_NE(blocked.err.find("cannot create"), std::string::npos) << blocked.err;
}

TEST(Autostart, AnEntrySwitchedOffOrNotAFileIsOff) {
    CtlRunner scratch;
    const auto entry = scratch.file("q905.desktop");
    const std::string head = "[Desktop Entry]\nType=Application\nExec=q905 --background\n";
    writeText(entry, head + "Hidden=true\n");
    EXPECT_FALSE(autostartEnabled(entry));
    writeText(entry, head + "X-GNOME-Autostart-enabled = false\n");
    EXPECT_FALSE(autostartEnabled(entry));
    // Only the entry's own group counts.
    writeText(entry, head + "[Desktop Action Quit]\nHidden=true\n");
    EXPECT_TRUE(autostartEnabled(entry));
    std::filesystem::remove(entry);
    std::filesystem::create_directory(entry);
    EXPECT_FALSE(autostartEnabled(entry));
}

} // namespace
} // namespace q905
