// The tray icon, hiding and showing the window, and the no-keyboard warning.
#include "app/ui/CGameKeyboardDlg.h"
#include "app/ui/TrayIcon.h"

namespace q905 {

void CGameKeyboardDlg::setUpTray() {
    if (!trayAvailable())
        return;
    m_services.tray->show(windowIcon(), windowTitle(), text(texts::kTrayExit));
    connect(m_services.tray, &TrayIcon::doubleClicked, this, &CGameKeyboardDlg::trayDoubleClicked);
    // Exit from the tray ends the program without writing keymap.bin.
    connect(m_services.tray, &TrayIcon::exitChosen, this, &QWidget::close);
}

bool CGameKeyboardDlg::trayAvailable() const {
    return m_services.tray->available();
}

void CGameKeyboardDlg::hideWindow() {
    // Without a tray a hidden window could never be found again: it only goes to the task bar.
    if (trayAvailable())
        hide();
    else
        showMinimized();
}

void CGameKeyboardDlg::trayDoubleClicked() {
    if (m_connection.connected())
        showRequested();
    else
        showNoKeyboard();
}

void CGameKeyboardDlg::showRequested() {
    showNormal();
    raise();
    activateWindow();
}

void CGameKeyboardDlg::showNoKeyboard() {
    if (trayAvailable()) {
        m_services.tray->showBalloon(text(texts::kNoKeyboardTitle), text(texts::kNoKeyboard));
        return;
    }
    showRequested();
    PaintMainWindow();
}

} // namespace q905
