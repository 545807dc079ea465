// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The skinned windows' texts as small pictures, rendered once per font, text, colour, scale and
// sub-pixel place, and their measurements, both kept between runs. A start that shows only texts
// shown before then draws without loading a single font: the font configuration, its caches and
// the shaping and rasterising libraries are the largest part of a first frame's time and memory.
// Texts are always drawn from their pictures, so a text looks the same whether its picture came
// from the file or was rendered a moment ago.

#include <QByteArray>
#include <QFont>
#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSet>
#include <QString>

class QColor;
class QPainter;
class QPointF;

namespace q905 {

// What QFontMetrics and QFontMetricsF say of a text in a font.
struct TextMeasure {
    QRect tight;       // tightBoundingRect, from the baseline's origin
    int ascent = 0;    // the font's ascent, whole pixels
    qreal advance = 0; // horizontalAdvance
    qreal height = 0;  // the font's line height
};

class TextPictures {
  public:
    const TextMeasure& measure(const QFont& font, const QString& text);
    // The text as QPainter::drawText lays it out with AlignLeft | AlignTop in a rectangle whose
    // top-left corner is topLeft. Under a rotating or shearing painter it is drawn directly.
    void draw(QPainter& painter, const QPointF& topLeft, const QFont& font, const QString& text,
              const QColor& colour);

    // From here on, which measurements and pictures are used is noted.
    void startRecording();
    // What was used since the recording started joins what store() writes; the recording ends.
    void keepRecorded();
    // Whether store() would write something the file does not hold.
    bool keptBeyondFile() const;

    // What a file holds when it was written for this program under this font setup: the
    // program's and Qt's versions and when the font configuration and caches last changed.
    static QByteArray environmentKey();
    // Empty when the file is missing, damaged or of another key. The measurements hold for the
    // screen scale they were made at (screenScale()).
    static TextPictures load(const QString& file, const QByteArray& key);
    qreal screenScale() const { return m_screenScale; }
    // Written beside and renamed into place. False when it could not be written.
    bool store(const QString& file, const QByteArray& key, qreal screenScale);

    bool isEmpty() const { return m_measures.isEmpty() && m_pictures.isEmpty(); }
    qsizetype pictureCount() const { return m_pictures.size(); }

  private:
    struct Picture {
        QImage image;  // device pixels, premultiplied
        QPoint offset; // of its top-left from the whole device pixel the text starts in
    };
    Picture render(const QFont& font, const QString& text, const QColor& colour, qreal scale,
                   const QPointF& fraction);
    void note(QSet<QString>& used, const QString& key);

    QHash<QString, TextMeasure> m_measures;
    QHash<QString, Picture> m_pictures;
    qsizetype m_pictureBytes = 0;
    qreal m_screenScale = 0;
    bool m_recording = false;
    QSet<QString> m_usedMeasures;
    QSet<QString> m_usedPictures;
    QSet<QString> m_keptMeasures;
    QSet<QString> m_keptPictures;
    // What the file holds, as loaded or last stored.
    QSet<QString> m_fileMeasures;
    QSet<QString> m_filePictures;
};

// The one set the process draws with.
TextPictures& sharedTextPictures();

} // namespace q905
