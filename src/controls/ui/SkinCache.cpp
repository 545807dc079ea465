#include "controls/ui/SkinCache.h"

#include "controls/ui/PictureCacheFile.h"
#include "controls/ui/PngDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace q905 {

SkinCache::SkinCache(QString folder) : m_folder(std::move(folder)) {}

const QImage& SkinCache::image(const QString& name) {
    auto it = m_images.find(name);
    if (it == m_images.end()) {
        // Opaque pictures (the backgrounds) come at three bytes a pixel: a quarter less to
        // hold, and still copied onto the window without blending.
        it = m_images.insert(name, decodePng(m_folder + QLatin1Char('/') + name));
    }
    return it.value();
}

QRect SkinCache::inkRect(const QString& name) {
    if (const auto known = m_inkRects.constFind(name); known != m_inkRects.constEnd())
        return known.value();
    const QImage& picture = image(name);
    // An opaque picture carries the panel behind it: its corner's colour is background too.
    const QRgb corner = picture.isNull() ? 0 : picture.pixel(0, 0);
    const bool opaqueCorner = qAlpha(corner) == 255;
    int left = picture.width(), top = picture.height(), right = -1, bottom = -1;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QRgb pixel = picture.pixel(x, y);
            if (qAlpha(pixel) == 0 || (opaqueCorner && pixel == corner))
                continue;
            left = std::min(left, x);
            right = std::max(right, x);
            top = std::min(top, y);
            bottom = y;
        }
    }
    const QRect ink = right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
    m_inkRects.insert(name, ink);
    return ink;
}

void SkinCache::draw(QPainter& painter, const QString& name, int x, int y) {
    const QImage& picture = image(name);
    if (!picture.isNull())
        painter.drawImage(x, y, picture);
}

QByteArray SkinCache::compositionKey(const SkinComposition& composition) const {
    // What the composition was made from: the files (by size and time of change), the places.
    QByteArray key = QFile::encodeName(QFileInfo(m_folder).absoluteFilePath());
    const auto addFile = [&](const QString& name) {
        const std::filesystem::path file =
            QFile::encodeName(m_folder + QLatin1Char('/') + name).toStdString();
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        const auto changed = std::filesystem::last_write_time(file, error);
        key += '\n' + name.toUtf8() + ' ' + QByteArray::number(qulonglong(size)) + ' ' +
               QByteArray::number(qlonglong(changed.time_since_epoch().count()));
    };
    addFile(composition.base);
    for (const SkinOverlay& overlay : composition.overlays) {
        addFile(overlay.name);
        key += ' ' + QByteArray::number(overlay.at.x()) + ',' + QByteArray::number(overlay.at.y());
    }
    return key;
}

void SkinCache::composed(const SkinComposition& composition, QImage picture) {
    m_images.insert(composition.base, std::move(picture));
    m_composed.insert(composition.base);
    for (const SkinOverlay& overlay : composition.overlays) {
        m_images.remove(overlay.name);
        m_composedAway.insert(overlay.name);
    }
}

bool SkinCache::composeFromCache(const SkinComposition& composition) {
    if (m_composed.contains(composition.base))
        return true;
    if (composition.cacheFile.isEmpty())
        return false;
    QImage cached = loadCachedPicture(composition.cacheFile, compositionKey(composition));
    if (cached.isNull())
        return false;
    composed(composition, std::move(cached));
    return true;
}

void SkinCache::compose(const SkinComposition& composition) {
    if (composeFromCache(composition))
        return;
    QImage picture = image(composition.base);
    if (picture.isNull())
        return;
    m_images.remove(composition.base); // the one copy, painted in place
    {
        QPainter painter(&picture);
        for (const SkinOverlay& overlay : composition.overlays)
            painter.drawImage(overlay.at, image(overlay.name));
    }
    if (!composition.cacheFile.isEmpty())
        (void)storeCachedPicture(composition.cacheFile, compositionKey(composition), picture);
    composed(composition, std::move(picture));
}

QFont skinFont(int pixelHeight) {
    QFont font(QStringLiteral("Arial"));
    // The skin's heights are character cell heights (ascent plus descent), as the skin's
    // layout was made with; Arial's em is 1/1.117 of its cell.
    font.setPixelSize(std::max(1, qRound(pixelHeight / 1.117)));
    font.setWeight(QFont::Light);
    return font;
}

void drawSkinText(QPainter& painter, const QString& text, int x, int y, const QColor& colour,
                  int pixelHeight) {
    painter.setFont(skinFont(pixelHeight));
    painter.setPen(colour);
    // The text's top-left corner is at (x, y), as the skin's positions are given.
    painter.drawText(QRect(x, y, 2000, pixelHeight * 2), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace q905
