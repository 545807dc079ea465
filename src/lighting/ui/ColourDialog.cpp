#include "lighting/ui/ColourDialog.h"

#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "lighting/BasicColourTable.h"
#include "lighting/ui/ColourSpectrum.h"
#include "platform/qt/DialogPlacement.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QStyle>

namespace q905 {

namespace {
constexpr int kSpectrumId = 9001;
const QRect kSpectrumPlace(171, 27, 160, 140);
// The background picture's size, should it be missing: every control still fits.
constexpr QSize kFallbackSize(336, 208);
constexpr ColourValue kSpectrumStartColour = makeColour(192, 192, 192);

struct FieldPlace {
    const char* name;
    int x, y;
};
// R, G, B, then H, S, L.
constexpr std::array<FieldPlace, 6> kFieldPlaces{{{"red", 128, 150},
                                                  {"green", 128, 165},
                                                  {"blue", 128, 180},
                                                  {"hue", 80, 150},
                                                  {"saturation", 80, 165},
                                                  {"luminosity", 80, 180}}};

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
} // namespace

ColourDialog::ColourDialog(SkinCache& skin, Language language, ColourValue currentColour,
                           QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint), m_skin(skin),
      m_german(language == Language::German), m_currentColour(currentColour & 0xFFFFFF) {
    const QImage& background = m_skin.image(QStringLiteral("Color_BK.png"));
    setFixedSize(background.isNull() ? kFallbackSize : logicalSize(background));
    placeOverParent(*this);
    setWindowTitle(m_german ? QStringLiteral("Farbe") : QString());

    QPushButton* ok = makeButton(this, QStringLiteral("OK"), "ok", QRect(218, 187, 47, 15));
    QPushButton* cancel =
        makeButton(this, m_german ? QStringLiteral("Abbrechen") : QStringLiteral("Cancel"),
                   "cancel", QRect(270, 187, 47, 15));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_buttons = {ok, cancel};

    for (std::size_t i = 0; i < kFieldPlaces.size(); ++i) {
        auto* field = new QLineEdit(this);
        field->setObjectName(QString::fromLatin1(kFieldPlaces[i].name));
        field->setGeometry(kFieldPlaces[i].x, kFieldPlaces[i].y, 30, 15);
        field->setReadOnly(true);
        field->setEnabled(false);
        QFont font = field->font();
        font.setPixelSize(11);
        field->setFont(font);
        m_fields[i] = field;
    }

    m_spectrum = new ColourSpectrum(this, kSpectrumPlace, kSpectrumId, kSpectrumStartColour);
    m_spectrum->setObjectName(QStringLiteral("spectrum"));
    connect(m_spectrum, &ColourSpectrum::selectionChanged, this,
            [this](quint32 colour, int) { spectrumChanged(colour); });
    m_spectrum->setFocus(Qt::OtherFocusReason);
    m_spectrum->setColour(m_currentColour);

    refreshFields();
    m_selectedCell = firstCellWithColour(m_currentColour).value_or(-1);
}

QString ColourDialog::fieldText(int index) const {
    return index >= 0 && index < static_cast<int>(m_fields.size()) ? m_fields[index]->text()
                                                                   : QString();
}

void ColourDialog::refreshFields() {
    const Hsl hsl = m_spectrum->hsl();
    const std::array<int, 6> values{redOf(m_currentColour),  greenOf(m_currentColour),
                                    blueOf(m_currentColour), hsl.hue,
                                    hsl.saturation,          hsl.luminosity};
    for (std::size_t i = 0; i < values.size(); ++i)
        m_fields[i]->setText(QString::number(values[i]));
}

void ColourDialog::spectrumChanged(quint32 colour) {
    m_currentColour = colour & 0xFFFFFF;
    refreshFields();
    update();
}

void ColourDialog::clickBackground(int x, int y) {
    const auto cell = colourCellAt(x, y);
    if (!cell && isOnCloseMark(x, y)) {
        reject();
        return;
    }
    m_selectedCell = cell.value_or(-1);
    if (cell) {
        m_currentColour = BasicColourTable[*cell].colour;
        m_spectrum->setColour(m_currentColour);
        refreshFields();
    }
    update();
}

void ColourDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    smoothWhenScaled(painter);
    const QImage& background = m_skin.image(QStringLiteral("Color_BK.png"));
    if (background.isNull())
        painter.fillRect(rect(), QColor(53, 53, 53));
    else
        painter.drawImage(0, 0, background);

    if (m_selectedCell >= 0) {
        const ColourCell& cell = BasicColourTable[m_selectedCell];
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(QRect(cell.x - 1, cell.y - 1, 13, 12));
    }

    const QRect preview(14, 150, 45, 45);
    painter.fillRect(
        preview, QColor(redOf(m_currentColour), greenOf(m_currentColour), blueOf(m_currentColour)));

    m_textLayout.clear();
    m_textLayout.addControl(preview);
    m_textLayout.addControl(m_spectrum->geometry());
    for (const QWidget* control : m_fields)
        m_textLayout.addControl(control->geometry());
    for (const QWidget* control : m_buttons)
        m_textLayout.addControl(control->geometry());

    const QColor white(255, 255, 255);
    m_textLayout.draw(painter, m_german ? QStringLiteral("FARBE") : QStringLiteral("COLOR"), 0, 0,
                      white, 18, rect());
    const std::array<std::pair<const char*, QPoint>, 6> labels{{{"R", {118, 150}},
                                                                {"G", {118, 165}},
                                                                {"B", {118, 180}},
                                                                {"H", {70, 150}},
                                                                {"S", {70, 165}},
                                                                {"L", {70, 180}}}};
    for (const auto& [label, point] : labels)
        m_textLayout.draw(painter, QString::fromLatin1(label), point.x(), point.y(), white, 15,
                          rect());
}

void ColourDialog::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mousePressEvent(event);
    m_drag.press(*event);
}

void ColourDialog::mouseMoveEvent(QMouseEvent* event) {
    m_drag.move(*event);
}

void ColourDialog::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton)
        return QDialog::mouseReleaseEvent(event);
    if (m_drag.release() == BackgroundDrag::Release::Click) {
        const QPoint point = event->position().toPoint();
        clickBackground(point.x(), point.y());
    }
}

} // namespace q905
