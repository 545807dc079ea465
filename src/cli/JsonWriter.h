// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Just enough JSON for `dump --json`: objects, arrays, strings, numbers and booleans, written
// in order with correct commas and string escapes.

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace q905 {

class JsonWriter {
  public:
    explicit JsonWriter(std::ostream& out) : m_out(out) {}

    JsonWriter& beginObject(std::string_view key = {}) { return open(key, '{'); }
    JsonWriter& endObject() { return close('}'); }
    JsonWriter& beginArray(std::string_view key = {}) { return open(key, '['); }
    JsonWriter& endArray() { return close(']'); }
    JsonWriter& value(std::string_view key, std::string_view text);
    JsonWriter& value(std::string_view key, const char* text) {
        return value(key, std::string_view(text));
    }
    JsonWriter& value(std::string_view key, long number);
    JsonWriter& value(std::string_view key, bool flag);

    static std::string quote(std::string_view text);

  private:
    JsonWriter& open(std::string_view key, char bracket);
    JsonWriter& close(char bracket);
    void separate(std::string_view key);

    std::ostream& m_out;
    std::vector<bool> m_first{true};
};

} // namespace q905
