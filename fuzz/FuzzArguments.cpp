// SPDX-License-Identifier: GPL-3.0-or-later
// q905ctl's arguments: NUL-separated words through the option parser and the parsers of keys,
// key codes and faults.

#include "app/ProgramOptions.h"
#include "cli/KeyArguments.h"
#include "emulator/Fault.h"

#include <string>
#include <vector>

using namespace q905;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> words(1);
    for (std::size_t i = 0; i < size && words.size() < 64; ++i) {
        if (data[i] == 0)
            words.emplace_back();
        else
            words.back() += static_cast<char>(data[i]);
    }
    const ParseResult parsed = parseCliOptions(words);
    for (const std::string& word : words) {
        (void)parseFault(word);
        (void)parseKey(word);
        (void)parseKeyCode(word);
    }
    (void)parsed;
    return 0;
}
