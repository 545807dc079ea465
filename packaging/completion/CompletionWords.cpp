// SPDX-License-Identifier: GPL-3.0-or-later
// Writes the bash completion of q905ctl: the template with its word lists filled in from the
// key table and the key names, so the completion offers exactly what q905ctl accepts.

#include "cli/KeyArguments.h"
#include "keys/KeyTable.h"
#include "macros/KeyNameTable.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iostream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <variant>

namespace {

// One bash word in single quotes; a quote inside becomes '\''.
std::string quoted(std::string_view word) {
    std::string out = "'";
    for (char c : word)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

std::string trimmed(const std::string& name) {
    const auto end = name.find_last_not_of(' ');
    return end == std::string::npos ? std::string() : name.substr(0, end + 1);
}

std::string lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

// Only words the command line takes for what they say: "7" is a key index and "Shift" fits two
// keys, so neither is offered; "Digit7" reaches the key that types 7.
bool reachesItsKey(const std::string& word) {
    const auto parsed = q905::parseKey(word);
    if (!std::holds_alternative<int>(parsed))
        return false;
    const q905::KeyEntry& key = q905::KeyTable[static_cast<std::size_t>(std::get<int>(parsed))];
    return lower(word).starts_with(q905::kDigitKeyPrefix) || lower(key.label) == lower(word) ||
           lower(trimmed(q905::nameOf(key.keyCode))) == lower(word);
}

bool reachesItsCode(const std::string& word) {
    const auto parsed = q905::parseKeyCode(word);
    if (!std::holds_alternative<std::uint8_t>(parsed))
        return false;
    return lower(word).starts_with(q905::kDigitKeyPrefix) ||
           lower(trimmed(q905::nameOf(std::get<std::uint8_t>(parsed)))) == lower(word);
}

std::string bashArray(const std::set<std::string>& words) {
    std::string out = "(";
    for (const std::string& word : words)
        out += (out.size() > 1 ? " " : "") + quoted(word);
    return out + ")";
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: q905_completion_words TEMPLATE OUTPUT\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) {
        std::cerr << "cannot read " << argv[1] << '\n';
        return 1;
    }
    std::set<std::string> keyWords, codeWords;
    for (const q905::KeyEntry& key : q905::KeyTable) {
        keyWords.emplace(key.label);
        if (key.isPlaced())
            keyWords.emplace(trimmed(q905::nameOf(key.keyCode)));
    }
    for (int code = 0; code < 256; ++code) {
        // Names with blanks inside are accepted but awkward to type; offer the one-word ones.
        const std::string name = trimmed(q905::nameOf(static_cast<std::uint8_t>(code)));
        if (name.find(' ') == std::string::npos)
            codeWords.insert(name);
    }
    for (char digit = '0'; digit <= '9'; ++digit) {
        std::string word = "Digit";
        word += digit;
        keyWords.insert(word);
        codeWords.insert(word);
    }
    std::set<std::string> labels, assignable, names;
    std::ranges::copy_if(keyWords, std::inserter(labels, labels.end()), reachesItsKey);
    // Both Ctrl keys, Win and Fn can be disabled but keep their function: assign refuses them.
    std::ranges::copy_if(labels, std::inserter(assignable, assignable.end()),
                         [](const std::string& word) {
                             return !q905::isFixedKey(std::get<int>(q905::parseKey(word)));
                         });
    std::ranges::copy_if(codeWords, std::inserter(names, names.end()), reachesItsCode);
    std::string result = text.str();
    const auto fill = [&](const std::string& marker, const std::string& value) {
        for (auto at = result.find(marker); at != std::string::npos; at = result.find(marker))
            result.replace(at, marker.size(), value);
    };
    fill("@KEY_LABELS@", bashArray(labels));
    fill("@ASSIGNABLE_KEY_LABELS@", bashArray(assignable));
    fill("@KEY_NAMES@", bashArray(names));
    std::ofstream out(argv[2]);
    out << result;
    return out ? 0 : 1;
}
