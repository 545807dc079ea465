// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A composed picture kept between runs as raw pixels, so a later start reads it instead of
// decoding and composing it again. The key says what the picture was made from; a file with
// another key, or one cut short, is not used. The file is read as untrusted: anything but a
// regular file (a symlink, a FIFO, a device) is not opened for reading, and the next store
// puts a regular file in its place without writing through it.

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>

namespace q905 {

// A cache file, checked and kept open, read a band of rows at a time: the picture need never be
// held whole. Open, it reads on even when the file is replaced or removed.
class CachedPictureRows {
  public:
    // Null when the file is missing, not a regular file, stale or damaged.
    static std::shared_ptr<CachedPictureRows> open(const QString& file, const QByteArray& key);
    CachedPictureRows() = default;
    CachedPictureRows(const CachedPictureRows&) = delete;
    CachedPictureRows& operator=(const CachedPictureRows&) = delete;
    ~CachedPictureRows();

    QSize size() const { return m_size; }
    // Rows [top, top + count) as a picture that many rows high; null when the file fails.
    QImage rows(int top, int count) const;

  private:
    int m_fd = -1;
    QSize m_size;
    QImage::Format m_format = QImage::Format_Invalid;
    qsizetype m_bytesPerLine = 0;
    qsizetype m_offset = 0;
};

// False when it could not be written (the cache is only a saving).
[[nodiscard]] bool storeCachedPicture(const QString& file, const QByteArray& key,
                                      const QImage& picture);

} // namespace q905
