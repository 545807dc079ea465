#pragma once
// The tray icon through QSystemTrayIcon (StatusNotifier or XEmbed), with its one-item menu.

#include "platform/qt/TrayIcon.h"

#include <QMenu>
#include <QSystemTrayIcon>

#include <memory>

namespace q905 {

class SystemTrayIcon final : public TrayIcon {
    Q_OBJECT
  public:
    explicit SystemTrayIcon(QObject* parent = nullptr);
    ~SystemTrayIcon() override;

    bool available() const override;
    void show(const QIcon& icon, const QString& tip, const QString& exitText) override;
    void remove() override;
    void showBalloon(const QString& title, const QString& text) override;

  private:
    std::unique_ptr<QMenu> m_menu;
    std::unique_ptr<QSystemTrayIcon> m_icon;
};

} // namespace q905
