// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key capture for the program's own dialogs: while installed, an application-wide event filter
// turns the keys typed into the watched dialog into virtual-key reports and keeps them from its
// widgets. Keys typed into any other window (a file picker, a message box or a menu over the
// dialog, the main window) pass untouched, so the capture is suspended while one of those is
// open and resumes when it closes. It needs no privileges and works the same on X11 and Wayland.

#include "macros/HookLibrary.h"

#include <QObject>
#include <QPointer>

#include <set>

class QWidget;

namespace q905 {

class KeyCapture final : public QObject, public HookLibrary {
    Q_OBJECT
  public:
    // window: the dialog whose keys are captured; without one nothing is.
    explicit KeyCapture(QWidget* window = nullptr, QObject* parent = nullptr);
    ~KeyCapture() override;

    void watch(QWidget* window) { m_window = window; }
    [[nodiscard]] bool installHook(HookMode mode) override;
    void removeHook() override;
    [[nodiscard]] bool isInstalled() const { return m_installed; }

  signals:
    // A key went down (release false) or, in the macro mode, up. The code is never 0.
    void hookKey(quint8 code, bool release);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool typedIntoWindow(QObject* receiver) const;

    QPointer<QWidget> m_window;
    std::set<quint32> m_held; // scan codes pressed in the window since the capture began
    bool m_installed = false;
    bool m_releases = false;
};

} // namespace q905
