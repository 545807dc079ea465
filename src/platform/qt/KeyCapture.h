#pragma once
// Key capture for the program's own dialogs: while installed, an application-wide event filter
// turns the keys typed into any of our windows into virtual-key reports and keeps them from the
// widgets. It needs no privileges and works the same on X11 and Wayland; it sees only keys
// typed while one of our windows has the focus, which is all the dialogs need.

#include "macros/HookLibrary.h"

#include <QObject>

namespace q905 {

class KeyCapture final : public QObject, public HookLibrary {
    Q_OBJECT
  public:
    explicit KeyCapture(QObject* parent = nullptr);
    ~KeyCapture() override;

    [[nodiscard]] bool installHook(int mode) override;
    void removeHook() override;
    [[nodiscard]] bool isInstalled() const { return m_installed; }

  signals:
    // A key went down (release false) or, in the macro mode, up. The code is never 0.
    void hookKey(quint8 code, bool release);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool m_installed = false;
    bool m_releases = false;
};

} // namespace q905
