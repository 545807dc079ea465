// SPDX-License-Identifier: GPL-3.0-or-later
// A composed picture comes out the same whether it is painted or read from the cache file,
// and the cache is never used once what it was made from has changed or the file is damaged.
#include "controls/ui/SkinCache.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <filesystem>
#include <sys/stat.h>

namespace q905 {
namespace {

QImage filled(QSize size, QColor colour, QImage::Format format) {
    QImage picture(size, format);
    picture.fill(colour);
    return picture;
}

class SkinCompositionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(filled({40, 30}, QColor(20, 30, 40), QImage::Format_RGB32)
                        .save(m_folder.filePath("base.png")));
        saveOverlay(QColor(200, 10, 10, 128));
        m_composition = {QStringLiteral("base.png"),
                         {{QStringLiteral("over.png"), {5, 7}}},
                         m_folder.filePath("cache/base.raw")};
    }
    void saveOverlay(QColor colour) {
        ASSERT_TRUE(
            filled({10, 10}, colour, QImage::Format_ARGB32).save(m_folder.filePath("over.png")));
    }
    QImage expected() {
        QImage picture =
            QImage(m_folder.filePath("base.png")).convertToFormat(QImage::Format_RGB888);
        QPainter painter(&picture);
        painter.drawImage(5, 7, QImage(m_folder.filePath("over.png")));
        return picture;
    }
    QImage composedFresh(bool fromCacheOnly, bool* fromCache = nullptr) {
        SkinCache skin(m_folder.path(), 1);
        const bool cached = skin.composeFromCache(m_composition);
        if (fromCache)
            *fromCache = cached;
        if (!fromCacheOnly)
            skin.compose(m_composition);
        EXPECT_EQ(skin.composedAway(QStringLiteral("over.png")), cached || !fromCacheOnly);
        return skin.image(QStringLiteral("base.png")).convertToFormat(QImage::Format_RGB888);
    }

    QTemporaryDir m_folder;
    SkinComposition m_composition;
};

TEST_F(SkinCompositionTest, PaintedThenReadFromItsFileAndNeverStale) {
    bool fromCache = true;
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    EXPECT_FALSE(fromCache) << "nothing cached yet";
    EXPECT_EQ(composedFresh(true, &fromCache), expected());
    EXPECT_TRUE(fromCache);

    // Another overlay (another size of file): composed again and cached again.
    saveOverlay(QColor(10, 200, 10, 255));
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    EXPECT_FALSE(fromCache);
    EXPECT_EQ(composedFresh(true, &fromCache), expected());
    EXPECT_TRUE(fromCache);

    // Drawn from the file a band at a time: only what the clip reaches, exactly as composed.
    {
        SkinCache skin(m_folder.path(), 1);
        ASSERT_TRUE(skin.composeFromCache(m_composition));
        QImage canvas = filled({50, 40}, Qt::black, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&canvas);
        painter.setClipRect(QRect(6, 8, 20, 11));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        skin.draw(painter, QStringLiteral("base.png"), 3, 2);
        painter.end();
        const QImage composed = expected().convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const bool inside = QRect(6, 8, 20, 11).contains(x, y);
                ASSERT_EQ(canvas.pixel(x, y), inside ? composed.pixel(x - 3, y - 2) : qRgb(0, 0, 0))
                    << x << "," << y;
            }
    }

    // A file cut short under an open composition: drawn from the pictures again, still exact.
    {
        SkinCache skin(m_folder.path(), 1);
        ASSERT_TRUE(skin.composeFromCache(m_composition));
        const std::filesystem::path cache =
            QFile::encodeName(m_composition.cacheFile).toStdString();
        const auto whole = std::filesystem::file_size(cache);
        std::filesystem::resize_file(cache, 100);
        QImage canvas = filled({40, 30}, Qt::black, QImage::Format_ARGB32_Premultiplied);
        QPainter painter(&canvas);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        skin.draw(painter, QStringLiteral("base.png"), 0, 0);
        painter.end();
        EXPECT_EQ(canvas, expected().convertToFormat(QImage::Format_ARGB32_Premultiplied));
        std::filesystem::resize_file(cache, whole);
    }

    // A cache file cut short is not used, and is written whole again.
    const std::filesystem::path cache = QFile::encodeName(m_composition.cacheFile).toStdString();
    std::filesystem::resize_file(cache, std::filesystem::file_size(cache) - 1);
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    EXPECT_FALSE(fromCache);
    EXPECT_TRUE(composedFresh(true, &fromCache) == expected() && fromCache);
}

