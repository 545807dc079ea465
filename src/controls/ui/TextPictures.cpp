// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/TextPictures.h"

#include <QColor>
#include <QDataStream>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QFontMetricsF>
#include <QPainter>
#include <QPointF>
#include <QSaveFile>

#include <cmath>

namespace q905 {

namespace {

constexpr char kMagic[] = "q905 text pictures 1";
// A text is placed to the 64th of a device pixel, the precision Qt lays glyphs out in: its
// glyphs then fall on the same pixels in the picture as they would on the window.
constexpr int kFractionSteps = 64;
// Room around the measured line for antialiasing and overhanging glyphs.
constexpr int kMargin = 2;
// Beyond this the pictures are dropped and made again as they are drawn: a long session does not
// grow without bound.
constexpr qsizetype kMostPictureBytes = 4 << 20;
// Sanity bounds of a file, which is read as untrusted.
constexpr quint32 kMostEntries = 1 << 14;
constexpr int kLargestSide = 2048;
constexpr qsizetype kLongestString = 1 << 12;

// Keys are built for every text of every frame: a few characters each, not formatted numbers.
void appendNumber(QString& key, quint32 number) {
    key += QChar(char16_t(number & 0xffff));
    key += QChar(char16_t(number >> 16));
}

// The font by its family and the numbers that change its glyphs.
QString measureKey(const QFont& font, const QString& text) {
    QString key;
    key.reserve(font.family().size() + text.size() + 16);
    key += font.family();
    key += QChar(0x1f);
    appendNumber(key, quint32(font.pixelSize()));
    if (font.pixelSize() <= 0)
        appendNumber(key, quint32(qRound(font.pointSizeF() * 64)));
    appendNumber(key, quint32(font.weight()));
    appendNumber(key, quint32(font.stretch()));
    appendNumber(key, quint32(font.hintingPreference()));
    appendNumber(key, quint32(font.styleStrategy()));
    appendNumber(key, quint32(font.style()));
    key += text;
    return key;
}

QString pictureKey(const QString& measured, const QColor& colour, qreal scale, QPoint steps) {
    QString key = measured;
    key += QChar(0x1f);
    appendNumber(key, colour.rgba());
    appendNumber(key, quint32(qRound(scale * 4096)));
    appendNumber(key, quint32(steps.x() + steps.y() * kFractionSteps));
    return key;
}

// The one way a text is laid out, for its picture and where no picture serves alike.
void drawLine(QPainter& painter, const QPointF& topLeft, const QFont& font, const QString& text,
              const QColor& colour) {
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawText(QRectF(topLeft, QSizeF(1e5, 1e5)), Qt::AlignLeft | Qt::AlignTop, text);
}

// The painter's scale to the device when its own transform is the identity.
QTransform deviceScale(const QPainter& painter) {
    return painter.worldTransform().inverted() * painter.deviceTransform();
}

// When each place fonts come from last changed: installing or removing fonts updates a cache
// folder, changing the configuration a file in it.
QByteArray fontSetupStamp() {
    QStringList places{QStringLiteral("/etc/fonts"), QStringLiteral("/etc/fonts/conf.d"),
                       QStringLiteral("/var/cache/fontconfig"), QStringLiteral("/usr/share/fonts"),
                       QStringLiteral("/usr/local/share/fonts")};
    const QString home = QDir::homePath();
    const QString cache = qEnvironmentVariable("XDG_CACHE_HOME", home + QStringLiteral("/.cache"));
    const QString config =
        qEnvironmentVariable("XDG_CONFIG_HOME", home + QStringLiteral("/.config"));
    const QString data =
        qEnvironmentVariable("XDG_DATA_HOME", home + QStringLiteral("/.local/share"));
    places << cache + QStringLiteral("/fontconfig") << config + QStringLiteral("/fontconfig")
           << config + QStringLiteral("/fontconfig/fonts.conf") << data + QStringLiteral("/fonts")
           << home + QStringLiteral("/.fonts") << home + QStringLiteral("/.fonts.conf");
    QByteArray stamp;
    for (const QString& place : places) {
        const QFileInfo info(place);
        // By change time only: the places' names may differ from run to run (temporary homes).
        stamp += (info.exists() ? QByteArray::number(info.lastModified().toMSecsSinceEpoch())
                                : QByteArray("-")) +
                 '\n';
    }
    return stamp;
}

} // namespace

const TextMeasure& TextPictures::measure(const QFont& font, const QString& text) {
    const QString key = measureKey(font, text);
    note(m_usedMeasures, key);
    auto found = m_measures.constFind(key);
    if (found != m_measures.constEnd())
        return *found;
    const QFontMetrics whole(font);
    const QFontMetricsF exact(font);
    TextMeasure measured;
    measured.tight = whole.tightBoundingRect(text);
    measured.ascent = whole.ascent();
    measured.advance = exact.horizontalAdvance(text);
    measured.height = exact.height();
    return *m_measures.insert(key, measured);
}

void TextPictures::draw(QPainter& painter, const QPointF& topLeft, const QFont& font,
                        const QString& text, const QColor& colour) {
    if (text.isEmpty())
        return;
    const QTransform toDevice = deviceScale(painter);
    const QTransform device = painter.deviceTransform();
    // A picture holds one line.
    if (text.contains(QLatin1Char('\n')) || device.type() > QTransform::TxScale ||
        toDevice.type() > QTransform::TxScale || device.m11() <= 0 ||
        !qFuzzyCompare(device.m11(), device.m22())) {
        painter.save();
        drawLine(painter, topLeft, font, text, colour);
        painter.restore();
        return;
    }
    const qreal scale = device.m11();
    const QPointF at = device.map(topLeft);
    // In 64ths of a device pixel, split into the whole pixel and the steps within it.
    const long x = std::lround(at.x() * kFractionSteps);
    const long y = std::lround(at.y() * kFractionSteps);
    const QPoint whole(int(std::floor(double(x) / kFractionSteps)),
                       int(std::floor(double(y) / kFractionSteps)));
    const QPoint steps(int(x - long(whole.x()) * kFractionSteps),
                       int(y - long(whole.y()) * kFractionSteps));
    const QString key = pictureKey(measureKey(font, text), colour, scale, steps);
    note(m_usedPictures, key);
    auto found = m_pictures.constFind(key);
    if (found == m_pictures.constEnd()) {
        if (m_pictureBytes > kMostPictureBytes) {
            m_pictures.clear();
            m_pictureBytes = 0;
        }
        Picture made = render(font, text, colour, scale, QPointF(steps) / kFractionSteps);
        m_pictureBytes += made.image.sizeInBytes();
        found = m_pictures.insert(key, std::move(made));
    }
    if (found->image.isNull())
        return;
    painter.save();
    // Back to device pixels, where the picture is copied without scaling.
    painter.setWorldTransform(toDevice.inverted());
    painter.drawImage(whole + found->offset, found->image);
    painter.restore();
}

TextPictures::Picture TextPictures::render(const QFont& font, const QString& text,
                                           const QColor& colour, qreal scale,
                                           const QPointF& fraction) {
    const TextMeasure& measured = measure(font, text);
    // The line's box with the ink's overhang, in window pixels from the line's top-left.
    const QRectF line(0, 0, measured.advance, measured.height);
    const QRectF ink = QRectF(measured.tight).translated(0, measured.ascent);
    const QRectF room = line.united(ink).adjusted(-kMargin, -kMargin, kMargin, kMargin);
    const QPoint origin(int(std::floor(room.left() * scale)), int(std::floor(room.top() * scale)));
    const QSize size(int(std::ceil(room.right() * scale)) - origin.x() + 1,
                     int(std::ceil(room.bottom() * scale)) - origin.y() + 1);
    if (size.width() > kLargestSide || size.height() > kLargestSide)
        return {};
    QImage canvas(size, QImage::Format_ARGB32_Premultiplied);
    canvas.fill(Qt::transparent);
    {
        QPainter painter(&canvas);
        painter.translate(fraction.x() - origin.x(), fraction.y() - origin.y());
        painter.scale(scale, scale);
        drawLine(painter, QPointF(0, 0), font, text, colour);
    }
    // Only the ink is kept.
    QRect used;
    for (int y = 0; y < canvas.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(canvas.constScanLine(y));
        for (int x = 0; x < canvas.width(); ++x)
            if (qAlpha(row[x]) != 0)
                used |= QRect(x, y, 1, 1);
    }
    if (used.isEmpty())
        return {};
    return {canvas.copy(used), origin + used.topLeft()};
}

void TextPictures::note(QSet<QString>& used, const QString& key) {
    if (m_recording)
        used.insert(key);
}

void TextPictures::startRecording() {
    m_recording = true;
    m_usedMeasures.clear();
    m_usedPictures.clear();
}

void TextPictures::keepRecorded() {
    m_keptMeasures.unite(m_usedMeasures);
    m_keptPictures.unite(m_usedPictures);
    m_recording = false;
    m_usedMeasures.clear();
    m_usedPictures.clear();
}

bool TextPictures::keptBeyondFile() const {
    for (const QString& key : m_keptMeasures)
        if (!m_fileMeasures.contains(key))
            return true;
    for (const QString& key : m_keptPictures)
        if (!m_filePictures.contains(key))
            return true;
    return false;
}

QByteArray TextPictures::environmentKey() {
    return QByteArray("Qt ") + qVersion() + '\n' + fontSetupStamp();
}

TextPictures TextPictures::load(const QString& path, const QByteArray& key) {
    TextPictures loaded;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return loaded;
    QDataStream in(&file);
    in.setVersion(QDataStream::Qt_6_0);
    QByteArray magic, storedKey;
    double storedScale = 0;
    quint32 measures = 0, pictures = 0;
    in >> magic >> storedKey >> storedScale >> measures >> pictures;
    if (in.status() != QDataStream::Ok || magic != kMagic || storedKey != key ||
        !(storedScale > 0) || measures > kMostEntries || pictures > kMostEntries)
        return loaded;
    loaded.m_screenScale = storedScale;
    const auto readKey = [&in](QString& text) {
        in >> text;
        return in.status() == QDataStream::Ok && text.size() <= kLongestString;
    };
    for (quint32 k = 0; k < measures; ++k) {
        QString name;
        TextMeasure measured;
        qint32 left = 0, top = 0, width = 0, height = 0, ascent = 0;
        if (!readKey(name))
            return {};
        in >> left >> top >> width >> height >> ascent >> measured.advance >> measured.height;
        if (in.status() != QDataStream::Ok)
            return {};
        measured.tight = QRect(left, top, width, height);
        measured.ascent = ascent;
        loaded.m_measures.insert(name, measured);
        loaded.m_fileMeasures.insert(name);
    }
    for (quint32 k = 0; k < pictures; ++k) {
        QString name;
        qint32 x = 0, y = 0, width = 0, height = 0;
        if (!readKey(name))
            return {};
        in >> x >> y >> width >> height;
        if (in.status() != QDataStream::Ok || width <= 0 || height <= 0 || width > kLargestSide ||
            height > kLargestSide)
            return {};
        QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
        if (image.isNull())
            return {};
        // Rows one after the other, exactly as wide as the picture.
        for (int row = 0; row < height; ++row)
            if (in.readRawData(reinterpret_cast<char*>(image.scanLine(row)), width * 4) !=
                width * 4)
                return {};
        loaded.m_pictureBytes += image.sizeInBytes();
        loaded.m_pictures.insert(name, {std::move(image), QPoint(x, y)});
        loaded.m_filePictures.insert(name);
    }
    if (!in.atEnd())
        return {};
    return loaded;
}

bool TextPictures::store(const QString& path, const QByteArray& key, qreal screenScale) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QDataStream out(&file);
    out.setVersion(QDataStream::Qt_6_0);
    QStringList measures, pictures;
    for (const QString& name : m_keptMeasures)
        if (m_measures.contains(name))
            measures << name;
    for (const QString& name : m_keptPictures)
        if (const auto found = m_pictures.constFind(name);
            found != m_pictures.constEnd() && !found->image.isNull())
            pictures << name;
    out << QByteArray(kMagic) << key << double(screenScale) << quint32(measures.size())
        << quint32(pictures.size());
    for (const QString& name : measures) {
        const TextMeasure& measured = m_measures[name];
        out << name << qint32(measured.tight.left()) << qint32(measured.tight.top())
            << qint32(measured.tight.width()) << qint32(measured.tight.height())
            << qint32(measured.ascent) << measured.advance << measured.height;
    }
    for (const QString& name : pictures) {
        const Picture& picture = m_pictures[name];
        out << name << qint32(picture.offset.x()) << qint32(picture.offset.y())
            << qint32(picture.image.width()) << qint32(picture.image.height());
        for (int row = 0; row < picture.image.height(); ++row)
            out.writeRawData(reinterpret_cast<const char*>(picture.image.constScanLine(row)),
                             picture.image.width() * 4);
    }
    if (out.status() != QDataStream::Ok || !file.commit())
        return false;
    m_fileMeasures = QSet<QString>(measures.begin(), measures.end());
    m_filePictures = QSet<QString>(pictures.begin(), pictures.end());
    return true;
}

TextPictures& sharedTextPictures() {
    static TextPictures shared;
    return shared;
}

} // namespace q905
