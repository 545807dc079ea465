// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/JsonWriter.h"

#include "base/TextSafety.h"

#include <cstdio>

namespace q905 {

std::string JsonWriter::quote(std::string_view input) {
    // Bytes that are not UTF-8 would make the whole output invalid: they are shown as \xNN.
    const std::string escaped = isValidUtf8(input) ? std::string() : escapeForTerminal(input);
    const std::string_view text = escaped.empty() ? input : std::string_view(escaped);
    std::string result = "\"";
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        const bool c1 =
            c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) < 0xA0;
        if (c == '"') {
            result += "\\\"";
        } else if (c == '\\') {
            result += "\\\\";
        } else if (c == '\n') {
            result += "\\n";
        } else if (c == '\t') {
            result += "\\t";
        } else if (c < 0x20 || c == 0x7F || c1) {
            // Control characters, C1 ones included, never reach a terminal raw.
            const unsigned code = c1 ? static_cast<unsigned char>(text[++i]) : c;
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\u%04x", code);
            result += hex;
        } else {
            result += static_cast<char>(c);
        }
    }
    return result + "\"";
}

void JsonWriter::separate(std::string_view key) {
    if (!m_first.back())
        m_out << ',';
    m_first.back() = false;
    if (!key.empty())
        m_out << quote(key) << ':';
}

JsonWriter& JsonWriter::open(std::string_view key, char bracket) {
    separate(key);
    m_out << bracket;
    m_first.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    m_first.pop_back();
    m_out << bracket;
    if (m_first.size() == 1)
        m_out << '\n';
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view key, std::string_view text) {
    separate(key);
    m_out << quote(text);
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view key, long number) {
    separate(key);
    m_out << number;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view key, bool flag) {
    separate(key);
    m_out << (flag ? "true" : "false");
    return *this;
}

} // namespace q905
