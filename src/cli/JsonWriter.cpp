#include "cli/JsonWriter.h"

#include <cstdio>

namespace q905 {

std::string JsonWriter::quote(std::string_view text) {
    std::string result = "\"";
    for (const char c : text) {
        switch (c) {
        case '"':
            result += "\\\"";
            break;
        case '\\':
            result += "\\\\";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                char escaped[8];
                std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
                result += escaped;
            } else {
                result += c;
            }
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
