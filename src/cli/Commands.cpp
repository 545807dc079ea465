// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/Command.h"

#include <array>
#include <ostream>

namespace q905 {

int runList(CliContext&, std::span<const std::string>);
int runRead(CliContext&, std::span<const std::string>);
int runReset(CliContext&, std::span<const std::string>);
int runAssign(CliContext&, std::span<const std::string>);
int runDisable(CliContext&, std::span<const std::string>);
int runEnable(CliContext&, std::span<const std::string>);
int runProfile(CliContext&, std::span<const std::string>);
int runMacro(CliContext&, std::span<const std::string>);
int runDump(CliContext&, std::span<const std::string>);
int runSet(CliContext&, std::span<const std::string>);
int runAutostart(CliContext&, std::span<const std::string>);

namespace {
const std::array kCommands{
    CommandInfo{"list", "list                      the keyboard's HID interfaces and their paths",
                runList},
    CommandInfo{"read",
                "read                      read the keyboard; print its firmware and settings",
                runRead},
    CommandInfo{"reset", "reset                     restore the keyboard's factory settings",
                runReset},
    CommandInfo{"dump", "dump [--json]             everything the keyboard and this computer hold",
                runDump},
    CommandInfo{"set", "set FIELD=VALUE ...       lighting and device settings (see the README)",
                runSet},
    CommandInfo{"assign",
                "assign KEY single CODE | combo CODE+CODE[+CODE] | function NAME | macro N |\n"
                "         launch music|program|file|folder PATH | default | reset\n"
                "                            what a key does",
                runAssign},
    CommandInfo{"disable", "disable KEY               switch a key off", runDisable},
    CommandInfo{"enable", "enable KEY                switch a key on again", runEnable},
    CommandInfo{"profile",
                "profile export FILE | import FILE [--accept-launch-actions] | rename NAME |\n"
                "         show\n"
                "                            save, load or name the whole state as a profile",
                runProfile},
    CommandInfo{
        "macro",
        "macro list | show N | new NAME ROW... | set N ROW... | rename N NAME |\n"
        "         loop N COUNT | delete N\n"
        "                            the macros and their events; ROW as show prints it:\n"
        "                            \"A dn\", \"A up\", \"50 ms\" (the wait before the next)",
        runMacro},
    CommandInfo{"autostart", "autostart on|off|show     start q905 in the background at login",
                runAutostart},
};
} // namespace

std::span<const CommandInfo> allCommands() {
    return kCommands;
}

void printUsage(std::ostream& out) {
    out << "usage: q905ctl [options] COMMAND [arguments]\n\n"
           "KEY is a key index 0..112 or a key label; CODE a key code (0x41, 65) or a key name.\n"
           "\ncommands:\n";
    for (const CommandInfo& command : allCommands())
        out << "  " << command.usage << '\n';
    out << "\noptions:\n"
           "  --simulate[=FILE]          use the emulated keyboard; FILE keeps its memory\n"
           "  --simulate-firmware M.N    firmware version of the emulated keyboard\n"
           "  --simulate-latency US      time each emulated transfer takes (default 1000)\n"
           "  --simulate-fault FAULT     unplug@N, fail@N, no-ack, silent, stray-report@N or\n"
           "                             replug@N[:MS][xK] (repeatable; see q905ctl(1))\n"
           "  --trace FILE               append every transfer and wait to FILE\n"
           "  --data-dir DIR             folder of keymap.bin, MacroDefine.bin and Configure\n"
           "  --wait SECONDS             how long to wait for another q905ctl to let go of the\n"
           "                             keyboard (default 10)\n"
           "  --no-apply                 change only the files on this computer, not the keyboard\n"
           "  --json                     dump as one JSON object\n"
           "  --accept-launch-actions    profile import: take over keys that open programs,\n"
           "                             files or folders\n"
           "  --help                     this text\n"
           "  --version                  the version of q905ctl\n";
}

} // namespace q905
