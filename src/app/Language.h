#pragma once
// The language in force for the whole run, and the skin folder that goes with it.

#include <filesystem>
#include <optional>
#include <string_view>

namespace q905 {

// Windows primary language ids, the values LanguageCode holds.
inline constexpr int kLanguageGerman = 7;
inline constexpr int kLanguageEnglish = 9;

// The first source that names a language decides: the --language option ("en" or "de"), then
// the stored "Language" setting, then the user's locale (e.g. "de_AT"). Anything else: English.
int chooseLanguageCode(std::optional<std::string_view> option,
                       std::optional<std::string_view> storedSetting, std::string_view localeName);

constexpr bool isGerman(int languageCode) {
    return languageCode == kLanguageGerman;
}

// <assets>/png/german or <assets>/png/english.
std::filesystem::path assetFolder(const std::filesystem::path& assetRoot, int languageCode);

} // namespace q905
