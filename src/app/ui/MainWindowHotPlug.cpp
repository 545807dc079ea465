// Hot-plug, the refresh after a read, the keyboard's own reports and the redraw burst.
#include "app/LaunchPlan.h"
#include "app/ui/Delays.h"
#include "app/ui/MainWindow.h"
#include "firmware/Updater.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"

#include <QLoggingCategory>

namespace q905 {

namespace {

Q_LOGGING_CATEGORY(lcHotPlug, "q905.hotplug", QtWarningMsg)

using std::chrono::milliseconds;
// The keyboard needs this long after it appears before it answers.
constexpr milliseconds kArrivalWait{2000};
// After the reader has been told to stop, before the handles close.
constexpr milliseconds kRemovalWait{500};
constexpr milliseconds kAfterRemovalWait{200};

} // namespace

void MainWindow::deviceArrived() {
    m_services.delays->after(kArrivalWait, this, [this] { arrivalAfterWait(); });
}

void MainWindow::arrivalAfterWait() {
    if (m_closing)
        return;
    const KeyboardConnection::Arrival arrival = m_connection.arrive();
    if (arrival != KeyboardConnection::Arrival::Read &&
        arrival != KeyboardConnection::Arrival::ReadFailed)
        return;
    m_panel->refreshSliders();
    startReaderOrRetry();
    if (arrival == KeyboardConnection::Arrival::ReadFailed) {
        tellReadFailed();
        return;
    }
    // Every plug-in read is followed by the refresh, whether or not the reader could start:
    // the window must show what was read.
    handleReadDone(ReadSource::Keyboard);
}

void MainWindow::tellReadFailed() {
    // Say so rather than show what was never read as the keyboard's.
    m_services.dialogs->tell(this, QString(), text(texts::kReadFailed));
    m_panel->refreshSliders();
    paintMainWindow();
    emit readFailed();
}

void MainWindow::deviceRemoved() {
    m_connection.stopReader();
    const std::uint64_t generation = m_connection.generation();
    m_services.delays->after(kRemovalWait, this,
                             [this, generation] { closeAfterRemoval(generation); });
}

void MainWindow::closeAfterRemoval(std::uint64_t generation) {
    if (m_closing)
        return;
    if (generation != m_connection.generation()) {
        // The keyboard came back meanwhile and was opened again: keep it, reader and all.
        startReaderOrRetry();
        return;
    }
    m_connection.closeHandles();
    paintMainWindow();
    m_services.delays->after(kAfterRemovalWait, this,
                             [] { qCDebug(lcHotPlug) << "keyboard removal complete"; });
}

void MainWindow::handleReadDone(ReadSource source) {
    // The icon and the tray are due by now even when no frame has been shown.
    finishStart();
    // What the keyboard holds replaces the edits; a profile load is itself an edit.
    if (source == ReadSource::Keyboard)
        m_history.clear();
    m_panel->refreshSliders();
    if (const Status saved = readDoneHostSide(m_connection, m_host, source); !saved)
        // From the event loop, as the question below and for the same reason.
        QMetaObject::invokeMethod(
            this, [this, saved] { tellNotSaved(texts::kNotSaved, saved); }, Qt::QueuedConnection);
    if (source == ReadSource::Keyboard)
        m_panel->refreshSliders();
    paintMainWindow();
    emit readDone(source);
    // Asked from the event loop, not from here: the start-up read waits for this call to
    // return, and a question left open would keep it waiting while the window might close.
    if (firmwareQuestionDue(source, m_fileVersion, m_host.settings()))
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
