// SPDX-License-Identifier: GPL-3.0-or-later
// Desktop entries read the way desktops read them: what is started, with which arguments, and
// which entries start nothing.
#include "platform/DesktopEntry.h"

#include <gtest/gtest.h>

namespace q905 {
namespace {

std::variant<DesktopEntryCommand, DesktopEntryProblem> read(const std::string& text) {
    return readDesktopEntry(text, "/apps/x.desktop", [](const std::string& name) {
        return name == "present" ? "/usr/bin/present" : std::string();
    });
}

std::vector<std::string> arguments(const std::string& text) {
    const auto entry = read(text);
    if (!std::holds_alternative<DesktopEntryCommand>(entry)) {
        ADD_FAILURE() << "no command from:\n" << text;
        return {};
    }
    return std::get<DesktopEntryCommand>(entry).arguments;
}

using Args = std::vector<std::string>;

TEST(DesktopEntry, ExecIsSplitUnquotedAndItsFieldCodesExpandedForAStartWithoutFiles) {
    const std::string head = "[Desktop Entry]\nType=Application\nName=Viewer\nIcon=viewer\n";
    EXPECT_EQ(arguments(head + "Exec=viewer --new %U\n"), (Args{"viewer", "--new"}));
    // A Flatpak launcher: its file-forwarding marks stay, the URL list goes.
    EXPECT_EQ(arguments(head + "Exec=/usr/bin/flatpak run --branch=stable --command=v "
                               "org.example.V @@u %U @@\n"),
              (Args{"/usr/bin/flatpak", "run", "--branch=stable", "--command=v", "org.example.V",
                    "@@u", "@@"}));
    EXPECT_EQ(arguments(head + "Exec=\"/opt/My Apps/view\" \"say \\\\\"hi\\\\\" \\\\$HOME\"\n"),
              (Args{"/opt/My Apps/view", "say \"hi\" $HOME"}));
    EXPECT_EQ(arguments(head + "Exec=viewer %i --title=%c %k 100%% %f%F\n"),
              (Args{"viewer", "--icon", "viewer", "--title=Viewer", "/apps/x.desktop", "100%"}));
    // The value is unescaped first and split after: \s separates.
    EXPECT_EQ(arguments(head + "Exec=viewer\\sone\n"), (Args{"viewer", "one"}));
    // The entry's own group counts, not a later action's; localised keys do not replace it.
    EXPECT_EQ(arguments(head + "Exec[de]=falsch\nExec=viewer\n[Desktop Action New]\nExec=other\n"),
              (Args{"viewer"}));
    EXPECT_EQ(arguments(head + "Exec=top\nTerminal=true\n"),
              (Args{"x-terminal-emulator", "-e", "top"}));

    const auto withFolder = read(head + "Exec=viewer\nPath=/srv/work\n");
    ASSERT_TRUE(std::holds_alternative<DesktopEntryCommand>(withFolder));
    EXPECT_EQ(std::get<DesktopEntryCommand>(withFolder).workingFolder, "/srv/work");
}

TEST(DesktopEntry, EntriesThatStartNothingAreToldApart) {
    const auto problem = [](const std::string& text) {
        const auto entry = read(text);
        return std::holds_alternative<DesktopEntryProblem>(entry)
                   ? std::optional(std::get<DesktopEntryProblem>(entry))
                   : std::nullopt;
    };
    const std::string app = "[Desktop Entry]\nType=Application\n";
    EXPECT_EQ(problem(app + "TryExec=absent\nExec=absent\n"), DesktopEntryProblem::ProgramMissing);
    EXPECT_EQ(problem(app + "TryExec=present\nExec=present\n"), std::nullopt);
    for (const std::string& text :
         {std::string("Exec=viewer\n"),                                         // no group
          std::string("[Desktop Entry]\nType=Link\nURL=https://example.org\n"), // not a program
          app + "Hidden=true\nExec=viewer\n", // deleted by the user
          app + "Name=No command\n",          // no Exec
          app + "Exec=\"viewer\n",            // quote never closed
          app + "Exec=viewer %z\n",           // unknown field code
          app + "Exec=%U\n"})                 // nothing left to start
        EXPECT_EQ(problem(text), DesktopEntryProblem::NotAnApplication) << text;
}

} // namespace
} // namespace q905
