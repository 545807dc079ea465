// SPDX-License-Identifier: GPL-3.0-or-later
// Texts drawn from their pictures look as the text drawn directly would, at every scale and
// sub-pixel place; the file keeps what a start drew, for its key only, and a damaged file is
// refused whole; a second start finds the texts of its window in the file the first wrote.
#include "MainWindowHarness.h"

#include "controls/ui/SkinCache.h"
#include "controls/ui/TextPictures.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdlib>

namespace q905 {
namespace {

using testing::WindowHarness;

const QColor kBackground(40, 40, 44);
const QColor kInk(178, 178, 184);

QImage canvas(qreal scale) {
    QImage image(QSize(160, 40) * scale, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(scale);
    image.fill(kBackground);
    return image;
}

// The largest difference of any channel between two pictures of one size.
int largestDifference(const QImage& a, const QImage& b) {
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)),
                                std::abs(qGreen(p) - qGreen(q)), std::abs(qBlue(p) - qBlue(q))});
        }
    return largest;
}

QRect inkOf(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != kBackground.rgb())
                ink |= QRect(x, y, 1, 1);
    return ink;
}

QImage drawnDirectly(qreal scale, const QPointF& shift, const QPointF& at, const QFont& font,
                     const QString& text) {
    QImage image = canvas(scale);
    QPainter painter(&image);
    painter.translate(shift);
    painter.setFont(font);
    painter.setPen(kInk);
    painter.drawText(QRectF(at, QSizeF(1000, 1000)), Qt::AlignLeft | Qt::AlignTop, text);
    return image;
}

QImage drawnFromPicture(TextPictures& pictures, qreal scale, const QPointF& shift,
                        const QPointF& at, const QFont& font, const QString& text) {
    QImage image = canvas(scale);
    QPainter painter(&image);
    painter.translate(shift);
    pictures.draw(painter, at, font, text, kInk);
    return image;
}

QFont stretchedFont() {
    QFont font(QStringLiteral("Arial"));
    font.setPixelSize(10);
    font.setStretch(90);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

TEST(TextPictures, DrawnAsTheTextItselfAtEveryScaleAndPlace) {
    TextPictures pictures;
    for (const qreal scale : {1.0, 1.5, 2.0})
        for (const QFont& font : {skinFont(14), stretchedFont()})
            for (const QPointF at : {QPointF(10, 5), QPointF(10.3, 5.6), QPointF(7.125, 3.5)})
                for (const QPointF shift : {QPointF(0, 0), QPointF(3.5, 2)}) {
                    const QString text = QStringLiteral("Light Direction Wg");
                    const QImage direct = drawnDirectly(scale, shift, at, font, text);
                    const QImage picture = drawnFromPicture(pictures, scale, shift, at, font, text);
                    const QRect ink = inkOf(direct);
                    ASSERT_FALSE(ink.isEmpty());
                    // The same glyphs on the same device pixels; blending twice rounds a level
                    // apart at most.
                    EXPECT_EQ(inkOf(picture), ink)
                        << "scale " << scale << " at " << at.x() << "," << at.y();
                    EXPECT_LE(largestDifference(direct, picture), 2)
                        << "scale " << scale << " at " << at.x() << "," << at.y();
                }
}

TEST(TextPictures, AFileKeepsWhatWasDrawnSinceTheRecordingForItsKeyAlone) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("texts.bin"));
    const QFont font = skinFont(14);
    TextPictures made;
    (void)made.measure(font, QStringLiteral("Before"));
    made.startRecording();
    const TextMeasure apply = made.measure(font, QStringLiteral("Apply"));
    const QImage drawn =
        drawnFromPicture(made, 1.5, {}, QPointF(4.25, 3), font, QStringLiteral("Apply"));
    made.keepRecorded();
    EXPECT_TRUE(made.keptBeyondFile());
    ASSERT_TRUE(made.store(file, "key 1", 1.5));
    EXPECT_FALSE(made.keptBeyondFile());

    EXPECT_TRUE(TextPictures::load(file, "key 2").isEmpty());
    TextPictures loaded = TextPictures::load(file, "key 1");
    ASSERT_FALSE(loaded.isEmpty());
    EXPECT_EQ(loaded.screenScale(), 1.5);
    loaded.startRecording();
    const TextMeasure again = loaded.measure(font, QStringLiteral("Apply"));
    EXPECT_EQ(again.tight, apply.tight);
    EXPECT_EQ(again.ascent, apply.ascent);
    EXPECT_EQ(again.advance, apply.advance);
    EXPECT_EQ(again.height, apply.height);
    EXPECT_EQ(drawnFromPicture(loaded, 1.5, {}, QPointF(4.25, 3), font, QStringLiteral("Apply")),
              drawn);
    loaded.keepRecorded();
    EXPECT_FALSE(loaded.keptBeyondFile()) << "everything came from the file";
    // What was not drawn while recording was not written.
    loaded.startRecording();
    (void)loaded.measure(font, QStringLiteral("Before"));
    loaded.keepRecorded();
    EXPECT_TRUE(loaded.keptBeyondFile());

    // Cut anywhere, or with a count beyond what follows, the file is not used at all.
    QFile whole(file);
    ASSERT_TRUE(whole.open(QIODevice::ReadOnly));
    const QByteArray bytes = whole.readAll();
    const QString damaged = folder.filePath(QStringLiteral("damaged.bin"));
    for (const qsizetype length :
         {qsizetype(0), qsizetype(10), bytes.size() / 2, bytes.size() - 1}) {
        QFile cut(damaged);
        ASSERT_TRUE(cut.open(QIODevice::WriteOnly | QIODevice::Truncate));
        cut.write(bytes.left(length));
        cut.close();
        EXPECT_TRUE(TextPictures::load(damaged, "key 1").isEmpty()) << length << " bytes";
    }
    QFile longer(damaged);
    ASSERT_TRUE(longer.open(QIODevice::WriteOnly | QIODevice::Truncate));
    longer.write(bytes + QByteArray(7, '\0'));
    longer.close();
    EXPECT_TRUE(TextPictures::load(damaged, "key 1").isEmpty());
}

TEST(TextPictures, ASecondStartFindsItsWindowsTextsInTheFileTheFirstWrote) {
    QTemporaryDir folder;
    const QString file = folder.filePath(QStringLiteral("texts.bin"));
    sharedTextPictures() = TextPictures();
    sharedTextPictures().startRecording();
    {
        WindowHarness first;
        first.services.textPicturesFile = file;
        first.services.textPicturesKey = "key";
        first.start();
        EXPECT_TRUE(QTest::qWaitFor([&file] { return QFile::exists(file); }));
    }
    sharedTextPictures() = TextPictures::load(file, "key");
    ASSERT_FALSE(sharedTextPictures().isEmpty());
    {
        // Writing nothing itself, so the file stays the first start's. Which frames come before
        // the start-up read ends depends on the threads; the one after it does not.
        WindowHarness second;
        MainWindow& window = second.start();
        sharedTextPictures().startRecording();
        window.repaint();
    }
    sharedTextPictures().keepRecorded();
    EXPECT_FALSE(sharedTextPictures().keptBeyondFile());
    sharedTextPictures() = TextPictures();
}

} // namespace
} // namespace q905
