// SPDX-License-Identifier: GPL-3.0-or-later
#include "controls/ui/SkinListBox.h"

#include "controls/ui/InPlaceEditor.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>

#include <algorithm>

namespace q905 {

namespace {

constexpr int kIconRole = Qt::UserRole;
// The icon's left edge lies this far left of the row's right edge.
constexpr int kIconInset = 20;

// A transparent icon at the screens' scale: drawn in window pixels, sharp on a scaled screen.
QImage newIcon(int width, int height) {
    const int scale = pictureScaleForScreens();
    QImage icon(width * scale, height * scale, QImage::Format_ARGB32_Premultiplied);
    icon.setDevicePixelRatio(scale);
    icon.fill(Qt::transparent);
    return icon;
}

// The row icons: arrows 10 x 14, the clock 14 x 14.
QImage arrowIcon(bool down) {
    QImage icon = newIcon(10, 14);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(down ? QColor(90, 220, 120) : QColor(240, 170, 60));
    QPainterPath path;
    if (down) {
        path.addRect(3.5, 0.5, 3, 7);
        path.moveTo(0.5, 7);
        path.lineTo(9.5, 7);
        path.lineTo(5, 13.5);
    } else {
        path.addRect(3.5, 6.5, 3, 7);
        path.moveTo(0.5, 7);
        path.lineTo(9.5, 7);
        path.lineTo(5, 0.5);
    }
    path.setFillRule(Qt::WindingFill);
    painter.drawPath(path);
    return icon;
}

QImage clockIcon() {
    QImage icon = newIcon(14, 14);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(QColor(230, 230, 235), 1.2));
    painter.setBrush(QColor(40, 40, 46));
    painter.drawEllipse(QRectF(1, 1, 12, 12));
    painter.setPen(QPen(QColor(0, 255, 255), 1.2, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(QPointF(7, 7), QPointF(7, 3.5));
    painter.drawLine(QPointF(7, 7), QPointF(9.5, 8.5));
    return icon;
}

const QImage& iconImage(SkinListBox::RowIcon icon) {
    static const QImage down = arrowIcon(true);
    static const QImage up = arrowIcon(false);
    static const QImage clock = clockIcon();
    static const QImage none;
    switch (icon) {
    case SkinListBox::RowIcon::Down:
        return down;
    case SkinListBox::RowIcon::Up:
        return up;
    case SkinListBox::RowIcon::Clock:
        return clock;
    case SkinListBox::RowIcon::None:
        break;
    }
    return none;
}

} // namespace

// Draws one row: shadow, text, icon. Nothing else: the selection shows only in the text colour.
class SkinListBox::RowPainter final : public QStyledItemDelegate {
  public:
    explicit RowPainter(SkinListBox& list) : QStyledItemDelegate(&list), m_list(list) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {m_list.viewport()->width(), QFontMetrics(m_list.font()).height()};
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const auto icon = static_cast<RowIcon>(index.data(kIconRole).toInt());
        const QString text = index.data().toString();
        const bool enabled = m_list.isEnabled();
        const bool selected = option.state.testFlag(QStyle::State_Selected);
        const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs;
        painter->save();
        painter->setFont(m_list.font());
        if (m_list.m_shadowOn) {
            painter->setPen(enabled ? m_list.m_shadow : QColor(Qt::white));
            painter->drawText(option.rect.translated(m_list.m_shadowOffset, m_list.m_shadowOffset),
                              flags, text);
        }
        painter->setPen(!enabled   ? QColor(Qt::black)
                        : selected ? m_list.m_selectedText
                                   : m_list.m_text);
        painter->drawText(option.rect, flags, text);
        const QImage& picture = iconImage(icon);
        if (!picture.isNull())
            painter->drawImage(option.rect.right() + 1 - kIconInset, option.rect.top(), picture);
        painter->restore();
    }

