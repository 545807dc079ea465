// SPDX-License-Identifier: GPL-3.0-or-later
// Click dispatch: an open list, else the help menu, else the controls table and then the keys.
#include "app/MacroSave.h"
#include "app/ui/Delays.h"
#include "app/ui/MainWindow.h"
#include "controls/ui/PaintedControlAccessible.h"
#include "controls/ui/QtText.h"
#include "firmware/Updater.h"
#include "keys/CommitAssignment.h"
#include "keys/KeyEnableMask.h"
#include "keys/ui/KeyAssignmentDialog.h"
#include "keys/ui/KeyAssignmentTexts.h"
#include "lighting/EffectCatalogue.h"
#include "lighting/ui/ColourPicker.h"
#include "macros/ui/MacroDialog.h"
#include "platform/qt/KeyCapture.h"
#include "platform/qt/UserDialogs.h"
#include "profiles/ui/ProfileDialog.h"

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QScopedValueRollback>

namespace q905 {

namespace {

// The colour the custom colour dialog starts from.
constexpr std::uint32_t kInitialDialogColour = 12 | 12 << 8 | 12 << 16;

} // namespace

std::optional<int> MainWindow::controlAtPoint(int x, int y) const {
    const ControlSpec* hit = controlAt(m_controls, language(), x, y, [this](int id) {
        if (isKeyControl(id) || id == mainControl::kFactoryReset ||
            id == mainControl::kFirmwareUpdate)
            return false;
        return controlStatus(id).visible;
    });
    return hit ? std::optional<int>(hit->id) : std::nullopt;
}

void MainWindow::dispatchClick(int x, int y) {
    m_selection.endBand();
    if (busy() && !m_helpMenuOpen) {
        // An edit now would be replaced by what the session hands back: only hiding, closing
        // and the help menu act until it ends.
        const int region = controlAtPoint(x, y).value_or(-1);
        if (region == mainControl::kHide || region == mainControl::kClose ||
            region == mainControl::kHelp)
            if (!actOnRegion(region, x, y))
                return;
        paintMainWindow();
        return;
    }
    if (m_panel->isListOpen()) {
        beginEdit();
        m_panel->clickOpenList(x, y);
        endEdit();
    } else if (m_helpMenuOpen) {
        helpMenuClick(x, y);
    } else {
        const int region = controlAtPoint(x, y).value_or(-1);
        beginEdit();
        if (!actOnRegion(region, x, y))
            return;
        keyClick(x, y);
        endEdit();
    }
    if (!m_closing)
        paintMainWindow();
}

bool MainWindow::actOnRegion(int region, int x, int y) {
    switch (region) {
    case mainControl::kHelp:
        m_helpMenuOpen = true;
        break;
    case mainControl::kHide:
        hideWindow();
        break;
    case mainControl::kClose:
        closeSavingApplied();
        return false;
    case mainControl::kProfiles:
        openProfiles();
        break;
    case mainControl::kMacros:
        openMacros();
        break;
    case mainControl::kRevert:
        revert();
        break;
    case mainControl::kApply:
        apply();
        break;
    default:
        // Everything else in the table but the keys is the panel's.
        if (region >= 0 && !isKeyControl(region))
            m_panel->clickRegion(region, x, y);
        break;
    }
    return true;
}

void MainWindow::helpMenuClick(int x, int y) {
    // Any click closes the menu; one on an item chooses it.
    const ControlSpec* item = controlAt(m_controls, language(), x, y, [](int id) {
        return id == mainControl::kFactoryReset || id == mainControl::kFirmwareUpdate;
    });
    if (item)
        chooseHelpItem(item->id);
    else
        closeHelpMenu();
}

void MainWindow::chooseHelpItem(int id) {
    closeHelpMenu();
    if (id == mainControl::kFactoryReset)
        askFactoryReset();
    else if (id == mainControl::kFirmwareUpdate)
        startFirmwareUpdater();
}

void MainWindow::apply() {
    m_history.clear();
    Result<PreparedSave> save = m_host.prepareSave();
    if (!save) {
        tellNotSaved(texts::kNotSavedNothingSent, save.status());
        return;
    }
    m_pendingSave = std::move(*save);
    m_keyboard.apply(m_host.image(), m_host.settings().appliedSettings());
}

void MainWindow::applyFinished(const ApplyReport& report) {
    if (!m_pendingSave)
        return;
    const ApplyOutcome outcome = m_host.finishApply(std::move(*m_pendingSave), report);
    m_pendingSave.reset();
    m_panel->refreshSliders();
    const WindowText& message =
        !outcome.snapshotTaken
            ? (outcome.result == ApplyResult::NotConnected ? texts::kApplyNotConnected
                                                           : texts::kApplyNotAcknowledged)
            : texts::kApplyDone;
    m_applyOutcome = &message;
    announceStatus(*this);
    if (!outcome.failed() || m_closing)
        return;
    if (!outcome.snapshotTaken) {
        // The edits stay pending; the user must know the keyboard did not take them.
        m_services.dialogs->tell(this, text(texts::kApplyCaption), text(message));
    }
    if (!outcome.saved)
        tellNotSaved(texts::kNotSaved, outcome.saved);
}

QString MainWindow::statusText() const {
    switch (m_keyboard.activity()) {
    case KeyboardLifecycle::Activity::Reading:
        return text(texts::kBusyReading);
    case KeyboardLifecycle::Activity::Applying:
        return text(texts::kBusyApplying);
    case KeyboardLifecycle::Activity::Resetting:
        return text(texts::kBusyResetting);
    case KeyboardLifecycle::Activity::None:
        break;
    }
    return m_applyOutcome ? text(*m_applyOutcome) : QString();
}

void MainWindow::tellNotSaved(const WindowText& message, const Status& failure) {
    m_services.dialogs->tell(
        this, qtText(kWindowTitle),
        text(message).arg(QString::fromStdString(failureReason(failure, language()))));
}

void MainWindow::revert() {
    m_history.clear();
    hideWindow();
    const Status saved = m_host.revertAll();
    // A lighting profile as the effect shows its per-key colours.
    m_view.perKeyColourMode = isProfileEffect(lightingEffect());
    if (!saved)
        tellNotSaved(texts::kNotSaved, saved);
}

void MainWindow::closeSavingApplied() {
    // Saved once the session has ended: an apply still running may change what it holds.
    m_saveAppliedOnClose = true;
    close();
}

void MainWindow::askFactoryReset() {
    // The tray's Exit stays usable while the question is open.
    if (!m_services.dialogs->askOkCancel(this, text(texts::kFactoryCaption),
                                         text(texts::kFactoryQuestion)) ||
        m_closing || busy())
        return;
    if (!m_keyboard.connected()) {
        m_services.dialogs->tell(this, text(texts::kFactoryCaption),
                                 text(texts::kResetNotConnected));
        return;
    }
    Result<PreparedSave> save = m_host.prepareSave();
    if (!save) {
        tellNotSaved(texts::kResetNotSaved, save.status());
        return;
    }
    m_pendingSave = std::move(*save);
    m_keyboard.factoryReset();
}

void MainWindow::resetFinished(const ResetReport& report) {
    if (!m_pendingSave)
        return;
    const FactoryResetOutcome outcome =
        m_host.finishFactoryReset(std::move(*m_pendingSave), report);
    m_pendingSave.reset();
    if (outcome.wasReset()) {
        m_view.perKeyColourMode = false;
        m_history.clear();
        m_panel->refreshSliders();
    }
    if (!outcome.failed() || m_closing)
        return;
    if (outcome.reset == ApplyResult::NotConnected)
        m_services.dialogs->tell(this, text(texts::kFactoryCaption),
                                 text(texts::kResetNotConnected));
    else if (!outcome.wasReset())
        m_services.dialogs->tell(this, text(texts::kFactoryCaption), text(texts::kResetNotTaken));
    else if (outcome.read != ReadResult::Complete)
        m_services.dialogs->tell(this, text(texts::kFactoryCaption),
                                 text(texts::kResetNotReadBack));
    else
        tellNotSaved(texts::kNotSaved, outcome.saved);
}

void MainWindow::startFirmwareUpdater() {
    if (!updaterInstalled(m_services.assetRoot)) {
        tellNoUpdater();
        return;
    }
    if (!startUpdater(*m_services.launcher, m_services.assetRoot))
        m_services.dialogs->tell(
            this, text(WindowText{kUpdateQuestionCaption, kUpdateQuestionCaptionGerman}),
            text(WindowText{kUpdaterFailedText, kUpdaterFailedTextGerman}));
}

void MainWindow::tellNoUpdater() {
    const DeviceVersion device = m_host.settings().deviceVersion();
    const QString message =
        text(WindowText{kNoUpdaterText, kNoUpdaterTextGerman})
            .arg(QString::fromStdString(versionText({device.major(), device.minor()})),
                 QString::fromStdString(versionText(m_fileVersion)));
    m_services.dialogs->tell(
        this, text(WindowText{kUpdateQuestionCaption, kUpdateQuestionCaptionGerman}), message);
}

void MainWindow::keyClick(int x, int y) {
    const int key = keyAtPoint(x, y, m_view.perKeyColourMode);
    m_hoverKey = key == kNoKeyAtPoint ? kNoHoverKey : static_cast<std::uint8_t>(key);
    actOnKey(key);
}

void MainWindow::actOnKey(int key) {
    if (m_selection.click(key, perKeyView()) == KeyClickOutcome::OpenColourDialog)
        pickPerKeyColour();
    if (!m_view.perKeyColourMode && isActionableKey(key))
        openKeyAssignment(key);
}

void MainWindow::pickPerKeyColour() {
    paintMainWindow(); // the clicked key shows as selected behind the dialog
    const auto colour = m_services.colourPicker->pickColour(this, kInitialDialogColour);
    if (colour)
        m_panel->applyPerKeyColour(m_selection.selected(), *colour);
    m_selection.colourDialogClosed();
}

void MainWindow::openKeyAssignment(int key) {
    const Language language = m_services.language;
    if (!isAssignableKey(key))
        return;
    const QScopedValueRollback editing(m_editDialogOpen, true);
    HostState& host = m_host;
    // The dialog shows what keymap.bin holds for the key; the image stays as it is. A file that
    // cannot be read leaves the table in memory, which the dialog shows instead.
    if (const KeymapLoadResult loaded =
            loadKeymapFile(host.dataFolder(), true, host.image(), host.keys());
        !loaded.loaded())
        recomputeAssignedFlags(host.keys(), host.image());
    const int position = KeyTable[key].matrixPosition();
    KeyAssignmentDialog dialog(m_skin, *m_services.dialogs, KeyTable[key].keyCode,
                               host.keys().table()[static_cast<std::size_t>(key)],
                               isKeyEnabled(host.image(), position), host.macros(), language,
                               m_services.keyboardLayout, this);
    if (runDialogFrom(keyControlId(key), dialog) != QDialog::Accepted || m_closing)
        return;
    const AssignResult result =
        assignKey(host.keys(), host.image(), host.macros(), key, dialog.choice());
    if (result.ok()) {
        if (const Status saved = host.saveKeymap(); !saved)
            tellNotSaved(texts::kNotSaved, saved);
        return;
    }
    // Said in the window's language; the core's message is the command line's English.
    const WindowText& message =
        result.status == AssignStatus::CodeWithoutUsage ? key_texts::kCannotSendKey
        : result.status == AssignStatus::PathTooLong    ? key_texts::kPathTooLong
                                                        : key_texts::kAssignFailed;
    m_services.dialogs->tell(this, qtText(kWindowTitle), qtText(message, language));
}

// However it closes, the pages refresh from the image and table a moment later; the keyboard
// is not written until Apply.
void MainWindow::openProfiles() {
    {
        const QScopedValueRollback editing(m_editDialogOpen, true);
        ProfileDialog dialog(m_skin, language(), m_host.settings(), m_host.keys(),
                             m_host.dataFolder(), QDir::homePath(), *m_services.dialogs, this);
        runDialogFrom(mainControl::kProfiles, dialog);
    }
    if (m_closing)
        return;
    m_services.delays->after(std::chrono::milliseconds(50), this,
                             [this] { handleReadDone(ReadSource::Profile); });
}

// On OK the slots take the named macros and the keys follow theirs; they reach the keyboard
// with the next Apply.
void MainWindow::openMacros() {
    const QScopedValueRollback editing(m_editDialogOpen, true);
    KeyCapture capture;
    MacroDialog dialog(m_skin, language(), m_host.macros(), *m_services.clock, capture,
                       *m_services.dialogs, this);
    capture.watch(&dialog);
    dialog.setKeyboardLayout(m_services.keyboardLayout);
    connect(&capture, &KeyCapture::keyCaptured, &dialog, &MacroDialog::keyCaptured);
    connect(&capture, &KeyCapture::keyRepeated, &dialog, &MacroDialog::keyRepeated);
    dialog.setKeyBindings(MacroBindings(m_host.image(), m_host.macros().namedCount()));
    dialog.setSaver([this](const MacroList& macros, const std::vector<MacroKeyChange>& keys) {
        return saveEditedMacros(m_host, macros, keys);
    });
    // OK and Cancel alike: the saver has stored what OK kept.
    (void)runDialogFrom(mainControl::kMacros, dialog);
}

int MainWindow::runDialogFrom(int opener, QDialog& dialog) {
    // A click opens it as well as a key does: either way the opener has the focus to come back
    // to.
    if (m_focus.focusedId() != opener)
        m_focus.setFocusedControl(opener);
    return m_services.dialogs->exec(dialog);
}

} // namespace q905
