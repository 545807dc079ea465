// SPDX-License-Identifier: GPL-3.0-or-later
// The refresh after a read, the keyboard's own reports and the redraw burst.
#include "app/LaunchPlan.h"
#include "app/ui/MainWindow.h"
#include "device/WireEncoding.h"
#include "firmware/Updater.h"
#include "lighting/EffectCatalogue.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"

namespace q905 {

void MainWindow::tellReadFailed() {
    // Say so rather than show what was never read as the keyboard's.
    m_services.dialogs->tell(this, QString(), text(texts::kReadFailed));
    m_panel->refreshSliders();
    paintMainWindow();
    emit readFailed();
}

void MainWindow::keyboardGone() {
    paintMainWindow();
}

void MainWindow::commandChangedState() {
    if (m_closing)
        return;
    // Changed from outside, as a change made on the keyboard: an undo step would put it back.
    m_history.clear();
    m_panel->refreshSliders();
    if (!isProfileEffect(lightingEffect()))
        m_view.perKeyColourMode = false;
    paintMainWindow();
}

void MainWindow::handleReadDone(ReadSource source) {
    // The icon and the tray are due by now even when no frame has been shown.
    finishStart();
    // What the keyboard holds replaces the edits; a profile load is itself an edit.
    if (source == ReadSource::Keyboard)
        m_history.clear();
    m_panel->refreshSliders();
    if (const Status saved = m_host.readDone(source); !saved)
        // From the event loop, as the question below and for the same reason.
        QMetaObject::invokeMethod(
            this, [this, saved] { tellNotSaved(texts::kNotSaved, saved); }, Qt::QueuedConnection);
    if (source == ReadSource::Keyboard)
        m_panel->refreshSliders();
    paintMainWindow();
    emit readDone(source);
    // Asked from the event loop, not from here: whoever waits for readDone gets it first.
    if (source == ReadSource::Keyboard &&
        checkFirmwareVersion(m_fileVersion, m_host.settings().deviceVersion()))
        QMetaObject::invokeMethod(this, &MainWindow::askFirmwareUpdate, Qt::QueuedConnection);
}

void MainWindow::askFirmwareUpdate() {
    const WindowText caption{kUpdateQuestionCaption, kUpdateQuestionCaptionGerman};
    const WindowText question{kUpdateQuestionText, kUpdateQuestionTextGerman};
    if (m_closing)
        return;
    if (!updaterInstalled(m_services.assetRoot)) {
        tellNoUpdater();
        return;
    }
    if (m_services.dialogs->askOkCancel(this, text(caption), text(question)) && !m_closing)
        startFirmwareUpdater();
}

void MainWindow::handleLaunchRequest(std::uint8_t keyCode) {
    const LaunchPlan plan = planLaunch(m_host.keys().table(), keyCode);
    const LaunchOutcome outcome = runLaunchPlan(plan, *m_services.launcher);
    const WindowText* reason = outcome == LaunchOutcome::Missing         ? &texts::kLaunchMissing
                               : outcome == LaunchOutcome::NotExecutable ? &texts::kLaunchNotProgram
                               : outcome == LaunchOutcome::Failed        ? &texts::kLaunchFailed
                                                                         : nullptr;
    if (!reason)
        return;
    // Pressed in the middle of something else: a balloon where there is a tray, as the keyboard's
    // other news is told, else a message.
    const QString message = text(*reason).arg(QString::fromStdString(plan.target));
    if (trayAvailable())
        m_services.tray->showBalloon(QString::fromUtf8(kWindowTitle), message);
    else
        m_services.dialogs->tell(this, QString::fromUtf8(kWindowTitle), message);
}

void MainWindow::handleLightingChanged(std::uint8_t field, std::uint8_t storedValue) {
    // The keyboard changed the image itself: an undo step taken before would put its old value
    // back, and Apply would then undo what was done on the keyboard.
    m_history.clear();
    // Both copies, so the next apply does not send the keyboard's own change back.
    if (const auto offset = wire::lighting::imageOffset(field))
        m_host.settings().storeInBoth(*offset, storedValue);
    m_panel->keyboardChanged(field, storedValue);
    if (field == notification::kDirectionField)
        return;
    m_burst.start();
    m_redrawTimer.start();
}

void MainWindow::redrawTick() {
    if (m_burst.tick())
        paintMainWindow();
    if (!m_burst.running())
        m_redrawTimer.stop();
}

} // namespace q905
