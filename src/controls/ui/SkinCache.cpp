// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/SkinCache.h"

#include "controls/PictureScale.h"
#include "controls/ui/PictureCacheFile.h"
#include "controls/ui/PngDecoder.h"
#include "controls/ui/ScaledPicture.h"

#include <QFile>
#include <QFileInfo>

#include <QFont>
#include <QGuiApplication>
#include <QPaintEngine>
#include <QPainter>

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace q905 {

namespace {
QString scaled(const QString& name, int scale) {
    return QString::fromStdString(scaledPictureName(name.toStdString(), scale));
}
} // namespace

int pictureScaleForScreens() {
    const auto* application = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
    return application ? pictureScaleFor(application->devicePixelRatio()) : 1;
}

namespace {
// A factor above 1 in QT_SCALE_FACTOR or in any entry ("2" or "HDMI-1=2") of
// QT_SCREEN_SCALE_FACTORS.
bool scaleAskedFor() {
    bool asked = qEnvironmentVariable("QT_SCALE_FACTOR").toDouble() > 1.0;
    const QStringList screens =
        qEnvironmentVariable("QT_SCREEN_SCALE_FACTORS").split(QLatin1Char(';'));
    for (const QString& screen : screens)
        asked = asked || screen.section(QLatin1Char('='), -1).toDouble() > 1.0;
    return asked;
}

std::filesystem::file_time_type lastUse(const QString& file) {
    std::error_code error;
    const auto time =
        std::filesystem::last_write_time(QFile::encodeName(file).toStdString(), error);
    return error ? std::filesystem::file_time_type::min() : time;
}
} // namespace

int likelyPictureScale(const SkinComposition& composition) {
    if (scaleAskedFor())
        return kHighPictureScale;
    if (composition.cacheFile.isEmpty())
        return 1;
    const auto larger = lastUse(scaled(composition.cacheFile, kHighPictureScale));
    return larger != std::filesystem::file_time_type::min() &&
                   larger > lastUse(composition.cacheFile)
               ? kHighPictureScale
               : 1;
}

SkinCache::SkinCache(QString folder, int scale) : m_folder(std::move(folder)), m_scale(scale) {}

void SkinCache::setScale(int scale) {
    if (scale == m_scale)
        return;
    // The compositions are made again from the new set when asked for.
    m_scale = scale;
    m_images.clear();
    m_inkRects.clear();
    m_composed.clear();
    m_compositions.clear();
    m_streamed.clear();
    m_composedAway.clear();
}

QString SkinCache::fileOf(const QString& name) const {
    const QString path = m_folder + QLatin1Char('/') + name;
    if (m_scale == 1)
        return path;
    const QString scaledPath = scaled(path, m_scale);
    return QFileInfo::exists(scaledPath) ? scaledPath : path;
}

QString SkinCache::cacheFileOf(const SkinComposition& composition) const {
    return composition.cacheFile.isEmpty() ? QString() : scaled(composition.cacheFile, m_scale);
}

const QImage& SkinCache::image(const QString& name) {
    auto it = m_images.find(name);
    if (it == m_images.end() && m_streamed.contains(name)) {
        // Whoever wants the picture itself gets it whole; drawing goes on from memory then.
        const std::shared_ptr<CachedPictureRows> file = m_streamed.take(name);
        QImage whole = file->rows(0, file->size().height());
        whole.setDevicePixelRatio(m_scale);
        if (!whole.isNull())
            return *m_images.insert(name, std::move(whole));
        recompose(name);
        it = m_images.find(name);
    }
    if (it == m_images.end()) {
        // Opaque pictures (the backgrounds) come at three bytes a pixel: a quarter less to
        // hold, and still copied onto the window without blending.
        QImage picture;
        if (m_scale > 1) {
            picture = decodePng(scaled(m_folder + QLatin1Char('/') + name, m_scale));
            picture.setDevicePixelRatio(m_scale);
        }
        if (picture.isNull())
            picture = decodePng(m_folder + QLatin1Char('/') + name);
        it = m_images.insert(name, std::move(picture));
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
    // In window pixels: every window pixel any ink pixel falls in.
    const qreal ratio = picture.devicePixelRatio();
    const auto toWindow = [ratio](int pixel) { return int(pixel / ratio); };
    const QRect ink = right < 0 ? QRect()
                                : QRect(QPoint(toWindow(left), toWindow(top)),
                                        QPoint(toWindow(right), toWindow(bottom)));
    m_inkRects.insert(name, ink);
    return ink;
}

QSize SkinCache::size(const QString& name) {
    if (const auto streamed = m_streamed.constFind(name); streamed != m_streamed.constEnd())
        return streamed.value()->size() / m_scale;
    return logicalSize(image(name));
}

void SkinCache::draw(QPainter& painter, const QString& name, int x, int y) {
    const auto streamed = m_streamed.constFind(name);
    if (streamed == m_streamed.constEnd()) {
        const QImage& picture = image(name);
        if (!picture.isNull())
            painter.drawImage(x, y, picture);
        return;
    }
    // Only the rows the paint needs are read, a band at a time. The reach is in window pixels;
    // the file holds m_scale pixels for each of them each way.
    const std::shared_ptr<CachedPictureRows> file = streamed.value();
    const QRect systemClip = painter.paintEngine()->systemClip().boundingRect();
    QRect reach =
        systemClip.isEmpty()
            ? QRect(x, y, file->size().width(), file->size().height())
            : painter.deviceTransform().inverted().mapRect(QRectF(systemClip)).toAlignedRect();
    if (painter.hasClipping())
        reach &= painter.clipBoundingRect().toAlignedRect();
    const int scale = m_scale;
    const QRect area = QRect(QPoint(x, y), file->size() / scale) & reach;
    constexpr int kBandRows = 64;
    for (int top = area.top(); top <= area.bottom(); top += kBandRows) {
        const int rows = std::min(kBandRows, area.bottom() + 1 - top);
        QImage band = file->rows((top - y) * scale, rows * scale);
        if (band.isNull()) {
            recompose(name);
            draw(painter, name, x, y);
            return;
        }
        band.setDevicePixelRatio(scale);
        painter.drawImage(QPoint(area.left(), top), band,
                          QRect((area.left() - x) * scale, 0, area.width() * scale, rows * scale));
    }
}

QByteArray SkinCache::compositionKey(const SkinComposition& composition) const {
    // What the composition was made from: the files (by size and time of change), the places.
    QByteArray key = QFile::encodeName(QFileInfo(m_folder).absoluteFilePath());
    const auto addFile = [&](const QString& name) {
        const QString path = fileOf(name);
        const std::filesystem::path file = QFile::encodeName(path).toStdString();
        std::error_code error;
        const auto size = std::filesystem::file_size(file, error);
        const auto changed = std::filesystem::last_write_time(file, error);
        key += '\n' + path.mid(m_folder.size() + 1).toUtf8() + ' ' +
               QByteArray::number(qulonglong(size)) + ' ' +
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
    const QString file = cacheFileOf(composition);
    std::shared_ptr<CachedPictureRows> cached =
        CachedPictureRows::open(file, compositionKey(composition));
    if (!cached)
        return false;
    // Marked as used, so the next start can guess the set before the screens are known.
    std::error_code error;
    std::filesystem::last_write_time(QFile::encodeName(file).toStdString(),
                                     std::filesystem::file_time_type::clock::now(), error);
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
    // A set lacking its larger background composes a 1x picture: that is not kept as the set's.
    // Only a saving: a file that cannot be written costs the next start a composition.
    if (!composition.cacheFile.isEmpty() && picture.devicePixelRatio() == m_scale)
        (void)storeCachedPicture(cacheFileOf(composition), compositionKey(composition), picture);
    composed(composition, std::move(picture));
}

QFont skinFont(int pixelHeight) {
    QFont font(QStringLiteral("Arial"));
    // The skin's heights are character cell heights (ascent plus descent), as the skin's
    // layout was made with; Arial's em is 1/1.117 of its cell.
    font.setPixelSize(std::max(1, qRound(pixelHeight / 1.117)));
    font.setWeight(QFont::Light);
    // Named, not left to the default: Qt drops hinting by default once the screen is scaled,
    // and unhinted glyphs measure a pixel taller, so texts fitted to their room at 1x would be
    // shrunk at 1.5 and 2. Vertical hinting is what the desktop default gives at 1x.
    font.setHintingPreference(QFont::PreferVerticalHinting);
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
