// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// PNG pictures decoded with libpng straight into the formats the skin keeps. Unlike QImage's
// own loading it touches no part of the application object (Qt's image plugins consult the
// application's library paths), so it may run on another thread while that object is built.

#include <QImage>
#include <QString>

namespace q905 {

// Opaque pictures come back as Format_RGB888, pictures with transparency as
// Format_ARGB32_Premultiplied; a null image when the file is missing or not a PNG.
QImage decodePng(const QString& path);

} // namespace q905
