// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A composed picture kept between runs as raw pixels, so a later start reads it instead of
// decoding and composing it again. The key says what the picture was made from; a file with
// another key, or one cut short, is not used.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <fstream>
#include <memory>

namespace q905 {

// A cache file, checked and kept open, read a band of rows at a time: the picture need never be
// held whole. Open, it reads on even when the file is replaced or removed.
class CachedPictureRows {
  public:
    // Null when the file is missing, stale or damaged.
    static std::shared_ptr<CachedPictureRows> open(const QString& file, const QByteArray& key);

    QSize size() const { return m_size; }
    // Rows [top, top + count) as a picture that many rows high; null when the file fails.
    QImage rows(int top, int count);

  private:
    std::ifstream m_file;
    QSize m_size;
    QImage::Format m_format = QImage::Format_Invalid;
    qsizetype m_bytesPerLine = 0;
    qsizetype m_offset = 0;
};

// The whole picture read from the file; a null image when the file is missing, stale or damaged.
QImage loadCachedPicture(const QString& file, const QByteArray& key);
// Written beside and renamed into place, so a reader never sees half a file. False when it
// could not be written (the cache is only a saving).
bool storeCachedPicture(const QString& file, const QByteArray& key, const QImage& picture);

} // namespace q905
