// SPDX-License-Identifier: GPL-3.0-or-later
// Which folder of src/ may include which: the architecture on one page. Every `#include "..."`
// under src/ is read and checked against the table; a folder cycle, a forbidden direction, Qt
// outside the window code, or a folder the table does not know fails the test.

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace q905 {
namespace {

namespace fs = std::filesystem;
using Folders = std::set<std::string>;

// The core: plain C++, no Qt, no windows.
const Folders kCore{"base",     "controls", "device",   "macros",   "keys",
                    "lighting", "profiles", "firmware", "platform", "texts"};

Folders with(Folders folders, std::initializer_list<const char*> more) {
    folders.insert(more.begin(), more.end());
    return folders;
}

struct Layer {
    Folders mayInclude;
    bool mayUseQt = false;
};

// Folders are src/'s top level, except that src/X/ui and src/platform/qt are folders of their
// own. A folder may always include itself; a core folder only folders listed before it.
const std::map<std::string, Layer> kLayers{
    // File helpers (atomic save, UTF-16) and the language: the floor everything stands on.
    {"base", {{}}},
    // Hit rectangles and the skinned controls' geometry and states, without drawing.
    {"controls", {{"base"}}},
    // The settings image, its wire encoding, the HID link and the clock.
    {"device", {{"base"}}},
    // Macro records, their files and key names.
    {"macros", {{"base", "controls", "device"}}},
    // The key table, key assignments and the key map file.
    {"keys", {{"base", "controls", "device", "macros"}}},
    // Lighting effects and the lighting panel's rules; profiles; firmware update.
    {"lighting", {{"base", "controls", "device", "macros", "keys"}}},
    {"profiles", {{"base", "controls", "device", "macros", "keys"}}},
    {"firmware", {{"base", "controls", "device", "macros", "keys"}}},
    // The Linux side of the platform interfaces: hidraw, sysfs, udev, paths.
    {"platform",
     {{"base", "controls", "device", "macros", "keys", "lighting", "profiles", "firmware"}}},
    // The window's texts in both languages, which the main window and the dialogs share.
    {"texts", {{"base", "controls", "device", "macros", "keys"}}},
    // The emulated keyboard speaks the wire protocol and knows the key table, nothing more, so
    // it stays an independent peer of the code it tests.
    {"emulator", {{"base", "device", "keys"}}},
    // Where the window and q905ctl are assembled: options, keyboard choice, host state.
    {"app", {with(kCore, {"emulator"})}},
    // q905ctl's commands. Only the window includes them, to run the commands handed to it.
    {"cli", {with(kCore, {"emulator", "app"})}},
    // Qt from here on. The skinned controls drawn with Qt.
    {"controls/ui", {kCore, true}},
    // The Qt side of the platform interfaces: tray, dialogs, launcher, key capture.
    {"platform/qt", {with(kCore, {"controls/ui"}), true}},
    // The main window, which puts every page and dialog together.
    {"app/ui",
     {with(kCore, {"emulator", "app", "cli", "platform/qt", "controls/ui", "lighting/ui",
                   "macros/ui", "keys/ui", "profiles/ui", "firmware/ui"}),
      true}},
};

// Any other X/ui (a page or a dialog): the core, the skinned controls and the Qt platform side.
// Not app/: what a page needs from the host is handed to it, so nothing runs back up a layer.
// Pages do not include one another; the main window joins them.
const Layer kPageLayer{with(kCore, {"controls/ui", "platform/qt"}), true};

std::string folderOf(const fs::path& relative) {
    std::vector<std::string> parts;
    for (const auto& part : relative.parent_path())
        parts.push_back(part.string());
    if (parts.empty())
        return "";
    if (parts.size() >= 2 && (parts[1] == "ui" || (parts[0] == "platform" && parts[1] == "qt")))
        return parts[0] + "/" + parts[1];
    return parts[0];
}

const Layer* layerOf(const std::string& folder) {
    if (const auto it = kLayers.find(folder); it != kLayers.end())
        return &it->second;
    const auto slash = folder.find('/');
    if (folder.ends_with("/ui") && kCore.contains(folder.substr(0, slash)))
        return &kPageLayer;
    return nullptr;
}

struct Include {
    std::string file; // relative to src/
    int line;
    std::string target; // as written; local includes are relative to src/
    bool isQt;
};

// The name in `#include "name"` or `#include <name>`, with its opening quote or bracket.
std::optional<std::pair<char, std::string>> includedName(std::string_view line) {
    const auto skipBlanks = [&line] {
        while (!line.empty() && (line.front() == ' ' || line.front() == '\t'))
            line.remove_prefix(1);
    };
    skipBlanks();
    if (!line.starts_with('#'))
        return std::nullopt;
    line.remove_prefix(1);
    skipBlanks();
    if (!line.starts_with("include"))
        return std::nullopt;
    line.remove_prefix(7);
    skipBlanks();
    if (line.empty() || (line.front() != '"' && line.front() != '<'))
        return std::nullopt;
    const char open = line.front();
    const auto end = line.find(open == '"' ? '"' : '>', 1);
    if (end == std::string_view::npos)
        return std::nullopt;
    return std::pair{open, std::string(line.substr(1, end - 1))};
}

std::vector<Include> includesUnder(const fs::path& src) {
    std::vector<Include> found;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (!entry.is_regular_file() || (extension != ".h" && extension != ".cpp"))
            continue;
        const std::string file = fs::relative(entry.path(), src).generic_string();
        std::ifstream in(entry.path());
        std::string text;
        for (int line = 1; std::getline(in, text); ++line) {
            const auto included = includedName(text);
            if (!included)
                continue;
            const auto& [open, name] = *included;
            if (open == '"')
                found.push_back({file, line, name, false});
            else if (name.starts_with('Q'))
                found.push_back({file, line, name, true});
        }
    }
    return found;
}

class IncludeDirections : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { s_includes = includesUnder(fs::path(Q905_SOURCE_DIR) / "src"); }
    void SetUp() override {
        ASSERT_FALSE(s_includes.empty()) << "no includes found under " << Q905_SOURCE_DIR;
    }
    static inline std::vector<Include> s_includes;
    const std::vector<Include>& m_includes = s_includes;
};

