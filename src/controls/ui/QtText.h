// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's UTF-8 texts as Qt strings.

#include "base/WindowText.h"

#include <QString>

#include <string_view>

namespace q905 {

inline QString qtText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

inline QString qtText(const WindowText& text, Language language) {
    return qtText(text.in(language));
}

} // namespace q905
