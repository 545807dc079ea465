#include "controls/ui/SkinCache.h"

#include <QFont>
#include <QPainter>

#include <algorithm>

namespace q905 {

SkinCache::SkinCache(QString folder) : m_folder(std::move(folder)) {}

const QImage& SkinCache::image(const QString& name) {
    auto it = m_images.find(name);
    if (it == m_images.end()) {
        QImage picture(m_folder + QLatin1Char('/') + name);
        if (!picture.isNull())
            picture = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        it = m_images.insert(name, picture);
    }
    return it.value();
}

void SkinCache::draw(QPainter& painter, const QString& name, int x, int y) {
    const QImage& picture = image(name);
    if (!picture.isNull())
        painter.drawImage(x, y, picture);
}

void drawSkinText(QPainter& painter, const QString& text, int x, int y, const QColor& colour,
                  int pixelHeight) {
    QFont font(QStringLiteral("Arial"));
    // The skin's heights are character cell heights (ascent plus descent), as the skin's
    // layout was made with; Arial's em is 1/1.117 of its cell.
    font.setPixelSize(std::max(1, qRound(pixelHeight / 1.117)));
    font.setWeight(QFont::Light);
    painter.setFont(font);
    painter.setPen(colour);
    // The text's top-left corner is at (x, y), as the skin's positions are given.
    painter.drawText(QRect(x, y, 2000, pixelHeight * 2), Qt::AlignLeft | Qt::AlignTop, text);
}

} // namespace q905
