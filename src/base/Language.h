// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The language every text of the run is shown in.

namespace q905 {

enum class Language { English, German };

} // namespace q905