// The cache is read as untrusted: what is not a regular file is neither read nor written through,
// and the next composition puts a regular file in its place.
TEST_F(SkinCompositionTest, ACacheThatIsNotARegularFileIsRefusedAndReplaced) {
    const std::filesystem::path cache = QFile::encodeName(m_composition.cacheFile).toStdString();
    const std::filesystem::path elsewhere = cache.parent_path() / "elsewhere.raw";
    bool fromCache = true;
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    // A good cache, but behind a symlink.
    std::filesystem::rename(cache, elsewhere);
    std::filesystem::create_symlink(elsewhere, cache);
    const auto bytesOf = [](const std::filesystem::path& path) {
        QFile file(QFile::decodeName(path.c_str()));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray linked = bytesOf(elsewhere);
    composedFresh(true, &fromCache);
    EXPECT_FALSE(fromCache);
    saveOverlay(QColor(10, 10, 200, 255)); // a new key: the store must not land in elsewhere.raw
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    EXPECT_EQ(bytesOf(elsewhere), linked);
    EXPECT_EQ(std::filesystem::symlink_status(cache).type(), std::filesystem::file_type::regular);
    EXPECT_TRUE(composedFresh(true, &fromCache) == expected() && fromCache);

    // A FIFO neither blocks the start nor keeps the cache from being written.
    std::filesystem::remove(cache);
    ASSERT_EQ(::mkfifo(cache.c_str(), 0600), 0);
    composedFresh(true, &fromCache);
    EXPECT_FALSE(fromCache);
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    EXPECT_TRUE(composedFresh(true, &fromCache) == expected() && fromCache);
}

// The larger set: the "@2x" pictures are composed at their own pixels, the cache file is the
// set's own, and a paint reads from it the rows the clip reaches, pixel for pixel.
TEST_F(SkinCompositionTest, TheLargerSetComposesAndStreamsAtItsOwnPixels) {
    ASSERT_TRUE(filled({80, 60}, QColor(90, 30, 40), QImage::Format_RGB32)
                    .save(m_folder.filePath("base@2x.png")));
    QImage overlay = filled({20, 20}, QColor(10, 200, 10, 128), QImage::Format_ARGB32);
    for (int y = 0; y < 20; ++y)
        overlay.setPixelColor(y % 20, y, QColor(255, 255, 0)); // a hairline only 2x can hold
    ASSERT_TRUE(overlay.save(m_folder.filePath("over@2x.png")));
    QImage composed =
        QImage(m_folder.filePath("base@2x.png")).convertToFormat(QImage::Format_RGB888);
    composed.setDevicePixelRatio(1); // composed here in its own pixels
    {
        QPainter painter(&composed);
        QImage over(m_folder.filePath("over@2x.png"));
        over.setDevicePixelRatio(1); // at (5, 7) of the window's pixels
        painter.drawImage(10, 14, over);
    }
    const auto drawnAtRatioTwo = [&](bool expectCached) {
        SkinCache skin(m_folder.path(), 2);
        EXPECT_EQ(skin.composeFromCache(m_composition), expectCached);
        skin.compose(m_composition);
        EXPECT_EQ(skin.size(QStringLiteral("base.png")), QSize(40, 30));
        QImage canvas = filled({100, 80}, Qt::black, QImage::Format_ARGB32_Premultiplied);
        canvas.setDevicePixelRatio(2);
        QPainter painter(&canvas);
        painter.setClipRect(QRect(6, 8, 20, 11));
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        skin.draw(painter, QStringLiteral("base.png"), 3, 2);
        return canvas;
    };
    for (const bool cached : {false, true}) {
        const QImage canvas = drawnAtRatioTwo(cached);
        const QImage expected = composed.convertToFormat(QImage::Format_ARGB32_Premultiplied);
        for (int y = 0; y < canvas.height(); ++y)
            for (int x = 0; x < canvas.width(); ++x) {
                const bool inside = QRect(12, 16, 40, 22).contains(x, y);
                ASSERT_EQ(canvas.pixel(x, y), inside ? expected.pixel(x - 6, y - 4) : qRgb(0, 0, 0))
                    << (cached ? "from the file " : "composed ") << x << "," << y;
            }
    }
    // Before the screens are known, the set whose composition was used last is the likely one.
    EXPECT_EQ(likelyPictureScale(m_composition), 2);
    // The 1x composition keeps its own file.
    bool fromCache = true;
    EXPECT_EQ(composedFresh(false, &fromCache), expected());
    EXPECT_FALSE(fromCache);
    EXPECT_EQ(composedFresh(true, &fromCache), expected());
    EXPECT_TRUE(fromCache);
    EXPECT_EQ(likelyPictureScale(m_composition), 1);
    (void)drawnAtRatioTwo(true);
    EXPECT_EQ(likelyPictureScale(m_composition), 2);
}

} // namespace
} // namespace q905
