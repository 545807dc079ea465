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
    // Without it the icon finds out: a StatusNotifier tray while a host is registered with the
    // watcher, else an XEmbed tray as Qt sees it.
    explicit SystemTrayIcon(QObject* parent = nullptr, std::function<bool()> available = {});
    ~SystemTrayIcon() override;

    bool available() const override;
    void show(const QIcon& icon, const QString& tip, const QString& showText,
              const QString& exitText) override;
    // Safe from within the menu's own handlers: the menu goes once control is back in the loop.
    void remove() override;
    void showBalloon(const QString& title, const QString& text) override;
    void setWindowHidden(bool hidden) override;

    // The icon and its menu while it is shown.
    QSystemTrayIcon* icon() const { return m_icon.get(); }
    QMenu* menu() const { return m_menu.get(); }

  private slots:
    // The watcher's word on its hosts, and the bus's on the watcher.
    void hostRegistered();
    void hostUnregistered();

  private:
    enum class Kind { Unknown, StatusNotifier, XEmbed };
    // Decides, as Qt does at its first icon, which kind of tray this run has, and from then on
    // follows a StatusNotifier watcher's hosts.
    void findKind() const;
    void askHosts() const;
    void recheck();
    void openMenuAtPointer();

    std::function<bool()> m_available;
    mutable Kind m_kind = Kind::Unknown;
    mutable bool m_hostRegistered = false;
    bool m_wasAvailable = false;
    // A StatusNotifier host coming and going is told by the watcher, the watcher's own going by
    // the bus; an XEmbed tray's going is only seen by asking.
    mutable std::unique_ptr<QDBusServiceWatcher> m_watcher;
    QTimer m_poll;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace q905
