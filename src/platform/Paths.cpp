// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/Paths.h"

#include <cstdlib>
#include <system_error>

namespace q905 {

std::filesystem::path dataFolder(const std::optional<std::filesystem::path>& override) {
    if (override)
        return *override;
    if (const char* xdg = std::getenv("XDG_DATA_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "q905";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".local" / "share" / "q905";
    return std::filesystem::current_path() / "q905-data";
}

std::filesystem::path cacheFolder() {
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg)
        return std::filesystem::path(xdg) / "q905";
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".cache" / "q905";
    return {};
}

std::filesystem::path configHome() {
    // A relative value is invalid and to be ignored.
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/')
        return std::filesystem::path(xdg);
    if (const char* home = std::getenv("HOME"); home && *home)
        return std::filesystem::path(home) / ".config";
    return {};
}

std::filesystem::path programFolder() {
    std::error_code error;
    const auto executable = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return std::filesystem::current_path();
    return executable.parent_path();
}

std::filesystem::path assetRoot() {
    const auto beside = programFolder();
    std::error_code error;
    if (std::filesystem::is_directory(beside / "png", error))
        return beside;
    return beside.parent_path() / "share" / "q905";
}

} // namespace q905
