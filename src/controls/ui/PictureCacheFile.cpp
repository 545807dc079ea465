// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/PictureCacheFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <system_error>

namespace q905 {

namespace {

constexpr char kMagic[8] = {'q', '9', '0', '5', 'p', 'i', 'c', '1'};
// Pixels start on a 64-byte boundary after the header and the key.
constexpr qsizetype kAlignment = 64;

struct Header {
    char magic[8];
    std::uint32_t keySize;
    std::uint32_t width;
    std::uint32_t height;
    std::uint32_t format;
    std::uint32_t bytesPerLine;
    std::uint32_t reserved;
};

qsizetype pixelOffset(qsizetype keySize) {
    const qsizetype end = qsizetype(sizeof(Header)) + keySize;
    return (end + kAlignment - 1) / kAlignment * kAlignment;
}

} // namespace

std::shared_ptr<CachedPictureRows> CachedPictureRows::open(const QString& path,
                                                           const QByteArray& key) {
    auto opened = std::make_shared<CachedPictureRows>();
    std::ifstream& file = opened->m_file;
    file.open(QFile::encodeName(path).toStdString(), std::ios::binary);
    Header header{};
    QByteArray storedKey(key.size(), '\0');
    if (!file || !file.read(reinterpret_cast<char*>(&header), sizeof header) ||
        std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 ||
        header.keySize != std::uint32_t(key.size()) ||
        !file.read(storedKey.data(), storedKey.size()) || storedKey != key ||
        (header.format != QImage::Format_RGB888 &&
         header.format != QImage::Format_ARGB32_Premultiplied) ||
        header.width == 0 || header.height == 0 || header.width > 1u << 14 ||
        header.height > 1u << 14)
        return nullptr;
    // The file must hold exactly the pixels it announces, in QImage's own row layout.
    const QImage probe(int(header.width), 1, QImage::Format(header.format));
    const qsizetype offset = pixelOffset(key.size());
    std::error_code error;
    const auto size = std::filesystem::file_size(QFile::encodeName(path).toStdString(), error);
    if (error || probe.bytesPerLine() != qsizetype(header.bytesPerLine) ||
        qsizetype(size) != offset + qsizetype(header.bytesPerLine) * qsizetype(header.height))
        return nullptr;
    opened->m_size = QSize(int(header.width), int(header.height));
    opened->m_format = QImage::Format(header.format);
    opened->m_bytesPerLine = header.bytesPerLine;
    opened->m_offset = offset;
    return opened;
}

QImage CachedPictureRows::rows(int top, int count) {
    if (top < 0 || count <= 0 || top + count > m_size.height())
        return {};
    QImage band(m_size.width(), count, m_format);
    if (band.isNull())
        return {};
    m_file.clear();
    m_file.seekg(std::streamoff(m_offset + m_bytesPerLine * top));
    if (!m_file.read(reinterpret_cast<char*>(band.bits()), std::streamsize(band.sizeInBytes())))
        return {};
    return band;
}

QImage loadCachedPicture(const QString& path, const QByteArray& key) {
    const std::shared_ptr<CachedPictureRows> file = CachedPictureRows::open(path, key);
    return file ? file->rows(0, file->size().height()) : QImage();
}

bool storeCachedPicture(const QString& path, const QByteArray& key, const QImage& picture) {
    if (picture.isNull() || (picture.format() != QImage::Format_RGB888 &&
                             picture.format() != QImage::Format_ARGB32_Premultiplied))
        return false;
    QDir().mkpath(QFileInfo(path).absolutePath());
    const QString temporary = path + QStringLiteral(".new");
    QFile file(temporary);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    Header header{};
    std::memcpy(header.magic, kMagic, sizeof kMagic);
    header.keySize = std::uint32_t(key.size());
    header.width = std::uint32_t(picture.width());
    header.height = std::uint32_t(picture.height());
    header.format = std::uint32_t(picture.format());
    header.bytesPerLine = std::uint32_t(picture.bytesPerLine());
    QByteArray head(pixelOffset(key.size()), '\0');
    std::memcpy(head.data(), &header, sizeof header);
    std::memcpy(head.data() + sizeof header, key.constData(), std::size_t(key.size()));
    const qsizetype pixels = picture.sizeInBytes();
    const bool written =
        file.write(head) == head.size() &&
        file.write(reinterpret_cast<const char*>(picture.constBits()), pixels) == pixels;
    file.close();
    if (!written || file.error() != QFileDevice::NoError) {
        QFile::remove(temporary);
        return false;
    }
    std::error_code error;
    std::filesystem::rename(QFile::encodeName(temporary).toStdString(),
                            QFile::encodeName(path).toStdString(), error);
    if (error)
        QFile::remove(temporary);
    return !error;
}

} // namespace q905
