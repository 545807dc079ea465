// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program's icon: the SVG installed in the hicolor icon theme, else drawn.

#include <QIcon>

#include <filesystem>

namespace q905 {

QIcon q905WindowIcon(const std::filesystem::path& assetRoot);

} // namespace q905
