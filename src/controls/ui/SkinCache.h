#pragma once
// Skin pictures are decoded once and kept: a repaint only composes.

#include <QHash>
#include <QImage>
#include <QRect>
#include <QSet>
#include <QString>

class QFont;
class QPainter;

namespace q905 {

class SkinCache {
  public:
    // folder: the language's skin folder, e.g. <assets>/png/english
    explicit SkinCache(QString folder);

    const QString& folder() const { return m_folder; }
    // The picture of that name (a path relative to the folder, "Custom/Custom_BK.png" for a
    // dialog's sub-folder); a null image when it is missing.
    const QImage& image(const QString& name);
    // The part of the picture that shows: neither transparent nor, in an opaque picture, the
    // colour of its top-left corner. Relative to that corner.
    QRect inkRect(const QString& name);
    // Copies the picture at its natural size with its top-left corner at (x, y).
    void draw(QPainter& painter, const QString& name, int x, int y);
    // Puts a picture of that name in place of the skin's.
    void setImage(const QString& name, QImage picture) {
        m_images.insert(name, std::move(picture));
    }
    // Draws the overlay onto the base picture once, its top-left corner at (x, y), and lets
    // the overlay go: a picture always drawn at the same place need not stay decoded. Once
    // drawn, an overlay is not drawn onto that base again.
    void flatten(const QString& base, const QString& overlay, int x, int y);

  private:
    QString m_folder;
    QHash<QString, QImage> m_images;
    QHash<QString, QRect> m_inkRects;
    QSet<QString> m_flattened; // "base|overlay"
};

// The font of the skinned windows' texts at that height.
QFont skinFont(int pixelHeight);

// Texts of the skinned windows: "Arial" (fontconfig gives Liberation Sans), light weight,
// height in pixels, transparent background.
void drawSkinText(QPainter& painter, const QString& text, int x, int y, const QColor& colour,
                  int pixelHeight);

} // namespace q905
