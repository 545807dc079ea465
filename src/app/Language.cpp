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

// A stored value may be a code, a name in either language, or a numeric language id.
std::optional<int> languageNamed(std::string_view value) {
    const std::string v = lowered(value);
    if (v == "de" || v == "german" || v == "deutsch" || v == "7")
        return kLanguageGerman;
    if (v == "en" || v == "english" || v == "englisch" || v == "9")
        return kLanguageEnglish;
    return std::nullopt;
}

} // namespace

int chooseLanguageCode(std::optional<std::string_view> option,
                       std::optional<std::string_view> storedSetting, std::string_view localeName) {
    if (option)
        if (const auto code = languageNamed(*option))
            return *code;
    if (storedSetting)
        if (const auto code = languageNamed(*storedSetting))
            return *code;
    const std::string locale = lowered(localeName);
    if (locale == "de" || locale.rfind("de_", 0) == 0 || locale.rfind("de-", 0) == 0)
        return kLanguageGerman;
    return kLanguageEnglish;
}

std::filesystem::path assetFolder(const std::filesystem::path& assetRoot, int languageCode) {
    return assetRoot / "png" / (isGerman(languageCode) ? "german" : "english");
}

} // namespace q905
