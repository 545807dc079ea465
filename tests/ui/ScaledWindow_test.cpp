// SPDX-License-Identifier: GPL-3.0-or-later
// The window on a screen of device pixel ratio 2 (this suite runs under QT_SCALE_FACTOR=2): the
// skin comes from the "@2x" pictures, copied pixel for pixel, never a 1x picture blown up; the
// key labels are written at the screen's resolution.
#include "MainWindowHarness.h"

#include "controls/PictureScale.h"
#include "keys/ui/KeyCapLabels.h"

#include <QFileInfo>
#include <QImage>
#include <QPainter>

namespace q905 {
namespace {

using testing::WindowHarness;

QImage largerPicture(const char* name) {
    return QImage(QString::fromStdString(
                      scaledPictureName(std::string(Q905_SKIN_DIR "/png/english/") + name, 2)))
        .convertToFormat(QImage::Format_RGB32);
}

// The 2x keyboard picture with its labels written at ratio 2, as the window composes it.
QImage labelledKeyboard(QImage keyboard) {
    QImage labelled(QSize(1000, 640) * 2, QImage::Format_ARGB32_Premultiplied);
    labelled.setDevicePixelRatio(2);
    labelled.fill(Qt::black);
    keyboard.setDevicePixelRatio(2);
    QPainter painter(&labelled);
    painter.drawImage(QPoint(kPictureOriginX, kPictureOriginY), keyboard);
    KeyCapLabels(Language::English, nullptr).paint(painter, {});
    painter.end();
    return labelled.copy(QRect(QPoint(kPictureOriginX, kPictureOriginY) * 2, keyboard.size()))
        .convertToFormat(QImage::Format_RGB32);
}

// The window's pixels over a key against the key in the 2x keyboard picture.
void expectKeyFromLargerPicture(const QImage& window, const QImage& keyboard, int index) {
    const KeyEntry& key = KeyTable[static_cast<std::size_t>(index)];
    for (int y = key.top * 2; y < key.bottom * 2; ++y)
        for (int x = key.left * 2; x < key.right * 2; ++x)
            ASSERT_EQ(window.pixel(kPictureOriginX * 2 + x, kPictureOriginY * 2 + y),
                      keyboard.pixel(x, y))
                << "key " << index << " at " << x << "," << y;
}

TEST(AtRatioTwo, KeysAreTheLargerPictureWithTheirLabelsWrittenAtRatioTwo) {
    ASSERT_EQ(qApp->devicePixelRatio(), 2.0) << "run with QT_SCALE_FACTOR=2";
    const QImage blank = largerPicture("kb_BK.png");
    ASSERT_EQ(blank.size(), QSize(1240, 540));
    const QImage keyboard = labelledKeyboard(blank);
    QTemporaryDir cache;
    // Composed from the pictures at the first start, read from the cache file it wrote at the
    // second.
    for (int start = 0; start < 2; ++start) {
        WindowHarness harness;
        harness.services.backgroundCacheFile = cache.filePath(QStringLiteral("background.raw"));
        MainWindow& window = harness.start();
        EXPECT_EQ(window.size(), QSize(1000, 640));
        EXPECT_TRUE(QFileInfo::exists(cache.filePath(QStringLiteral("background@2x.raw"))));
        const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(shown.size(), QSize(2000, 1280));
        // Esc, Q, the L-shaped Enter's lower arm lies in its rectangle too, and keypad 0.
        for (const int key : {0, 42, kMainEnterKeyIndex, 112})
            expectKeyFromLargerPicture(shown, keyboard, key);
        if (::testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace
} // namespace q905
