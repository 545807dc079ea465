// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Skin pictures are decoded once and kept: a repaint only composes.

#include <QByteArray>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QString>

#include <memory>
#include <vector>

class QFont;
class QSize;
class QPainter;

namespace q905 {

class CachedPictureRows;

// A picture always drawn at the same place over another.
struct SkinOverlay {
    QString name;
    QPoint at;
};

struct SkinComposition {
    QString base; // its picture becomes the composition
    std::vector<SkinOverlay> overlays;
    QString cacheFile; // empty: not kept between runs
};

// The picture set the screens need: 2 ("@2x") when any screen has a device pixel ratio above 1,
// else 1. Without an application object, 1.
int pictureScaleForScreens();

struct SkinComposition;

// The set the screens will likely need, before they are known: the one QT_SCALE_FACTOR or
// QT_SCREEN_SCALE_FACTORS asks for, else the one whose cached composition was used last.
int likelyPictureScale(const SkinComposition& composition);

class SkinCache {
  public:
    // folder: the language's skin folder, e.g. <assets>/png/english. scale: which set is loaded
    // (1, or 2 for the "@2x" pictures).
    explicit SkinCache(QString folder, int scale = pictureScaleForScreens());

    const QString& folder() const { return m_folder; }
    int scale() const { return m_scale; }
    // Another set: whatever was decoded or composed for the old one is dropped.
    void setScale(int scale);
    // The picture of that name (a path relative to the folder, "Custom/Custom_BK.png" for a
    // dialog's sub-folder), from the set of the cache's scale and carrying that device pixel
    // ratio; the 1x picture when the set lacks it; a null image when it is missing.
    const QImage& image(const QString& name);
    // The part of the picture that shows: neither transparent nor, in an opaque picture, the
    // colour of its top-left corner. Relative to that corner, in window pixels.
    QRect inkRect(const QString& name);
    // Copies the picture at its natural size with its top-left corner at (x, y), as far as the
    // painter's clip reaches (the painter may only be scaled to the device).
    void draw(QPainter& painter, const QString& name, int x, int y);
    // The picture's size in window pixels, without decoding or reading it whole.
    QSize size(const QString& name);
    // Puts a picture of that name in place of the skin's.
    void setImage(const QString& name, QImage picture) {
        m_images.insert(name, std::move(picture));
    }
    // The base picture with the overlays drawn on it, done once; the overlays are not kept
    // decoded. From the cache file when that was made from the same files (nothing is decoded
    // then, and the composition is drawn from the file, never held whole), otherwise composed
    // and written there. Composing paints: it needs the application
    // object. Nothing happens while the base picture is missing.
    void compose(const SkinComposition& composition);
    // Only from the cache file; false when that could not be used.
    bool composeFromCache(const SkinComposition& composition);
    // A picture drawn into a composition, which need not be decoded.
    bool composedAway(const QString& name) const { return m_composedAway.contains(name); }

  private:
    QString m_folder;
    int m_scale = 1;
    QHash<QString, QImage> m_images;
    QHash<QString, QRect> m_inkRects;
    QSet<QString> m_composed; // bases
    QHash<QString, SkinComposition> m_compositions;
    QHash<QString, std::shared_ptr<CachedPictureRows>> m_streamed;
    QSet<QString> m_composedAway;

    // The file a picture is read from: the scaled set's, or the 1x file where that is missing.
    QString fileOf(const QString& name) const;
    QString cacheFileOf(const SkinComposition& composition) const;
    QByteArray compositionKey(const SkinComposition& composition) const;
    void composed(const SkinComposition& composition, QImage picture);
    // A streamed picture whose file failed: composed again in memory.
    void recompose(const QString& base);
};

// The font of the skinned windows' texts at that height.
QFont skinFont(int pixelHeight);

// Texts of the skinned windows: "Arial" (fontconfig gives Liberation Sans), light weight,
// height in pixels, transparent background.
void drawSkinText(QPainter& painter, const QString& text, int x, int y, const QColor& colour,
                  int pixelHeight);

} // namespace q905
