// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/Language.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace q905 {

namespace {

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return result;
}

// A stored value may be a code, a name in either language, or a Windows primary language id
// (7 German, 9 English).
std::optional<Language> languageNamed(std::string_view value) {
    const std::string v = lowered(value);
    if (v == "de" || v == "german" || v == "deutsch" || v == "7")
        return Language::German;
    if (v == "en" || v == "english" || v == "englisch" || v == "9")
        return Language::English;
    return std::nullopt;
}

} // namespace

Language chooseLanguage(std::optional<std::string_view> option,
                        std::optional<std::string_view> storedSetting,
                        std::string_view localeName) {
    if (option)
        if (const auto code = languageNamed(*option))
            return *code;
    if (storedSetting)
        if (const auto code = languageNamed(*storedSetting))
            return *code;
    const std::string locale = lowered(localeName);
    if (locale == "de" || locale.rfind("de_", 0) == 0 || locale.rfind("de-", 0) == 0)
        return Language::German;
    return Language::English;
}

std::filesystem::path assetFolder(const std::filesystem::path& assetRoot, Language language) {
    return assetRoot / "png" / (language == Language::German ? "german" : "english");
}

} // namespace q905
