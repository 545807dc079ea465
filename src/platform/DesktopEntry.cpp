// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/DesktopEntry.h"

#include <map>
#include <utility>

namespace q905 {

namespace {

constexpr std::string_view kGroup = "[Desktop Entry]";
// Run in a terminal: Debian's alternative for the user's terminal takes "-e COMMAND ARGS".
constexpr std::string_view kTerminal = "x-terminal-emulator";

std::string_view trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}

// The keys of the [Desktop Entry] group; localised keys ("Name[de]") are left out.
std::optional<std::map<std::string, std::string, std::less<>>> mainGroup(std::string_view text) {
    std::map<std::string, std::string, std::less<>> keys;
    bool inGroup = false, seen = false;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const std::string_view line = trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty() || line.front() == '#')
            continue;
        if (line.front() == '[') {
            inGroup = line == kGroup && !seen;
            seen = seen || inGroup;
            continue;
        }
        const auto equals = line.find('=');
        if (!inGroup || equals == std::string_view::npos)
            continue;
        const std::string_view key = trim(line.substr(0, equals));
        // The first of a repeated key counts.
        if (key.find('[') == std::string_view::npos)
            keys.emplace(std::string(key), std::string(trim(line.substr(equals + 1))));
    }
    if (!seen)
        return std::nullopt;
    return keys;
}

// A value of type string: \s, \n, \t, \r and \\ stand for what they name.
std::string unescapeValue(std::string_view value) {
    std::string out;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] != '\\' || i + 1 == value.size()) {
            out += value[i];
            continue;
        }
        switch (const char next = value[++i]) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\', out += next;
            break;
        }
    }
    return out;
}

struct Word {
    std::string text;
    bool quoted = false;
};

// Blanks separate arguments; within double quotes \", \`, \$ and \\ stand for the character.
std::optional<std::vector<Word>> splitExec(std::string_view exec) {
    std::vector<Word> words;
    std::optional<Word> word;
    for (std::size_t i = 0; i < exec.size(); ++i) {
        const char c = exec[i];
        if (c == ' ' || c == '\t') {
            if (word)
                words.push_back(*std::exchange(word, std::nullopt));
            continue;
        }
        if (!word)
            word.emplace();
        if (c != '"') {
            word->text += c;
            continue;
        }
        word->quoted = true;
        for (++i;; ++i) {
            if (i == exec.size())
                return std::nullopt; // no closing quote
            if (exec[i] == '"')
                break;
            if (exec[i] == '\\' && i + 1 < exec.size() &&
                std::string_view("\"`$\\").find(exec[i + 1]) != std::string_view::npos)
                ++i;
            word->text += exec[i];
        }
    }
    if (word)
        words.push_back(*word);
    return words;
}

// The field codes for a start with no files: file and URL lists vanish, %i, %c and %k name the
// entry. Quoted arguments are taken as written.
std::optional<std::vector<std::string>>
expandFieldCodes(const std::vector<Word>& words,
                 const std::map<std::string, std::string, std::less<>>& keys,
                 const std::string& entryPath) {
    const auto value = [&keys](std::string_view key) {
        const auto found = keys.find(key);
        return found == keys.end() ? std::string() : unescapeValue(found->second);
    };
    std::vector<std::string> arguments;
    for (const Word& word : words) {
        if (word.quoted) {
            arguments.push_back(word.text);
            continue;
        }
        if (word.text == "%i") {
            if (const std::string icon = value("Icon"); !icon.empty()) {
                arguments.push_back("--icon");
                arguments.push_back(icon);
            }
            continue;
        }
        if (word.text == "%f" || word.text == "%F" || word.text == "%u" || word.text == "%U")
            continue;
        std::string expanded;
        for (std::size_t i = 0; i < word.text.size(); ++i) {
            if (word.text[i] != '%') {
                expanded += word.text[i];
                continue;
            }
            if (++i == word.text.size())
                return std::nullopt;
            switch (word.text[i]) {
            case '%':
                expanded += '%';
                break;
            case 'c':
                expanded += value("Name");
                break;
            case 'k':
                expanded += entryPath;
                break;
            // Files, URLs and the deprecated codes expand to nothing here.
            case 'f':
            case 'F':
            case 'u':
            case 'U':
            case 'd':
            case 'D':
            case 'n':
            case 'N':
            case 'v':
            case 'm':
            case 'i':
                break;
            default:
                return std::nullopt;
            }
        }
        if (!expanded.empty())
            arguments.push_back(std::move(expanded));
    }
    return arguments;
}

} // namespace

bool isDesktopEntryName(std::string_view fileName) {
    return fileName.size() > 8 && fileName.ends_with(".desktop");
}

std::variant<DesktopEntryCommand, DesktopEntryProblem>
readDesktopEntry(std::string_view text, const std::string& entryPath,
                 const std::function<std::string(const std::string&)>& findProgram) {
    const auto keys = mainGroup(text);
    if (!keys)
        return DesktopEntryProblem::NotAnApplication;
    const auto value = [&keys](std::string_view key) {
        const auto found = keys->find(key);
        return found == keys->end() ? std::string() : unescapeValue(found->second);
    };
    if (value("Type") != "Application" || value("Hidden") == "true")
        return DesktopEntryProblem::NotAnApplication;
    if (const std::string tryExec = value("TryExec");
        !tryExec.empty() && findProgram(tryExec).empty())
        return DesktopEntryProblem::ProgramMissing;
    const auto words = splitExec(value("Exec"));
    if (!words)
        return DesktopEntryProblem::NotAnApplication;
    auto arguments = expandFieldCodes(*words, *keys, entryPath);
    if (!arguments || arguments->empty())
        return DesktopEntryProblem::NotAnApplication;
    DesktopEntryCommand command;
    if (value("Terminal") == "true")
        command.arguments = {std::string(kTerminal), "-e"};
    command.arguments.insert(command.arguments.end(), arguments->begin(), arguments->end());
    command.workingFolder = value("Path");
    return command;
}

} // namespace q905
