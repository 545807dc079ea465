// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The list of the skinned dialogs: rows drawn over a picture (the part of the dialog's
// background under the list) as bold text with a drop shadow, selected rows in a colour of their
// own, and a small icon where the owner gives a row one (arrows, a clock). A double click or F2
// edits a row in place; the edit reports its start and its end to the owner.

#include "controls/ui/InPlaceEditor.h"

#include <QImage>
#include <QListWidget>
#include <QPointer>

namespace q905 {

class SkinListBox final : public QListWidget {
    Q_OBJECT
  public:
    enum class EditMode {
        Rename, // any row, any text; the owner hears of every changed text
        Number, // only the rows added as editable: digits, held to the number range
    };
    // Drawn at a row's right edge.
    enum class RowIcon { None, Down, Up, Clock };

    explicit SkinListBox(QWidget* parent = nullptr);

    // Font (bold Arial at that pixel height), text and selected-text colours, and the shadow.
    void setTextFont(int pixelHeight, const QString& face, const QColor& text,
                     const QColor& selectedText, bool shadowOn, const QColor& shadow,
                     int shadowOffset);
    void setEditMode(EditMode mode) { m_mode = mode; }
    // The number mode's range and the unit shown after the number ("50 ms").
    void setNumberRange(int minimum, int maximum, const QString& unit);
    // What the rows are drawn on; scaled to the list's size when it differs.
    void setBackground(const QImage& picture);
    // The longest text the editor takes; 0 for no limit.
    void setMaxEditLength(int length) { m_maxEditLength = length; }

    // The new row's index. Only an editable row opens the editor in the number mode.
    int addRow(const QString& text, RowIcon icon = RowIcon::None, bool editable = true);
    static RowIcon rowIcon(const QListWidgetItem& item);
    QStringList rowTexts() const;
    // -1 when no row is selected.
    int selectedRow() const;
    void selectRow(int row);

    // Opens the editor on a row, as a double click or F2 on it does; false when the row is not
    // editable in this mode.
    bool beginEdit(int row);
    // Ends an open edit (nothing when none is open).
    void endEdit(bool commit);
    InPlaceEditor* editor() const { return m_editor; }

  signals:
    void editBegin();
    // Number mode: the edited row and its number. Rename mode: the row the edit started on and
    // its index afterwards, sent only when the text changed.
    void editDone(int row, int value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    class RowPainter;

    EditMode m_mode = EditMode::Rename;
    int m_minimum = 0, m_maximum = 0;
    QString m_unit;
    QImage m_background;
    QColor m_text{Qt::white}, m_selectedText{0, 255, 255}, m_shadow{Qt::black};
    bool m_shadowOn = false;
    int m_shadowOffset = 3;
    int m_maxEditLength = 0;
    QPointer<InPlaceEditor> m_editor;
    int m_itemBeingEdited = -1;
    int m_editStartRow = -1;
};

} // namespace q905
