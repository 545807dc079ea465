// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The tray icon through QSystemTrayIcon (StatusNotifier or XEmbed), with its menu.

#include "platform/qt/TrayIcon.h"

#include <QDBusServiceWatcher>
#include <QMenu>
#include <QSystemTrayIcon>
#include <QTimer>

#include <functional>
#include <memory>

namespace q905 {

class SystemTrayIcon final : public TrayIcon {
    Q_OBJECT
  public:
    // available tells whether the desktop has a notification area; tests answer it themselves.
    explicit SystemTrayIcon(QObject* parent = nullptr,
                            std::function<bool()> available = &trayAvailableNow);
    ~SystemTrayIcon() override;

    bool available() const override;
    void show(const QIcon& icon, const QString& tip, const QString& showText,
              const QString& exitText) override;
    // Safe from within the menu's own handlers: the menu goes once control is back in the loop.
    void remove() override;
    void showBalloon(const QString& title, const QString& text) override;
    void setWindowHidden(bool hidden) override;

    // Qt answers once, at the first icon, for StatusNotifier hosts: whether the host's watcher
    // is on the session bus now; for XEmbed trays Qt's own answer, which follows the tray.
    static bool trayAvailableNow();

    // The icon and its menu while it is shown.
    QSystemTrayIcon* icon() const { return m_icon.get(); }
    QMenu* menu() const { return m_menu.get(); }

  private:
    void recheck();

    std::function<bool()> m_available;
    bool m_wasAvailable = false;
    // A StatusNotifier host's watcher coming and going is told by the bus; an XEmbed tray's
    // going is only seen by asking.
    std::unique_ptr<QDBusServiceWatcher> m_watcher;
    QTimer m_poll;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace q905
