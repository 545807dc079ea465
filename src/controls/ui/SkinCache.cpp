#include "controls/ui/SkinCache.h"

#include "controls/ui/PngDecoder.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

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

void SkinCache::flatten(const QString& base, const QString& overlay, int x, int y) {
    const QString pair = base + QLatin1Char('|') + overlay;
    if (m_flattened.contains(pair))
        return;
    m_flattened.insert(pair);
    const QImage top = image(overlay);
    (void)image(base);
    QImage& bottom = m_images[base];
    if (!top.isNull() && !bottom.isNull()) {
        QPainter painter(&bottom);
        painter.drawImage(x, y, top);
    }
    m_images.remove(overlay);
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
