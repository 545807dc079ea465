#pragma once
// A composed picture kept between runs as raw pixels, so a later start reads it instead of
// decoding and composing it again. The key says what the picture was made from; a file with
// another key, or one cut short, is not used.

#include <QByteArray>
#include <QImage>
#include <QString>

namespace q905 {

// The picture read from the file; a null image when the file is missing, stale or damaged.
QImage loadCachedPicture(const QString& file, const QByteArray& key);
// Written beside and renamed into place, so a reader never sees half a file. False when it
// could not be written (the cache is only a saving).
bool storeCachedPicture(const QString& file, const QByteArray& key, const QImage& picture);

} // namespace q905
