#include "platform/qt/SystemTrayIcon.h"

namespace q905 {

namespace {
// Long enough to be read; desktops may shorten or lengthen it.
constexpr int kBalloonMilliseconds = 10000;
} // namespace

SystemTrayIcon::SystemTrayIcon(QObject* parent, std::function<bool()> available)
    : TrayIcon(parent), m_available(std::move(available)) {}

// Outside any handler of the menu or the icon: both can go at once.
SystemTrayIcon::~SystemTrayIcon() {
    if (m_icon)
        m_icon->hide();
}

bool SystemTrayIcon::available() const {
    return m_available();
}

void SystemTrayIcon::show(const QIcon& icon, const QString& tip, const QString& showText,
                          const QString& exitText) {
    if (!available() || m_icon)
        return;
    m_menu = std::make_unique<QMenu>();
    // Queued: whoever acts on an item may remove this menu, which is still handling the click.
    connect(m_menu->addAction(showText), &QAction::triggered, this, &TrayIcon::showChosen,
            Qt::QueuedConnection);
    connect(m_menu->addAction(exitText), &QAction::triggered, this, &TrayIcon::exitChosen,
            Qt::QueuedConnection);
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    m_icon->setToolTip(tip);
    m_icon->setContextMenu(m_menu.get());
    connect(m_icon.get(), &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason == QSystemTrayIcon::Trigger)
                    emit clicked();
                else if (reason == QSystemTrayIcon::DoubleClick)
                    emit doubleClicked();
            });
    m_icon->show();
}

void SystemTrayIcon::remove() {
    if (m_icon) {
        m_icon->hide();
        m_icon.release()->deleteLater();
    }
    if (m_menu) {
        m_menu->hide();
        m_menu.release()->deleteLater();
    }
}

void SystemTrayIcon::showBalloon(const QString& title, const QString& text) {
    if (m_icon)
        m_icon->showMessage(title, text, QSystemTrayIcon::Information, kBalloonMilliseconds);
}

} // namespace q905
