// SPDX-License-Identifier: GPL-3.0-or-later
#include "lighting/ui/ColourDialog.h"

#include "controls/ui/FocusMark.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "lighting/BasicColourTable.h"
#include "lighting/ColourDialogControls.h"
#include "lighting/ui/ColourDialogTexts.h"
#include "lighting/ui/ColourSpectrum.h"
#include "platform/qt/DialogPlacement.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace q905 {

namespace {
using namespace colour_dialog;

constexpr int kSpectrumId = 9001;
constexpr ColourValue kSpectrumStartColour = makeColour(192, 192, 192);

struct Field {
    int id;
    const char* objectName;
    char letter; // painted left of the field
};
// In the order of the ids kHue..kBlue.
constexpr std::array<Field, 6> kFields{{{kHue, "hue", 'H'},
                                        {kSaturation, "saturation", 'S'},
                                        {kLuminosity, "luminosity", 'L'},
                                        {kRed, "red", 'R'},
                                        {kGreen, "green", 'G'},
                                        {kBlue, "blue", 'B'}}};

const RegionRect& placeOf(int id) {
    return controlById(kControls, id)->rect;
}

QPushButton* makeButton(QWidget* parent, const QString& text, const char* name, QRect place) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setGeometry(place);
    // The skin's text height, smaller where the text would not fit the button ("Abbrechen").
    const int room = place.width() - 2 * button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth);
    QFont font = button->font();
    for (int height = 11; height >= 7; --height) {
        font.setPixelSize(height);
        if (QFontMetrics(font).horizontalAdvance(text) <= room)
            break;
    }
    button->setFont(font);
    return button;
}

// The cell an arrow key leads to from `cell`, staying inside the printed grid.
int cellAfterArrow(int cell, int key) {
    const int column = cell % kCellColumns;
    const int row = cell / kCellColumns;
    const int rows = kPrintedCells / kCellColumns;
    switch (key) {
    case Qt::Key_Left:
        return column > 0 ? cell - 1 : cell;
    case Qt::Key_Right:
        return column < kCellColumns - 1 ? cell + 1 : cell;
    case Qt::Key_Up:
        return row > 0 ? cell - kCellColumns : cell;
    case Qt::Key_Down:
        return row < rows - 1 ? cell + kCellColumns : cell;
    default:
        return -1;
    }
}
} // namespace

ColourDialog::ColourDialog(SkinCache& skin, Language language, ColourValue currentColour,
                           QWidget* parent)
    : SkinnedDialog(language, kControls, parent), m_skin(skin),
      m_currentColour(currentColour & 0xFFFFFF) {
    setObjectName(QStringLiteral("colourDialog"));
    const QImage& background = m_skin.image(QStringLiteral("Color_BK.png"));
    setFixedSize(background.isNull() ? QSize(kWidth, kHeight) : logicalSize(background));
    placeOverParent(*this);
    setWindowTitle(qtText(colour_texts::kTitle, m_language));

    const auto caption = [this](int id) {
        return qtText(controlById(kControls, id)->name, m_language);
    };
    m_ok = makeButton(this, caption(kOk), "ok", toQRect(placeOf(kOk)));
    m_cancel = makeButton(this, caption(kCancel), "cancel", toQRect(placeOf(kCancel)));
    setControlWidget(kOk, m_ok);
    setControlWidget(kCancel, m_cancel);
    m_ok->setDefault(true); // Enter on the spectrum or the cells
    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);

    for (std::size_t i = 0; i < kFields.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(kFields[i].objectName));
        field->setGeometry(toQRect(placeOf(kFields[i].id)));
        field->setReadOnly(true);
        field->setEnabled(false);
        QFont font = field->font();
        font.setPixelSize(11);
        field->setFont(font);
        m_fields[i] = field;
        setControlWidget(kFields[i].id, field);
    }

    m_spectrum =
        new ColourSpectrum(this, toQRect(placeOf(kSpectrum)), kSpectrumId, kSpectrumStartColour);
    m_spectrum->setObjectName(QStringLiteral("spectrum"));
    setControlWidget(kSpectrum, m_spectrum);
    connect(m_spectrum, &ColourSpectrum::selectionChanged, this,
            [this](quint32 colour, int) { spectrumChanged(colour); });
    m_spectrum->setFocus(Qt::OtherFocusReason);
    m_spectrum->setColour(m_currentColour);
    nameControlWidgets(*this);

    refreshFields();
    m_selectedCell = firstCellWithColour(m_currentColour).value_or(-1);
    if (m_selectedCell >= 0 && isCell(m_selectedCell))
        m_cursorCell = m_selectedCell;
}

