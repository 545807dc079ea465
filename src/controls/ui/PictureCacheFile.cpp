// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/PictureCacheFile.h"

#include "base/AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace q905 {

namespace {

constexpr char kMagic[8] = {'q', '9', '0', '5', 'p', 'i', 'c', '1'};
// Pixels start on a 64-byte boundary after the header and the key.
constexpr qsizetype kAlignment = 64;
constexpr std::uint32_t kLargestSide = 1u << 14;

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

bool readAt(int fd, void* into, qsizetype size, qsizetype offset) {
    auto* bytes = static_cast<char*>(into);
    qsizetype done = 0;
    while (done < size) {
        const ssize_t n = ::pread(fd, bytes + done, std::size_t(size - done), off_t(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

} // namespace

CachedPictureRows::~CachedPictureRows() {
    if (m_fd >= 0)
        ::close(m_fd);
}

std::shared_ptr<CachedPictureRows> CachedPictureRows::open(const QString& path,
                                                           const QByteArray& key) {
    auto opened = std::make_shared<CachedPictureRows>();
    // A symlink is refused rather than followed, and a FIFO does not wait for a writer.
    opened->m_fd = ::open(QFile::encodeName(path).constData(),
                          O_RDONLY | O_CLOEXEC | O_NOCTTY | O_NOFOLLOW | O_NONBLOCK);
    struct stat info {};
    if (opened->m_fd < 0 || ::fstat(opened->m_fd, &info) != 0 || !S_ISREG(info.st_mode))
        return nullptr;
    Header header{};
    QByteArray storedKey(key.size(), '\0');
    if (!readAt(opened->m_fd, &header, sizeof header, 0) ||
        std::memcmp(header.magic, kMagic, sizeof kMagic) != 0 ||
        header.keySize != std::uint32_t(key.size()) ||
        !readAt(opened->m_fd, storedKey.data(), storedKey.size(), sizeof header) ||
        storedKey != key ||
        (header.format != QImage::Format_RGB888 &&
         header.format != QImage::Format_ARGB32_Premultiplied) ||
        header.width == 0 || header.height == 0 || header.width > kLargestSide ||
        header.height > kLargestSide)
        return nullptr;
    // The file must hold exactly the pixels it announces, in QImage's own row layout.
    const QImage probe(int(header.width), 1, QImage::Format(header.format));
    const qsizetype offset = pixelOffset(key.size());
    if (probe.bytesPerLine() != qsizetype(header.bytesPerLine) ||
        qsizetype(info.st_size) != offset + qsizetype(header.bytesPerLine) * header.height)
        return nullptr;
    opened->m_size = QSize(int(header.width), int(header.height));
    opened->m_format = QImage::Format(header.format);
    opened->m_bytesPerLine = header.bytesPerLine;
    opened->m_offset = offset;
    return opened;
}

QImage CachedPictureRows::rows(int top, int count) const {
    if (top < 0 || count <= 0 || top + count > m_size.height())
        return {};
    QImage band(m_size.width(), count, m_format);
    if (band.isNull() ||
        !readAt(m_fd, band.bits(), band.sizeInBytes(), m_offset + m_bytesPerLine * qsizetype(top)))
        return {};
    return band;
}

bool storeCachedPicture(const QString& path, const QByteArray& key, const QImage& picture) {
    if (picture.isNull() || (picture.format() != QImage::Format_RGB888 &&
                             picture.format() != QImage::Format_ARGB32_Premultiplied))
        return false;
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
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
    const std::span<const std::uint8_t> parts[] = {
        {reinterpret_cast<const std::uint8_t*>(head.constData()), std::size_t(head.size())},
        {picture.constBits(), std::size_t(picture.sizeInBytes())}};
    return saveFileAtomically(QFile::encodeName(path).toStdString(), parts).ok();
}

} // namespace q905
