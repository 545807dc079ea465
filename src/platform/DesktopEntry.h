// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command a desktop entry (.desktop file) starts, read the way desktops read it: the
// [Desktop Entry] group, its Exec line unquoted and its field codes expanded for a start
// without files, TryExec, Path and Terminal.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace q905 {

struct DesktopEntryCommand {
    std::vector<std::string> arguments; // the program first
    std::string workingFolder;          // Path=; empty when the entry names none
};

enum class DesktopEntryProblem {
    NotAnApplication, // no [Desktop Entry], not Type=Application, Hidden, no or broken Exec
    ProgramMissing,   // TryExec names a program that is not there
};

// text: the file's contents; entryPath: where it lies (for %k). findProgram answers where a
// program name is found on the search path (empty: nowhere), for TryExec.
std::variant<DesktopEntryCommand, DesktopEntryProblem>
readDesktopEntry(std::string_view text, const std::string& entryPath,
                 const std::function<std::string(const std::string&)>& findProgram);

// Whether a file name is a desktop entry's.
bool isDesktopEntryName(std::string_view fileName);

} // namespace q905
