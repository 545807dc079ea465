#pragma once
// The list of the skinned dialogs: rows drawn over a picture (the part of the dialog's
// background under the list) as bold text with a drop shadow, selected rows in a colour of their
// own, and in the event-list mode small arrows and a clock for key and delay rows. A double
// click edits a row in place; the edit reports its start and its end to the owner.

#include "controls/ui/InPlaceEditor.h"

#include <QImage>
#include <QListWidget>
#include <QPointer>

namespace q905 {

class SkinListBox final : public QListWidget {
    Q_OBJECT
  public:
    enum class EditMode {
        Plain,    // the text as typed
        Delay,    // macro events: only delay rows, digits, held to 2..60000 ms
        FileName, // ".bin" appended when missing
        Rename,   // the owner hears of every changed text
    };

    explicit SkinListBox(QWidget* parent = nullptr);

    // Font (bold Arial at that pixel height), text and selected-text colours, and the shadow.
    void setTextFont(int pixelHeight, const QString& face, const QColor& text,
                     const QColor& selectedText, bool shadowOn, const QColor& shadow,
                     int shadowOffset);
    void setEditMode(EditMode mode) { m_mode = mode; }
    EditMode editMode() const { return m_mode; }
    // What the rows are drawn on; scaled to the list's size when it differs.
    void setBackground(const QImage& picture);
    // The longest text the editor takes; 0 for no limit.
    void setMaxEditLength(int length) { m_maxEditLength = length; }

    int addRow(const QString& text);
    int insertRowAt(int index, const QString& text);
    QStringList rowTexts() const;
    // -1 when no row is selected.
    int selectedRow() const;
    void selectRow(int row);

    // Opens the editor on a row, as a double click on it does; false when the row is not
    // editable in this mode.
    bool beginEdit(int row);
    // Ends an open edit (nothing when none is open).
    void endEdit(bool commit);
    InPlaceEditor* editor() const { return m_editor; }
    int itemBeingEdited() const { return m_itemBeingEdited; }

    // The row as drawn: its text without "dn" or "up" in the event-list mode, and its icon.
    enum class RowIcon { None, Down, Up, Clock };
    static QString displayText(const QString& text, EditMode mode, RowIcon* icon = nullptr);

  signals:
    void editBegin();
    // Delay mode: the edited row and its new delay in ms. File-name and rename modes: the row the
    // edit started on and its index afterwards, sent only when the text changed.
    void editDone(int row, int value);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    class RowPainter;

    EditMode m_mode = EditMode::Plain;
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
