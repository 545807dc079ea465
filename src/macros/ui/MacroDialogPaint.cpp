// The macro dialog's picture: background, button and box images by their state, and the texts.
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "macros/MacroDialogLayout.h"
#include "macros/ui/MacroDialog.h"
#include "macros/ui/MacroDialogTexts.h"

#include <QLineEdit>
#include <QPainter>

namespace q905 {

namespace {

using namespace macro_dialog;

const QString kFolder = QStringLiteral("MacroManagement/");
const QColor kWhite(255, 255, 255);

QString picture(const char* name) {
    return kFolder + QLatin1String(name);
}

} // namespace

void MacroDialog::paintRegion(QPainter& painter, int region) {
    const RegionRect& place = kRegions[static_cast<std::size_t>(region)];
    const bool over = m_hover[static_cast<std::size_t>(region)];
    switch (region) {
    case kRecord: {
        m_skin.draw(painter, picture(over ? "Record-over.png" : "Record-normal.png"), place.left,
                    place.top);
        const bool german = m_language == Language::German;
        m_textLayout.draw(
            painter,
            text(m_macro->recording() ? macro_texts::kStopRecording : macro_texts::kStartRecording),
            place.left + (german ? 3 : 8), place.top + 3, kWhite, german ? 14 : 15, toQRect(place));
        break;
    }
    case kDelayBox:
    case kLoopBox: {
        const bool ticked =
            region == kDelayBox ? m_macro->options().hasDelay : m_macro->options().loopOn;
        m_skin.draw(painter, picture(ticked ? "PaneMakingTick.png" : "Pane.png"), place.left,
                    place.top);
        break;
    }
    case kNew:
    case kDelete:
    case kOk:
    case kCancel:
        m_skin.draw(painter, picture(over ? "button-new-over.png" : "button-new-normal.png"),
                    place.left, place.top);
        break;
    default:
        break;
    }
}

void MacroDialog::paintLabels(QPainter& painter) {
    const bool german = m_language == Language::German;
    struct Label {
        const WindowText& text;
        int x, y, height, germanX, germanHeight;
        QRect panel;
    };
    // The buttons' captions stay on their plates.
    const auto plate = [](Region region) { return toQRect(kRegions[region]); };
    const Label labels[] = {
        {macro_texts::kDelay, 260, 153, 15, 260, 15, rect()},
        {macro_texts::kBetween, 260, 168, 15, 260, 15, rect()},
        {macro_texts::kKeystrokes, 260, 183, 15, 260, 14, rect()},
        {macro_texts::kLoop, 265, 300, 15, 265, 15, rect()},
        {macro_texts::kNew, 35, 372, 15, 35, 14, plate(kNew)},
        {macro_texts::kDelete, 95, 372, 15, 85, 14, plate(kDelete)},
        {macro_texts::kOk, 270, 372, 15, 270, 14, plate(kOk)},
        {macro_texts::kCancel, 320, 372, 15, 313, 14, plate(kCancel)},
    };
    for (const Label& label : labels)
        m_textLayout.draw(painter, text(label.text), german ? label.germanX : label.x, label.y,
                          kWhite, german ? label.germanHeight : label.height, label.panel);

    // How full the selected macro is: a recording that stops at the limit is no mystery.
    if (m_macro->selected()) {
        const QString used =
            text(macro_texts::kBytesUsed) +
            QStringLiteral(": %1 / %2").arg(m_macro->writePos()).arg(kEventSequenceSize);
        m_textLayout.draw(painter, used, 260, 225, kWhite, 15, rect());
    }
}

void MacroDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    smoothWhenScaled(painter);
    const QImage& background = m_skin.image(picture("MacroManagement.png"));
    if (background.isNull())
        painter.fillRect(rect(), QColor(30, 30, 34));
    else
        painter.drawImage(0, 0, background);
    m_textLayout.clear();
    for (int region : {kDelayBox, kLoopBox, kCloseMark})
        m_textLayout.addControl(toQRect(kRegions[static_cast<std::size_t>(region)]));
    for (const QWidget* control :
         std::initializer_list<const QWidget*>{m_names, m_events, m_loopBox})
        m_textLayout.addControl(control->geometry());
    for (int region : {kRecord, kDelayBox, kLoopBox, kNew, kDelete, kOk, kCancel})
        paintRegion(painter, region);
    paintLabels(painter);
}

} // namespace q905
