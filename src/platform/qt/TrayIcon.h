// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The notification-area icon as the main window sees it; tests put a stand-in in its place.

#include <QObject>
#include <QString>

#include <functional>
#include <utility>

class QIcon;

namespace q905 {

class TrayIcon : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    // False where the desktop has no notification area: the window must then stay reachable.
    virtual bool available() const = 0;
    // The menu holds showText above exitText.
    virtual void show(const QIcon& icon, const QString& tip, const QString& showText,
                      const QString& exitText) = 0;
    virtual void remove() = 0;
    virtual void showBalloon(const QString& title, const QString& text) = 0;
    // While the window is hidden in the tray, losing the tray must be noticed at once, even
    // where that takes asking again and again.
    virtual void setWindowHidden(bool hidden) { Q_UNUSED(hidden); }
    // A check entry between showText and exitText, set before show(). isChecked is asked each
    // time the menu opens: what it reflects can change outside the program.
    void setCheckEntry(const QString& text, std::function<bool()> isChecked) {
        m_checkText = text;
        m_checkState = std::move(isChecked);
    }
    const QString& checkText() const { return m_checkText; }
    bool checkEntryChecked() const { return m_checkState && m_checkState(); }

  signals:
    // A click (what a StatusNotifier host sends as Activate), a double click (an XEmbed tray
    // sends a click first), and the menu's items.
    void clicked();
    void doubleClicked();
    void showChosen();
    void exitChosen();
    // The notification area went away or came back while the program runs (the panel was
    // removed, the desktop's tray host restarted).
    void availabilityChanged(bool available);
    // The check entry was chosen; checked is the state the user asked for.
    void checkEntryChosen(bool checked);

  private:
    QString m_checkText;
    std::function<bool()> m_checkState;
};

} // namespace q905

namespace q905 {

// For runs without a notification area (and --screenshot): the window stays on screen.
class NoTrayIcon final : public TrayIcon {
    Q_OBJECT
  public:
    using TrayIcon::TrayIcon;
    bool available() const override { return false; }
    void show(const QIcon&, const QString&, const QString&, const QString&) override {}
    void remove() override {}
    void showBalloon(const QString&, const QString&) override {}
};

} // namespace q905
