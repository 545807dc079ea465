// SPDX-License-Identifier: GPL-3.0-or-later
// The window with the keyboard alone: its declared controls (its own, the lighting panel's, the
// keys of the picture) as seen by the focus and by screen readers, what activating each does,
// arrows across the keyboard picture, and the window's shortcuts (Ctrl+S, F1, the help menu).
#include "app/ui/MainWindow.h"

#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "keys/AssignmentText.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/PanelControls.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QToolTip>

namespace q905 {

namespace {

bool isHelpItem(int id) {
    return id == mainControl::kFactoryReset || id == mainControl::kFirmwareUpdate;
}

// What still works while the session is busy: hiding, closing and the help menu.
bool worksWhileBusy(int id) {
    return id == mainControl::kHelp || id == mainControl::kHide || id == mainControl::kClose ||
           isHelpItem(id);
}

bool isOwnControl(int id) {
    return controlById(kMainWindowControls, id) != nullptr;
}

std::optional<KeyStep> arrowStep(int key) {
    switch (key) {
    case Qt::Key_Left:
        return KeyStep::Left;
    case Qt::Key_Right:
        return KeyStep::Right;
    case Qt::Key_Up:
        return KeyStep::Up;
    case Qt::Key_Down:
        return KeyStep::Down;
    default:
        return std::nullopt;
    }
}

bool plain(const QKeyEvent* event) {
    return (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

void MainWindow::rebuildControls() {
    m_controls = mainWindowTable(panelControls(), m_currentKey);
}

std::span<const ControlSpec> MainWindow::panelControls() const {
    return m_panel->controls();
}

bool MainWindow::perKeyView() const {
    return m_view.perKeyColourMode && isProfileEffect(lightingEffect());
}

ControlStatus MainWindow::controlStatus(int id) const {
    if (isKeyControl(id))
        return keyStatus(keyOfControl(id));
    if (isHelpItem(id)) {
        ControlStatus status;
        status.visible = m_helpMenuOpen;
        return status;
    }
    if (isOwnControl(id)) {
        ControlStatus status;
        status.enabled = worksWhileBusy(id) || !busy();
        return status;
    }
    return m_panel->controlStatus(id);
}

ControlStatus MainWindow::keyStatus(int key) const {
    ControlStatus status;
    status.name = m_keyLabels.spokenName(key);
    const SettingsImage shown = m_host.settings().deviceCopy();
    if (perKeyView()) {
        status.selected = m_selection.isSelected(key);
        const auto page = shown.block(layout::perKeyColourPage(
            static_cast<std::size_t>(shown.lightingEffect() - effect::kFirstProfile)));
        const std::size_t offset = KeyTable[static_cast<std::size_t>(key)].matrixOffset;
        const QString colour = QStringLiteral("#%1%2%3")
                                   .arg(page[offset + 1u], 2, 16, QLatin1Char('0'))
                                   .arg(page[offset + 2u], 2, 16, QLatin1Char('0'))
                                   .arg(page[offset + 3u], 2, 16, QLatin1Char('0'))
                                   .toUpper();
        status.name += text(texts::kKeyColour).arg(colour);
        return status;
    }
    const std::string carried = describeAssignment(m_host.keys().table(), shown, key);
    if (carried != "default")
        status.name += text(texts::kKeyAssigned).arg(QString::fromStdString(carried));
    return status;
}

QWidget* MainWindow::controlWidget(int id) const {
    if (isKeyControl(id) || isOwnControl(id))
        return nullptr;
    return m_panel->controlWidget(id);
}

std::vector<ControlItem> MainWindow::controlItems(int id) const {
    if (isKeyControl(id) || isOwnControl(id) || isHelpItem(id))
        return {};
    return m_panel->controlItems(id);
}

void MainWindow::activateControl(int id) {
    if (m_closing || (busy() && !worksWhileBusy(id)))
        return;
    if (id == mainControl::kHelp) {
        openHelpMenu();
        return;
    }
    if (isHelpItem(id)) {
        chooseHelpItem(id);
        return;
    }
    beginEdit();
    if (isKeyControl(id)) {
        actOnKey(keyOfControl(id));
    } else if (isOwnControl(id)) {
        if (!actOnRegion(id, 0, 0))
            return; // closing
    } else {
        m_panel->activateControl(id);
    }
    endEdit();
    if (!m_closing)
        paintMainWindow();
}

bool MainWindow::controlKey(int id, QKeyEvent* event) {
    if (isKeyControl(id))
        return keyboardPictureKey(keyOfControl(id), event);
    if (isOwnControl(id) || busy())
        return false;
    beginEdit();
    const bool used = m_panel->controlKey(id, event);
    endEdit();
    return used;
}

bool MainWindow::keyboardPictureKey(int key, QKeyEvent* event) {
    const bool shift = event->modifiers() & Qt::ShiftModifier;
    if (const std::optional<KeyStep> step = arrowStep(event->key())) {
        const int next = neighbourKey(key, *step);
        if (shift && perKeyView() && !busy()) {
            if (!m_bandAnchor)
                m_bandAnchor = key;
            m_selection.selectBetween(*m_bandAnchor, next);
        } else {
            m_bandAnchor.reset();
        }
        focusKey(next);
        return true;
    }
    if (event->key() == Qt::Key_Space && plain(event) && perKeyView()) {
        if (!busy()) {
            m_bandAnchor.reset();
            m_selection.toggle(key);
            notifyControlEvent(*this, keyControlId(key), QAccessible::StateChanged);
            paintMainWindow();
        }
        return true;
    }
    return false;
}

void MainWindow::focusKey(int key) {
    if (key != m_currentKey) {
        m_currentKey = key;
        rebuildControls();
    }
    m_focus.setFocusedControl(keyControlId(key));
    paintMainWindow();
}

bool MainWindow::windowShortcut(QKeyEvent* event) {
    if (event->matches(QKeySequence::Save) ||
        (event->key() == Qt::Key_S && event->modifiers() == Qt::ControlModifier)) {
        // Refused like a click while the session works.
        activateControl(mainControl::kApply);
        return true;
    }
    if (event->key() == Qt::Key_F1 && plain(event)) {
        openHelpMenu();
        return true;
    }
    if (m_helpMenuOpen) {
        const std::optional<int> focused = m_focus.focusedId();
        switch (event->key()) {
        case Qt::Key_Escape:
            closeHelpMenu();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down: {
            // The menu opens with no item chosen: Down goes to the first, Up to the last; with
            // two items either arrow then moves to the other one.
            const bool onItem = focused && isHelpItem(*focused);
            const bool first =
                onItem ? focused == mainControl::kFirmwareUpdate : event->key() == Qt::Key_Down;
            m_focus.setFocusedControl(first ? mainControl::kFactoryReset
                                            : mainControl::kFirmwareUpdate);
            paintMainWindow();
            return true;
        }
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Space:
            if (focused && isHelpItem(*focused))
                chooseHelpItem(*focused);
            else
                closeHelpMenu();
            return true;
        default:
            return false;
        }
    }
    if (m_panel->isListOpen()) {
        // The open list takes the keys, wherever the focus is.
        const std::optional<int> focused = m_focus.focusedId();
        const int list = focused && !isOwnControl(*focused) && !isKeyControl(*focused)
                             ? *focused
                             : panelRegion::kEffectBox;
        if (controlKey(list, event))
            return true;
    }
    return false;
}

void MainWindow::openHelpMenu() {
    m_helpMenuOpen = true;
    for (int id : {mainControl::kFactoryReset, mainControl::kFirmwareUpdate})
        notifyControlEvent(*this, id, QAccessible::StateChanged);
    paintMainWindow();
}

void MainWindow::closeHelpMenu() {
    if (!m_helpMenuOpen)
        return;
    m_helpMenuOpen = false;
    const std::optional<int> focused = m_focus.focusedId();
    if (focused && isHelpItem(*focused))
        m_focus.setFocusedControl(mainControl::kHelp);
    for (int id : {mainControl::kFactoryReset, mainControl::kFirmwareUpdate})
        notifyControlEvent(*this, id, QAccessible::StateChanged);
    paintMainWindow();
}

bool MainWindow::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (controlAtPoint(help->pos().x(), help->pos().y()) == mainControl::kApply)
            QToolTip::showText(help->globalPos(), text(texts::kApplyTip), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

} // namespace q905
