#include "controls/ui/SkinCache.h"

#include "controls/ui/PictureCacheFile.h"
#include "controls/ui/PngDecoder.h"

#include <QFile>
#include <QFileInfo>

#include <QFont>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace q905 {

SkinCache::SkinCache(QString folder) : m_folder(std::move(folder)) {}

const QImage& SkinCache::image(const QString& name) {
    auto it = m_images.find(name);
    if (it == m_images.end() && m_streamed.contains(name)) {
        // Whoever wants the picture itself gets it whole; drawing goes on from memory then.
        const std::shared_ptr<CachedPictureRows> file = m_streamed.take(name);
        QImage whole = file->rows(0, file->size().height());
        if (!whole.isNull())
            return *m_images.insert(name, std::move(whole));
        recompose(name);
        it = m_images.find(name);
    }
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

QSize SkinCache::size(const QString& name) {
    if (const auto streamed = m_streamed.constFind(name); streamed != m_streamed.constEnd())
        return streamed.value()->size();
    return image(name).size();
}

void SkinCache::draw(QPainter& painter, const QString& name, int x, int y) {
    const auto streamed = m_streamed.constFind(name);
    if (streamed == m_streamed.constEnd()) {
        const QImage& picture = image(name);
        if (!picture.isNull())
            painter.drawImage(x, y, picture);
        return;
    }
    // Only the rows the paint needs are read, a band at a time.
    const std::shared_ptr<CachedPictureRows> file = streamed.value();
    QRect reach = painter.paintEngine()->systemClip().boundingRect();
    if (reach.isEmpty())
        reach = QRect(0, 0, painter.device()->width(), painter.device()->height());
    if (painter.hasClipping())
        reach &= painter.clipBoundingRect().toAlignedRect();
    const QRect area = QRect(QPoint(x, y), file->size()) & reach;
    constexpr int kBandRows = 64;
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, area.bottom() + 1 - top);
        const QImage band = file->rows(top - y, rows);
        if (band.isNull()) {
            recompose(name);
            draw(painter, name, x, y);
            return;
        }
        painter.drawImage(QPoint(area.left(), top), band,
                          QRect(area.left() - x, 0, area.width(), rows));
    }
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
    m_compositions.insert(composition.base, composition);
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
    std::shared_ptr<CachedPictureRows> cached =
        CachedPictureRows::open(composition.cacheFile, compositionKey(composition));
    if (!cached)
        return false;
    composed(composition, QImage());
    m_images.remove(composition.base);
    m_streamed.insert(composition.base, std::move(cached));
    return true;
}

void SkinCache::recompose(const QString& base) {
    SkinComposition composition = m_compositions.value(base);
    composition.cacheFile.clear();
    m_streamed.remove(base);
    m_composed.remove(base);
    m_images.remove(base);
    for (const SkinOverlay& overlay : composition.overlays)
        m_composedAway.remove(overlay.name);
    compose(composition);
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