ControlStatus ColourDialog::controlStatus(int id) const {
    ControlStatus status;
    const auto cellName = [this](int cell) {
        const ColourValue colour = BasicColourTable[static_cast<std::size_t>(cell)].colour;
        return qtText(colour_texts::kCellName, m_language)
            .arg(redOf(colour))
            .arg(greenOf(colour))
            .arg(blueOf(colour));
    };
    if (isCell(id)) {
        status.name = cellName(id);
        status.selected = id == m_selectedCell;
    } else if (id == kCells) {
        if (m_selectedCell >= 0)
            status.value = cellName(m_selectedCell);
    } else if (controlWidget(id)) {
        status.enabled = controlWidget(id)->isEnabled();
    }
    return status;
}

void ColourDialog::activateControl(int id) {
    if (isCell(id))
        selectCell(id);
    else if (id == kCells)
        selectCell(m_selectedCell >= 0 && isCell(m_selectedCell) ? m_selectedCell : m_cursorCell);
    else if (id == kCloseMark || id == kCancel)
        reject();
    else if (id == kOk)
        accept();
}

bool ColourDialog::controlKey(int id, QKeyEvent* event) {
    if (id != kCells || (event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier)
        return false;
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        accept();
        return true;
    }
    const int from = m_selectedCell >= 0 && isCell(m_selectedCell) ? m_selectedCell : m_cursorCell;
    const int to = cellAfterArrow(from, event->key());
    if (to < 0)
        return false;
    selectCell(to);
    return true;
}

void ColourDialog::refreshFields() {
    const Hsl hsl = m_spectrum->hsl();
    const std::array<int, 6> values{hsl.hue,
                                    hsl.saturation,
                                    hsl.luminosity,
                                    redOf(m_currentColour),
                                    greenOf(m_currentColour),
                                    blueOf(m_currentColour)};
    for (std::size_t i = 0; i < values.size(); ++i)
        m_fields[i]->setText(QString::number(values[i]));
}

void ColourDialog::spectrumChanged(quint32 colour) {
    m_currentColour = colour & 0xFFFFFF;
    refreshFields();
    update();
}

void ColourDialog::selectCell(int cell) {
    const int before = m_selectedCell;
    m_selectedCell = cell;
    if (cell >= 0) {
        if (isCell(cell))
            m_cursorCell = cell;
        m_currentColour = BasicColourTable[static_cast<std::size_t>(cell)].colour;
        m_spectrum->setColour(m_currentColour);
        refreshFields();
    }
    for (int changed : {before, cell})
        if (isCell(changed))
            notifyControlEvent(*this, changed, QAccessible::StateChanged);
    notifyControlEvent(*this, kCells, QAccessible::ValueChanged);
    update();
}

void ColourDialog::clicked(QPoint point) {
    const int x = point.x();
    const int y = point.y();
    const auto cell = colourCellAt(x, y);
    if (!cell) {
        const ControlSpec* hit = controlAt(kControls, m_language, x, y);
        if (hit && hit->id == kCloseMark) {
            reject();
            return;
        }
    }
    selectCell(cell.value_or(-1));
}

void ColourDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter, m_skin.image(QStringLiteral("Color_BK.png")), QColor(53, 53, 53));

    if (m_selectedCell >= 0) {
        const ColourCell& cell = BasicColourTable[static_cast<std::size_t>(m_selectedCell)];
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(cell.x - 1, cell.y - 1, 13, 12));
    }

    const QRect preview = toQRect(kPreview);
    painter.fillRect(
        preview, QColor(redOf(m_currentColour), greenOf(m_currentColour), blueOf(m_currentColour)));

    m_textLayout.clear();
    m_textLayout.addControl(preview);
    m_textLayout.addControl(m_spectrum->geometry());
    for (const QWidget* control : m_fields)
        m_textLayout.addControl(control->geometry());
    for (const QWidget* control : {m_ok, m_cancel})
        m_textLayout.addControl(control->geometry());

    const QColor white(255, 255, 255);
    m_textLayout.draw(painter, qtText(colour_texts::kHeading, m_language), 0, 0, white, 18, rect());
    for (const Field& field : kFields) {
        const RegionRect& place = placeOf(field.id);
        m_textLayout.draw(painter, QString(QLatin1Char(field.letter)), place.left - 10, place.top,
                          white, 15, rect());
    }

    m_focus.paintMark(painter);
    // Within the grid, the cell the arrows stand on.
    if (m_focus.markShown() && m_focus.focusedId() == kCells) {
        const int cell =
            m_selectedCell >= 0 && isCell(m_selectedCell) ? m_selectedCell : m_cursorCell;
        paintFocusMark(painter, toQRect(kControls[static_cast<std::size_t>(cell)].rect), rect());
    }
}

} // namespace q905
