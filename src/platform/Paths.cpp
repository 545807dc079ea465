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

UdevRuleLocation udevRuleLocation() {
    constexpr const char* kRuleName = "70-q905.rules";
    // Where udev reads rules (the administrator's folder first), and this installation's own
    // lib/udev/rules.d, which udev reads only under the /usr prefix.
    const std::filesystem::path installed = programFolder().parent_path() / "lib/udev/rules.d";
    std::error_code error;
    for (const std::filesystem::path& folder :
         {std::filesystem::path("/etc/udev/rules.d"), installed,
          std::filesystem::path("/usr/lib/udev/rules.d")}) {
        if (std::filesystem::is_regular_file(folder / kRuleName, error))
            return {folder / kRuleName, UdevRuleLocation::State::Installed};
    }
#if defined(Q905_BUILD_DIR) && defined(Q905_SOURCE_DIR)
    if (std::filesystem::equivalent(programFolder(), Q905_BUILD_DIR, error))
        return {std::filesystem::path(Q905_SOURCE_DIR) / "packaging" / kRuleName,
                UdevRuleLocation::State::InSourceTree};
#endif
    return {installed / kRuleName, UdevRuleLocation::State::Missing};
}

} // namespace q905
