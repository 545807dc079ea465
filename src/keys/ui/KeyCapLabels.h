// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The labels on the keyboard picture's blank keycaps: what the keys type in the user's layout,
// the named keys in the window's language. Written as text at paint time, so they are as sharp
// as the screen whatever its scale.

#include "base/Language.h"
#include "keys/KeyTable.h"

#include <QFont>
#include <QPointF>
#include <QRectF>
#include <QStaticText>
#include <QString>

#include <array>

class QPainter;

namespace q905 {

class KeyboardLayout;

class KeyCapLabels {
  public:
    // layout: nullptr names the character keys as US keycaps do.
    KeyCapLabels(Language language, const KeyboardLayout* layout);

    // Every placed key's label at its place in the window; a lit key (hovered or marked, its
    // highlighted picture showing) gets the bright label.
    void paint(QPainter& painter, const std::array<bool, kKeyCount>& lit) const;
    // One key's label in that colour, over a per-key colour: at its place in the key table.
    void paint(QPainter& painter, int key, const QColor& colour) const;
    // What the key's cap says; empty for unplaced keys.
    const QString& text(int key) const { return m_labels[static_cast<std::size_t>(key)].text; }
    // The key's name for screen readers: full words, one key each.
    const QString& spokenName(int key) const {
        return m_labels[static_cast<std::size_t>(key)].spoken;
    }

  private:
    struct Label;
    static void draw(QPainter& painter, const Label& label, const QColor& colour);

    struct Label {
        QString text;
        QStaticText prepared; // laid out once in its fitted font
        QString spoken;
        QFont font;
        QPointF at;   // top-left in the window
        QRectF place; // the key's face in the window
        // Over a per-key colour.
        QFont colourFont;
        QPointF colourAt; // the baseline's start
    };
    std::array<Label, kKeyCount> m_labels;
};

} // namespace q905