TEST_F(IncludeDirections, EveryFolderHasAPlaceInTheTable) {
    std::set<std::string> unknown;
    for (const Include& include : m_includes)
        if (layerOf(folderOf(include.file)) == nullptr)
            unknown.insert("src/" + folderOf(include.file));
    for (const std::string& folder : unknown)
        ADD_FAILURE() << folder << " has no row in the table";
}

TEST_F(IncludeDirections, EveryIncludePointsWhereTheTableAllows) {
    for (const Include& include : m_includes) {
        const std::string from = folderOf(include.file);
        const Layer* layer = layerOf(from);
        if (layer == nullptr)
            continue; // reported above
        const std::string where = include.file + ":" + std::to_string(include.line) + " ";
        if (include.isQt) {
            EXPECT_TRUE(layer->mayUseQt)
                << where << "src/" << from << " uses Qt <" << include.target << ">";
            continue;
        }
        const std::string to = folderOf(include.target);
        EXPECT_TRUE(to == from || layer->mayInclude.contains(to))
            << where << "src/" << from << " must not include src/" << to << " (\"" << include.target
            << "\")";
    }
}

// The table itself, and so any tree that keeps to it, has no cycle: each folder is visited
// after everything it may include.
TEST(IncludeDirectionTable, HasNoCycle) {
    for (const auto& [start, layer] : kLayers) {
        std::map<std::string, int> state; // 1 on the current path, 2 done
        std::vector<std::string> path;
        std::function<bool(const std::string&)> visit = [&](const std::string& folder) {
            if (state[folder] == 2)
                return true;
            path.push_back(folder);
            if (state[folder] == 1)
                return false;
            state[folder] = 1;
            if (const Layer* below = layerOf(folder))
                for (const std::string& next : below->mayInclude)
                    if (next != folder && !visit(next))
                        return false;
            state[folder] = 2;
            path.pop_back();
            return true;
        };
        std::string cycle;
        if (!visit(start))
            for (const std::string& step : path)
                cycle += (cycle.empty() ? "" : " -> ") + step;
        EXPECT_TRUE(cycle.empty()) << "cycle: " << cycle;
    }
}

} // namespace
} // namespace q905
