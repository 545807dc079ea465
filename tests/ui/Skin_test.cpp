// SPDX-License-Identifier: GPL-3.0-or-later
// The skin pictures the build draws: every picture the windows load exists in both languages
// at the size the window's rectangles expect, and the keyboard pictures match the key table.
#include "controls/PictureScale.h"
#include "keys/KeyTable.h"

#include <QDirIterator>
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

namespace q905 {
namespace {

const QString kSkinRoot = QStringLiteral(Q905_SKIN_DIR "/png/");

QImage skinPicture(const QString& language, const QString& name) {
    return QImage(kSkinRoot + language + QLatin1Char('/') + name);
}

struct ExpectedPicture {
    const char* name;
    int width, height;
};

// Sizes the window code relies on: regions it hit-tests, tracks it stitches, copies it takes.
const std::vector<ExpectedPicture> kFixedSizes{
    {"main.png", 1000, 640},
    {"button-help-normal.png", 17, 16},
    {"button-min-normal.png", 17, 16},
    {"button-close-normal.png", 17, 16},
    {"HelpWindow.png", 167, 78},
    {"apply.png", 59, 24},
    {"Config.png", 59, 24},
    {"MacroButton3.png", 58, 23},
    {"Light_Item.png", 221, 16},
    {"8.png", 20, 20},
    {"Direction-T-Enable.png", 36, 16},
    {"Direction-T-Disable.png", 36, 16},
    {"Direction-B-Enable.png", 36, 16},
    {"Direction-B-Disable.png", 36, 16},
    {"Direction-R-Enable.png", 36, 16},
    {"Direction-R-Disable.png", 36, 16},
    {"Direction-L-Enable.png", 36, 16},
    {"Direction-L-Disable.png", 36, 16},
    {"Enable.png", 16, 16},
    {"Disable.png", 16, 16},
    {"Track-Filled.png", 220, 17},
    {"Track-Empty.png", 220, 17},
    {"Thumb.png", 15, 14},
    {"MacroManagement/MacroManagement.png", 384, 402},
    {"MacroManagement/Record-normal.png", 106, 25},
    {"MacroManagement/Record-over.png", 106, 25},
    {"MacroManagement/Pane.png", 15, 15},
    {"MacroManagement/PaneMakingTick.png", 15, 15},
    {"MacroManagement/button-new-normal.png", 58, 25},
    {"MacroManagement/button-new-over.png", 58, 25},
    {"Config/Profile_BK.png", 390, 395},
    {"Config/button-close-normal.png", 7, 8},
};

class SkinLanguage : public ::testing::TestWithParam<const char*> {
  protected:
    QImage picture(const char* name) const {
        return skinPicture(QLatin1String(GetParam()), QLatin1String(name));
    }
};

TEST_P(SkinLanguage, EveryFixedSizePictureExistsAtItsSize) {
    for (const ExpectedPicture& expected : kFixedSizes) {
        const QImage image = picture(expected.name);
        ASSERT_FALSE(image.isNull()) << expected.name;
        EXPECT_EQ(image.size(), QSize(expected.width, expected.height)) << expected.name;
    }
}

TEST_P(SkinLanguage, ScalesAndColourDialogCoverTheirPlaces) {
    // The scales are drawn one pixel left of the 220-pixel tracks they label.
    for (const char* name : {"responsetime_txt.png", "reportRate_txt.png"}) {
        const QImage scale = picture(name);
        ASSERT_FALSE(scale.isNull()) << name;
        EXPECT_GE(scale.width(), 221) << name;
    }
    // The dialog sizes itself to the picture: the spectrum (to x 330), the buttons (to y 201)
    // and the close mark (x 322..327) must lie inside it.
    const QImage dialog = picture("Color_BK.png");
    ASSERT_FALSE(dialog.isNull());
    EXPECT_GT(dialog.width(), 331);
    EXPECT_GT(dialog.height(), 202);
}

TEST_P(SkinLanguage, KeyboardPictureHoldsEveryKeyAndHighlightSharesItsGeometry) {
    const QImage base = picture("kb_BK.png");
    const QImage lit = picture("kb_hl.png");
    ASSERT_FALSE(base.isNull());
    ASSERT_EQ(lit.size(), base.size());
    for (const KeyEntry& key : KeyTable) {
        if (key.isPlaced()) {
            EXPECT_LT(key.right, base.width());
            EXPECT_LT(key.bottom, base.height());
        }
    }

    // The case shows between Esc and F1; the highlight picture must not differ there, only on
    // the keys the window copies from it.
    const QPoint casePoint((KeyTable[0].right + KeyTable[1].left) / 2,
                           (KeyTable[0].top + KeyTable[0].bottom) / 2);
    const QRgb caseColour = base.pixel(casePoint);
    EXPECT_EQ(lit.pixel(casePoint), caseColour);
    for (int index : {0, kMainEnterKeyIndex, 62, 74, 98, kKeypadEnterKeyIndex, 106, 112}) {
        const KeyEntry& key = KeyTable[static_cast<std::size_t>(index)];
        // A point near the keycap's back right corner, away from its label (and inside the
        // upper arm of the L-shaped Enter key).
        const QPoint onKey(key.right - 4, key.top + 3);
        EXPECT_NE(base.pixel(onKey), caseColour) << "key " << index;
        EXPECT_NE(lit.pixel(onKey), base.pixel(onKey)) << "key " << index;
    }
}

TEST_P(SkinLanguage, LeftPanelIsTheTextBackgroundWhereThePanelWritesText) {
    const QImage main = picture("main.png");
    ASSERT_FALSE(main.isNull());
    // Spots inside the panel's texts ("Lighting", "Brightness", "RESPONSE TIME", "Game Mode").
    for (QPoint spot : {QPoint(60, 92), QPoint(60, 212), QPoint(80, 466), QPoint(60, 582)})
        EXPECT_EQ(QColor(main.pixel(spot)), QColor(53, 53, 53)) << spot.x() << "," << spot.y();
}

TEST_P(SkinLanguage, SliderTracksAreOpaque) {
    // A moved slider is redrawn by drawing the tracks over the old thumb: a transparent pixel
    // would leave the old thumb showing.
    for (const char* name : {"Track-Filled.png", "Track-Empty.png"}) {
        const QImage track = picture(name).convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(track.isNull()) << name;
        for (int y = 0; y < track.height(); ++y)
            for (int x = 0; x < track.width(); ++x)
                ASSERT_EQ(qAlpha(track.pixel(x, y)), 255) << name << " at " << x << "," << y;
    }
}

TEST_P(SkinLanguage, EveryPictureHasATwinTwiceAsLargeShowingTheSame) {
    const QString folder = kSkinRoot + QLatin1String(GetParam()) + QLatin1Char('/');
    QDirIterator files(folder, {QStringLiteral("*.png")}, QDir::Files,
                       QDirIterator::Subdirectories);
    int pictures = 0;
    while (files.hasNext()) {
        const QString path = files.next();
        if (isScaledPictureName(path.toStdString()))
            continue;
        ++pictures;
        const QString name = path.mid(folder.size());
        const QImage small = QImage(path).convertToFormat(QImage::Format_ARGB32);
        const QImage large =
            QImage(QString::fromStdString(scaledPictureName(path.toStdString(), 2)))
                .convertToFormat(QImage::Format_ARGB32);
        ASSERT_FALSE(large.isNull()) << name.toStdString() << " has no @2x twin";
        ASSERT_EQ(large.size(), small.size() * 2) << name.toStdString();
        // The same drawing, only finer: brought down to 1x, each pixel of the 1x picture is
        // found within a pixel of where it was; only edges and glyphs may fall a little apart.
        const QImage reduced =
            large.scaled(small.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
        const auto near = [](QRgb a, QRgb b) {
            constexpr int kTolerance = 40;
            return std::abs(qRed(a) - qRed(b)) <= kTolerance &&
                   std::abs(qGreen(a) - qGreen(b)) <= kTolerance &&
                   std::abs(qBlue(a) - qBlue(b)) <= kTolerance &&
                   std::abs(qAlpha(a) - qAlpha(b)) <= kTolerance;
        };
        int misplaced = 0;
        for (int y = 0; y < small.height(); ++y)
            for (int x = 0; x < small.width(); ++x) {
                bool found = false;
                for (int dy = -1; dy <= 1 && !found; ++dy)
                    for (int dx = -1; dx <= 1 && !found; ++dx)
                        found = reduced.rect().contains(x + dx, y + dy) &&
                                near(small.pixel(x, y), reduced.pixel(x + dx, y + dy));
                misplaced += found ? 0 : 1;
            }
        EXPECT_LE(misplaced, small.width() * small.height() / 25)
            << name.toStdString() << ": " << misplaced << " pixels differ";
    }
    EXPECT_GT(pictures, 40);
}

INSTANTIATE_TEST_SUITE_P(BothLanguages, SkinLanguage, ::testing::Values("english", "german"));

} // namespace
} // namespace q905
