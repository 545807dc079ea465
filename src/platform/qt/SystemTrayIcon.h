#pragma once
// The tray icon through QSystemTrayIcon (StatusNotifier or XEmbed), with its menu.

#include "platform/qt/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include <functional>
#include <memory>

namespace q905 {

class SystemTrayIcon final : public TrayIcon {
    Q_OBJECT
  public:
    // available tells whether the desktop has a notification area; tests answer it themselves.
    explicit SystemTrayIcon(QObject* parent = nullptr, std::function<bool()> available =
                                                           &QSystemTrayIcon::isSystemTrayAvailable);
    ~SystemTrayIcon() override;

    bool available() const override;
    void show(const QIcon& icon, const QString& tip, const QString& showText,
              const QString& exitText) override;
    // Safe from within the menu's own handlers: the menu goes once control is back in the loop.
    void remove() override;
    void showBalloon(const QString& title, const QString& text) override;

    // The icon and its menu while it is shown.
    QSystemTrayIcon* icon() const { return m_icon.get(); }
    QMenu* menu() const { return m_menu.get(); }

  private:
    std::function<bool()> m_available;
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace q905
