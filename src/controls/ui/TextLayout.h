// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Texts of a composed window that keep clear of each other. Each text keeps its place; where it
// would run into a text placed before it, into a control, or out of its panel, it is drawn
// smaller, never taller than its given height. The boxes are the texts' ink.

#include <QColor>
#include <QRect>
#include <QString>

#include <vector>

class QPainter;

namespace q905 {

struct PlacedText {
    QString text;
    QRect box;      // the ink, in window pixels
    QRect panel;    // what the text must stay inside
    int height = 0; // the height it was drawn at
    int givenHeight = 0;
};

class TextLayout {
  public:
    // Below this height a text is drawn even when it still collides (and a test will say so).
    static constexpr int kSmallestHeight = 8;

    // A new composition: no texts, no controls.
    void clear();
    // Something drawn that texts must not cover: a button, a mark, a slider, a swatch.
    void addControl(const QRect& control);

    // Draws the text with its top-left corner at (x, y), at the largest height up to
    // givenHeight that keeps it inside the panel and clear of the controls and earlier texts.
    void draw(QPainter& painter, const QString& text, int x, int y, const QColor& colour,
              int givenHeight, const QRect& panel);

    const std::vector<PlacedText>& texts() const { return m_texts; }
    const std::vector<QRect>& controls() const { return m_controls; }

  private:
    bool fits(const QRect& box, const QRect& panel) const;

    std::vector<PlacedText> m_texts;
    std::vector<QRect> m_controls;
};

// The ink box of a skin text drawn at (x, y) with that height.
QRect skinTextBox(const QString& text, int x, int y, int pixelHeight);

} // namespace q905
