#include "cli/Command.h"

#include <array>
#include <ostream>

namespace q905 {

int runList(CliContext&, std::span<const std::string>);
int runRead(CliContext&, std::span<const std::string>);
int runReset(CliContext&, std::span<const std::string>);

namespace {
const std::array kCommands{
    CommandInfo{"list", "list                      the keyboard's HID interfaces and their paths",
                runList},
    CommandInfo{"read", "read                      read the keyboard; print its firmware and settings",
                runRead},
    CommandInfo{"reset", "reset                     restore the keyboard's factory settings",
                runReset},
};
} // namespace

std::span<const CommandInfo> allCommands() { return kCommands; }

void printUsage(std::ostream& out) {
    out << "usage: q905ctl [options] COMMAND [arguments]\n\ncommands:\n";
    for (const CommandInfo& command : allCommands())
        out << "  " << command.usage << '\n';
    out << "\noptions:\n"
           "  --simulate[=FILE]          use the emulated keyboard; FILE keeps its memory\n"
           "  --simulate-firmware M.N    firmware version of the emulated keyboard\n"
           "  --trace FILE               append every transfer and wait to FILE\n"
           "  --data-dir DIR             folder of keymap.bin, MacroDefine.bin and Configure\n"
           "  --help                     this text\n";
}

} // namespace q905
