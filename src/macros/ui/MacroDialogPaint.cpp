// SPDX-License-Identifier: GPL-3.0-or-later
// The macro dialog's picture: background, button and box images by their state, and the texts.
#include "controls/ui/QtText.h"
#include "controls/ui/RegionRects.h"
#include "controls/ui/ScaledPicture.h"
#include "controls/ui/SkinCache.h"
#include "controls/ui/SkinListBox.h"
#include "macros/MacroDialogControls.h"
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

void MacroDialog::paintControl(QPainter& painter, int control) {
    const ControlSpec& entry = *controlById(kControls, control);
    const RegionRect& place = entry.rectIn(m_language);
    const bool over = m_hovered == control;
    switch (control) {
    case kRecord: {
        m_skin.draw(painter, picture(over ? "Record-over.png" : "Record-normal.png"), place.left,
                    place.top);
        // The German caption is longer: it starts further left, a pixel smaller.
        const bool german = m_language == Language::German;
        m_textLayout.draw(painter, controlName(*this, entry), place.left + (german ? 3 : 8),
                          place.top + 3, kWhite, german ? 14 : 15, toQRect(place));
        break;
    }
    case kDelayBox:
    case kLoopBox: {
        const bool ticked =
            control == kDelayBox ? m_macro->options().hasDelay : m_macro->options().loopOn;
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
    // The texts beside the boxes.
    struct Label {
        const WindowText& text;
        int x, y, height, germanHeight;
    };
    const Label labels[] = {
        {macro_texts::kDelay, 260, 153, 15, 15},
        {macro_texts::kBetween, 260, 168, 15, 15},
        {macro_texts::kKeystrokes, 260, 183, 15, 14},
        {macro_texts::kLoop, 265, 300, 15, 15},
    };
    for (const Label& label : labels)
        m_textLayout.draw(painter, text(label.text), label.x, label.y, kWhite,
                          german ? label.germanHeight : label.height, rect());

    // The buttons' captions, on their plates: where each starts on its plate, in each language.
    struct Caption {
        Control button;
        int inset, germanInset;
    };
    for (const Caption& caption : {Caption{kNew, 15, 15}, Caption{kDelete, 15, 5},
                                   Caption{kOk, 20, 20}, Caption{kCancel, 10, 3}}) {
        const ControlSpec& button = *controlById(kControls, caption.button);
        const QRect plate = toQRect(button.rectIn(m_language));
        m_textLayout.draw(painter, qtText(button.name, m_language),
                          plate.left() + (german ? caption.germanInset : caption.inset),
                          plate.top() + 4, kWhite, german ? 14 : 15, plate);
    }

    // How full the selected macro is: a recording that stops at the limit is no mystery.
    if (m_macro->selected())
        m_textLayout.draw(painter, statusText(), 260, 225, kWhite, 15, rect());
}

QString MacroDialog::statusText() const {
    if (!m_macro->selected())
        return {};
    return text(macro_texts::kBytesUsed) +
           QStringLiteral(": %1 / %2").arg(m_macro->writePos()).arg(kEventSequenceSize);
}

void MacroDialog::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    paintBackground(painter, m_skin.image(picture("MacroManagement.png")), QColor(30, 30, 34));
    m_textLayout.clear();
    // The texts keep clear of every control but the buttons, whose captions sit on them.
    for (const ControlSpec& control : kControls)
        if (control.kind != ControlKind::Button || control.id == kCloseMark)
            m_textLayout.addControl(toQRect(control.rectIn(m_language)));
    for (const ControlSpec& control : kControls)
        paintControl(painter, control.id);
    paintLabels(painter);
    m_focus.paintMark(painter);
}

} // namespace q905
