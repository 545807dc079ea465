// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Autostart.h"

#include "base/AtomicFile.h"
#include "base/RegularFile.h"
#include "base/Trimmed.h"
#include "platform/Paths.h"
#include "texts/WindowTexts.h"

#include <string_view>
#include <system_error>

namespace q905 {

namespace {
// Larger than any entry a person or a desktop writes; a bigger file is not ours.
constexpr std::size_t kMaxEntrySize = 64 * 1024;
} // namespace

std::filesystem::path autostartEntryPath() {
    const std::filesystem::path config = configHome();
    if (config.empty())
        return {};
    return config / "autostart" / "io.github.q905.q905.desktop";
}

std::string autostartEntryText() {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           std::string(kWindowTitle) +
           "\n"
           "Comment=Runs the keys that start programs, files and folders\n"
           "Exec=q905 --background\n"
           "Icon=q905\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

bool autostartEnabled(const std::filesystem::path& path) {
    if (path.empty())
        return false;
    const FileContents file = readRegularFile(path, kMaxEntrySize);
    if (!file.ok())
        return false;
    const std::string_view text(reinterpret_cast<const char*>(file.bytes.data()),
                                file.bytes.size());
    bool inEntryGroup = false;
    std::size_t start = 0;
    while (start < text.size()) {
        auto end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = trimmed(text.substr(start, end - start));
        start = end + 1;
        if (line.starts_with('[')) {
            inEntryGroup = line == "[Desktop Entry]";
            continue;
        }
        if (!inEntryGroup)
            continue;
        const auto equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        const std::string_view key = trimmed(line.substr(0, equals));
        const std::string_view value = trimmed(line.substr(equals + 1));
        if ((key == "Hidden" && value == "true") ||
            (key == "X-GNOME-Autostart-enabled" && value == "false"))
            return false;
    }
    return true;
}

Status setAutostart(const std::filesystem::path& path, bool enabled) {
    if (path.empty())
        return Status::failure(
            "there is no configuration folder for the autostart entry (neither XDG_CONFIG_HOME "
            "nor HOME is set)");
    std::error_code error;
    if (!enabled) {
        if (!std::filesystem::remove(path, error) && error)
            return Status::failure("cannot remove " + path.string() + ": " + error.message(),
                                   error.value());
        return Status::success();
    }
    std::filesystem::create_directories(path.parent_path(), error);
    if (error)
        return Status::failure(
            "cannot create " + path.parent_path().string() + ": " + error.message(), error.value());
    const std::string text = autostartEntryText();
    return saveFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

} // namespace q905
