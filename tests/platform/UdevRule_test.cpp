// SPDX-License-Identifier: GPL-3.0-or-later
// The udev rule shipped in packaging/, matched the way udev matches it against the fake sysfs
// tree: every ATTRS key of one rule on the same device (the node itself or one parent), ENV
// keys against what earlier rules set, "|" separating alternatives of a glob.

#include <gtest/gtest.h>

#include <filesystem>
#include <fnmatch.h>
#include <fstream>
#include <map>
#include <optional>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace q905 {
namespace {

namespace fs = std::filesystem;

struct Key {
    std::string name, attribute, op, value;
};
using Rule = std::vector<Key>;

std::vector<Rule> readRules(const fs::path& file) {
    std::vector<Rule> rules;
    std::ifstream in(file);
    const std::regex keyPattern(
        R"re(\s*([A-Z]+)(?:\{([^}]*)\})?\s*(==|!=|\+=|=)\s*"([^"]*)"\s*)re");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#')
            continue;
        Rule rule;
        std::stringstream parts(line);
        for (std::string part; std::getline(parts, part, ',');) {
            std::smatch match;
            EXPECT_TRUE(std::regex_match(part, match, keyPattern)) << part;
            rule.push_back({match[1], match[2], match[3], match[4]});
        }
        rules.push_back(rule);
    }
    return rules;
}

bool globMatches(const std::string& pattern, const std::string& value) {
    std::stringstream alternatives(pattern);
    for (std::string alternative; std::getline(alternatives, alternative, '|');)
        if (::fnmatch(alternative.c_str(), value.c_str(), 0) == 0)
            return true;
    return false;
}

std::optional<std::string> attribute(const fs::path& device, const std::string& name) {
    std::ifstream in(device / name);
    if (!in)
        return std::nullopt;
    std::string value;
    std::getline(in, value);
    return value;
}

// The tags a hidraw node ends up with.
std::set<std::string> evaluate(const std::vector<Rule>& rules, const fs::path& node) {
    std::map<std::string, std::string> env;
    std::set<std::string> tags;
    for (const Rule& rule : rules) {
        bool matches = true;
        std::vector<const Key*> attrs;
        for (const Key& key : rule) {
            if (key.op != "==")
                continue;
            if (key.name == "SUBSYSTEM")
                matches &= globMatches(key.value, "hidraw");
            else if (key.name == "KERNEL")
                matches &= globMatches(key.value, node.filename().string());
            else if (key.name == "ENV")
                matches &= globMatches(key.value, env[key.attribute]);
            else if (key.name == "ATTRS")
                attrs.push_back(&key);
            else
                ADD_FAILURE() << "unexpected key " << key.name;
        }
        if (!attrs.empty() && matches) {
            bool oneDevice = false;
            for (fs::path device = node; !oneDevice && device.has_relative_path();
                 device = device.parent_path()) {
                oneDevice = std::all_of(attrs.begin(), attrs.end(), [&](const Key* key) {
                    const auto value = attribute(device, key->attribute);
                    return value && globMatches(key->value, *value);
                });
                if (device == device.parent_path())
                    break;
            }
            matches = oneDevice;
        }
        if (!matches)
            continue;
        for (const Key& key : rule) {
            if (key.name == "ENV" && key.op == "=")
                env[key.attribute] = key.value;
            if (key.name == "TAG" && key.op == "+=")
                tags.insert(key.value);
        }
    }
    return tags;
}

TEST(UdevRule, OnlyTheKeyboardsNotificationAndCommandInterfacesAreOpened) {
    const auto rules = readRules(fs::path(Q905_SOURCE_DIR) / "packaging" / "70-q905.rules");
    ASSERT_FALSE(rules.empty());
    const fs::path hidraw = fs::path(Q905_TEST_DATA_DIR) / "sysfs" / "desktop" / "class" / "hidraw";
    std::set<std::string> granted;
    for (const auto& entry : fs::directory_iterator(hidraw)) {
        const fs::path node = fs::canonical(entry.path());
        if (evaluate(rules, node).contains("uaccess"))
            granted.insert(entry.path().filename().string());
    }
    // Interface 0 (every keystroke) and 2 of the keyboard, the same maker's other product on
    // interfaces 1 and 3, and the mouse stay closed.
    EXPECT_EQ(granted, (std::set<std::string>{"hidraw9", "hidraw11"}));
}

} // namespace
} // namespace q905
