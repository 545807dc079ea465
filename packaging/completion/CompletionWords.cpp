// Writes the bash completion of q905ctl: the template with its word lists filled in from the
// key table and the key names, so the completion offers exactly what q905ctl accepts.

#include "keys/KeyTable.h"
#include "macros/KeyNameTable.h"

#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>

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
    std::set<std::string> labels, names;
    for (const q905::KeyEntry& key : q905::KeyTable)
        if (!key.label.empty())
            labels.emplace(key.label);
    for (int code = 0; code < 256; ++code) {
        // Names with blanks inside are accepted but awkward to type; offer the one-word ones.
        const std::string name = trimmed(q905::nameOf(static_cast<std::uint8_t>(code)));
        if (!name.empty() && name.find(' ') == std::string::npos)
            names.insert(name);
    }
    std::string result = text.str();
    const auto fill = [&](const std::string& marker, const std::string& value) {
        for (auto at = result.find(marker); at != std::string::npos; at = result.find(marker))
            result.replace(at, marker.size(), value);
    };
    fill("@KEY_LABELS@", bashArray(labels));
    fill("@KEY_NAMES@", bashArray(names));
    std::ofstream out(argv[2]);
    out << result;
    return out ? 0 : 1;
}
