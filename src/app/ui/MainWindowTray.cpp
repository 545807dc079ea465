// SPDX-License-Identifier: GPL-3.0-or-later
// The tray icon, hiding and showing the window, starting with the desktop, and the no-keyboard
// warning.
#include "app/Autostart.h"
#include "app/ui/MainWindow.h"
#include "controls/ui/QtText.h"
#include "platform/qt/TrayIcon.h"
#include "platform/qt/UserDialogs.h"

namespace q905 {

void MainWindow::connectTray() {
    connect(m_services.tray, &TrayIcon::clicked, this, &MainWindow::trayClicked);
    connect(m_services.tray, &TrayIcon::doubleClicked, this, &MainWindow::trayShowAsked);
    connect(m_services.tray, &TrayIcon::showChosen, this, &MainWindow::trayShowAsked);
    // Exit from the tray ends the program without writing keymap.bin.
    connect(m_services.tray, &TrayIcon::exitChosen, this, &QWidget::close);
    connect(m_services.tray, &TrayIcon::availabilityChanged, this, [this](bool available) {
        if (available) {
            // A tray host that restarted knows nothing of the icon shown to the one before.
            m_services.tray->remove();
            setUpTray();
        } else if (!isVisible()) {
            // Hidden into a tray that is gone: only the window list can bring it back now.
            showMinimized();
            m_services.tray->setWindowHidden(false);
        }
    });
    connect(m_services.tray, &TrayIcon::checkEntryChosen, this, [this](bool checked) {
        if (const Status done = setAutostart(m_services.autostartEntry, checked); !done)
            m_services.dialogs->tell(this, qtText(kWindowTitle),
                                     QString::fromStdString(done.message()));
    });
}

void MainWindow::setUpTray() {
    if (!trayAvailable())
        return;
    // Read from the entry each time the menu opens: removing it by hand turns it off.
    if (!m_services.autostartEntry.empty())
        m_services.tray->setCheckEntry(
            text(texts::kTrayStartWithDesktop),
            [entry = m_services.autostartEntry] { return autostartEnabled(entry); });
    m_services.tray->show(windowIcon(), windowTitle(), text(texts::kTrayShow),
                          text(texts::kTrayExit));
    m_services.tray->setWindowHidden(!isVisible());
}

bool MainWindow::trayAvailable() const {
    return m_services.tray->available();
}

void MainWindow::hideWindow() {
    // Without a tray a hidden window could never be found again: it only goes to the task bar.
    if (trayAvailable()) {
        hide();
        m_services.tray->setWindowHidden(true);
    } else {
        showMinimized();
    }
}

void MainWindow::trayClicked() {
    // A click hides a window in view, as panels do; a double click that follows shows it again.
    if (isVisible() && !isMinimized() && m_keyboard.connected())
        hideWindow();
    else
        trayShowAsked();
}

void MainWindow::trayShowAsked() {
    if (m_keyboard.connected())
        showRequested();
    else
        showNoKeyboard();
}

void MainWindow::showRequested() {
    m_services.tray->setWindowHidden(false);
    showNormal();
    raise();
    activateWindow();
}

void MainWindow::showNoKeyboard() {
    if (trayAvailable()) {
        m_services.tray->showBalloon(text(texts::kNoKeyboardTitle), text(texts::kNoKeyboard));
        return;
    }
    showRequested();
    paintMainWindow();
}

} // namespace q905
