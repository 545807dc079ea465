// SPDX-License-Identifier: GPL-3.0-or-later
// Pictures decoded with libpng show exactly what Qt's own loading shows, whatever kind of PNG
// they are stored as, and a broken file gives no picture rather than a wrong one.
#include "controls/ui/PngDecoder.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <optional>

namespace q905 {
namespace {

QImage gradient(QImage::Format format, bool transparent) {
    QImage picture(23, 9, QImage::Format_ARGB32);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            picture.setPixel(
                x, y, qRgba(x * 11, y * 28, (x * y) % 256, transparent ? (x * 37) % 256 : 255));
    return picture.convertToFormat(format);
}

// The largest difference of any channel of any pixel.
int largestDifference(const QImage& a, const QImage& b) {
    if (a.size() != b.size())
        return 256;
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            for (int shift : {0, 8, 16, 24})
                largest = std::max(largest,
                                   std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF)));
        }
    return largest;
}

TEST(PngDecoder, EveryKindOfPngMatchesQtsLoading) {
    QTemporaryDir folder;
    const struct {
        const char* name;
        QImage picture;
        std::optional<QImage::Format> expected; // the palette may come with a transparency entry
        int tolerance; // Qt premultiplies 16-bit pictures before it narrows them
    } cases[] = {
        {"rgb", gradient(QImage::Format_RGB32, false), QImage::Format_RGB888, 0},
        {"rgba", gradient(QImage::Format_ARGB32, true), QImage::Format_ARGB32_Premultiplied, 0},
        {"grey", gradient(QImage::Format_Grayscale8, false), QImage::Format_RGB888, 0},
        {"deep", gradient(QImage::Format_RGBA64, true), QImage::Format_ARGB32_Premultiplied, 1},
        {"palette", gradient(QImage::Format_Indexed8, false), std::nullopt, 0},
    };
    for (const auto& c : cases) {
        const QString file = folder.filePath(QString::fromLatin1(c.name) + ".png");
        ASSERT_TRUE(c.picture.save(file, "PNG")) << c.name;
        const QImage decoded = decodePng(file);
        if (c.expected) {
            ASSERT_EQ(decoded.format(), *c.expected) << c.name;
        }
        EXPECT_LE(
            largestDifference(decoded.convertToFormat(QImage::Format_ARGB32_Premultiplied),
                              QImage(file).convertToFormat(QImage::Format_ARGB32_Premultiplied)),
            c.tolerance)
            << c.name;
    }

    // Cut short, not a PNG, not there.
    const QString whole = folder.filePath("rgba.png");
    QFile source(whole);
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QByteArray bytes = source.readAll();
    for (const auto& [name, contents] : {std::pair{"cut.png", bytes.left(bytes.size() / 2)},
                                         std::pair{"text.png", QByteArray("hello")}}) {
        QFile broken(folder.filePath(name));
        ASSERT_TRUE(broken.open(QIODevice::WriteOnly));
        broken.write(contents);
        broken.close();
        EXPECT_TRUE(decodePng(broken.fileName()).isNull()) << name;
    }
    EXPECT_TRUE(decodePng(folder.filePath("missing.png")).isNull());
}

} // namespace
} // namespace q905