  private:
    SkinListBox& m_list;
};

SkinListBox::SkinListBox(QWidget* parent) : QListWidget(parent) {
    setItemDelegate(new RowPainter(*this));
    setFrameShape(QFrame::NoFrame);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    setUniformItemSizes(true);
    viewport()->setAutoFillBackground(false);
    setAutoFillBackground(false);
    QPalette colours = palette();
    colours.setColor(QPalette::Base, Qt::transparent);
    setPalette(colours);
    // The selection changes only the text colour; the whole list is redrawn so that no stale
    // row stays behind.
    connect(this, &QListWidget::itemSelectionChanged, viewport(), qOverload<>(&QWidget::update));
}

void SkinListBox::setTextFont(int pixelHeight, const QString& face, const QColor& text,
                              const QColor& selectedText, bool shadowOn, const QColor& shadow,
                              int shadowOffset) {
    QFont rowFont(face);
    rowFont.setPixelSize(pixelHeight);
    rowFont.setWeight(QFont::Bold);
    setFont(rowFont);
    m_text = text;
    m_selectedText = selectedText;
    m_shadowOn = shadowOn;
    m_shadow = shadow;
    m_shadowOffset = shadowOffset;
    doItemsLayout();
    viewport()->update();
}

void SkinListBox::setBackground(const QImage& picture) {
    m_background = picture;
    viewport()->update();
}

void SkinListBox::setNumberRange(int minimum, int maximum, const QString& unit) {
    m_minimum = minimum;
    m_maximum = maximum;
    m_unit = unit;
}

int SkinListBox::addRow(const QString& text, RowIcon icon, bool editable) {
    auto* row = new QListWidgetItem(text, this);
    row->setData(kIconRole, static_cast<int>(icon));
    if (editable)
        row->setFlags(row->flags() | Qt::ItemIsEditable);
    return count() - 1;
}

SkinListBox::RowIcon SkinListBox::rowIcon(const QListWidgetItem& item) {
    return static_cast<RowIcon>(item.data(kIconRole).toInt());
}

QStringList SkinListBox::rowTexts() const {
    QStringList texts;
    for (int row = 0; row < count(); ++row)
        texts << item(row)->text();
    return texts;
}

int SkinListBox::selectedRow() const {
    const QList<QListWidgetItem*> items = selectedItems();
    return items.isEmpty() ? -1 : row(items.front());
}

void SkinListBox::selectRow(int row) {
    if (row < 0 || row >= count()) {
        clearSelection();
        setCurrentRow(-1);
        return;
    }
    setCurrentRow(row, QItemSelectionModel::ClearAndSelect);
    scrollToItem(item(row));
}

bool SkinListBox::beginEdit(int row) {
    if (row < 0 || row >= count())
        return false;
    const QString text = item(row)->text();
    if (!item(row)->flags().testFlag(Qt::ItemIsEditable))
        return false;
    endEdit(true);
    emit editBegin();

    auto* editor = new InPlaceEditor(viewport());
    editor->setFont(font());
    // Opaque, unlike the list it sits on: the row's own text must not show through.
    QPalette colours = editor->palette();
    colours.setColor(QPalette::Base, QColor(10, 10, 12));
    colours.setColor(QPalette::Text, m_text);
    editor->setPalette(colours);
    editor->setAutoFillBackground(true);
    editor->setGeometry(visualItemRect(item(row)).adjusted(0, -2, 0, 2));
    if (m_mode == EditMode::Number) {
        editor->setValidator(new QRegularExpressionValidator(
            QRegularExpression(QStringLiteral("\\d{0,9}")), editor));
        editor->setText(QString(text).remove(m_unit).trimmed());
    } else {
        editor->setText(text);
    }
    if (m_maxEditLength > 0)
        editor->setMaxLength(m_maxEditLength);
    m_itemBeingEdited = m_editStartRow = row;
    m_editor = editor;
    connect(editor, &InPlaceEditor::endRequested, this, &SkinListBox::endEdit);
    editor->show();
    editor->selectAll();
    editor->setFocus(Qt::MouseFocusReason);
    return true;
}

void SkinListBox::endEdit(bool commit) {
    if (m_editor.isNull())
        return;
    InPlaceEditor* editor = m_editor;
    m_editor = nullptr; // the editor's focus loss below must not end the edit twice
    const int row = m_itemBeingEdited;
    const int startRow = m_editStartRow;
    m_itemBeingEdited = -1;
    QString newText = editor->text();
    setFocus(Qt::OtherFocusReason);
    editor->hide();
    editor->deleteLater();
    if (!commit || row < 0 || row >= count())
        return;

    const QString oldText = item(row)->text();
    int number = 0;
    if (m_mode == EditMode::Number) {
        bool isNumber = false;
        const qlonglong value = newText.toLongLong(&isNumber);
        number =
            static_cast<int>(std::clamp<qlonglong>(isNumber ? value : 0, m_minimum, m_maximum));
        newText = QString::number(number) + QLatin1Char(' ') + m_unit;
    }
    const bool changed = newText != oldText;
    if (changed) {
        item(row)->setText(newText);
        selectRow(row);
    }
    if (m_mode == EditMode::Number)
        emit editDone(row, number);
    else if (changed)
        emit editDone(startRow, row);
}

void SkinListBox::paintEvent(QPaintEvent* event) {
    {
        QPainter painter(viewport());
        smoothWhenScaled(painter);
        if (!m_background.isNull())
            painter.drawImage(viewport()->rect(), m_background, m_background.rect());
    }
    QListWidget::paintEvent(event);
}

void SkinListBox::mouseDoubleClickEvent(QMouseEvent* event) {
    QListWidget::mouseDoubleClickEvent(event);
    if (event->button() != Qt::LeftButton)
        return;
    QListWidgetItem* clicked = itemAt(event->position().toPoint());
    if (clicked != nullptr && clicked->isSelected())
        beginEdit(row(clicked));
}

void SkinListBox::keyPressEvent(QKeyEvent* event) {
    // F2 edits the current row, as in other lists.
    if (event->key() == Qt::Key_F2 && event->modifiers() == Qt::NoModifier) {
        if (currentRow() >= 0)
            beginEdit(currentRow());
        event->accept();
        return;
    }
    QListWidget::keyPressEvent(event);
}

void SkinListBox::wheelEvent(QWheelEvent* event) {
    endEdit(true);
    QListWidget::wheelEvent(event);
}

void SkinListBox::scrollContentsBy(int dx, int dy) {
    endEdit(true);
    QListWidget::scrollContentsBy(dx, dy);
    viewport()->update();
}

void SkinListBox::resizeEvent(QResizeEvent* event) {
    endEdit(true);
    QListWidget::resizeEvent(event);
}

} // namespace q905
