// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language in force for the whole run, and the skin folder that goes with it.

#include "base/Language.h"

#include <filesystem>
#include <optional>
#include <string_view>

namespace q905 {

// The first source that names a language decides: the --language option ("en" or "de"), then
// the stored "Language" setting, then the user's locale (e.g. "de_AT"). Anything else: English.
Language chooseLanguage(std::optional<std::string_view> option,
                        std::optional<std::string_view> storedSetting, std::string_view localeName);

// <assets>/png/german or <assets>/png/english.
std::filesystem::path assetFolder(const std::filesystem::path& assetRoot, Language language);

} // namespace q905
