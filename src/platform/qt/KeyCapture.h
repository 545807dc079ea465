// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Key capture for the program's own dialogs: while installed, an application-wide event filter
// turns the keys typed into the watched dialog into virtual-key reports and keeps them from its
// widgets. Keys typed into any other window (a file picker, a message box or a menu over the
// dialog, the main window) pass untouched, so the capture is suspended while one of those is
// open and resumes when it closes. It needs no privileges and works the same on X11 and Wayland.
//
// A key counts once while it is held. The window system's key repeat is told apart from real
// presses however it comes: marked as a repeat, as presses of a key that was never released
// (XKB detectable autorepeat, Wayland), or as a release and a press with the same timestamp
// that X sends unmarked when the press had not arrived yet.

#include "macros/KeyCaptureControl.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <map>
#include <optional>
#include <set>

class QKeyEvent;
class QWidget;

namespace q905 {

class KeyCapture final : public QObject, public KeyCaptureControl {
    Q_OBJECT
  public:
    // window: the dialog whose keys are captured; without one nothing is.
    explicit KeyCapture(QWidget* window = nullptr, QObject* parent = nullptr);
    ~KeyCapture() override;

    void watch(QWidget* window) { m_window = window; }
    [[nodiscard]] bool startCapture(KeyCaptureMode mode) override;
    // Keys still held keep going to the capture until released, unreported: the Esc held to
    // end a recording must not reach the dialog as Cancel when the capture ends under it.
    void stopCapture() override;
    [[nodiscard]] bool isCapturing() const { return m_capturing; }

    // How long a release waits for a press of the same key with its timestamp.
    static constexpr int kRepeatPairWaitMs = 40;

  signals:
    // A key went down (release false) or, in the macro mode, up; once per press and release of
    // the key. The code is never 0. msAgo: how long ago it happened (a release is held back
    // until it is known not to be a repeat's).
    void keyCaptured(quint8 code, bool release, int msAgo);
    // In the macro mode: the key held since its keyCaptured press repeats.
    void keyRepeated(quint8 code);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct PendingRelease {
        quint32 scanCode;
        quint64 timestamp;
        QElapsedTimer since;
    };
    bool typedIntoWindow(QObject* receiver) const;
    void keyEvent(const QKeyEvent& key, bool release);
    void flushPendingRelease();
    void report(quint32 scanCode, bool release, int msAgo = 0);
    void repeat(quint32 scanCode);
    void detachIfIdle();

    QPointer<QWidget> m_window;
    std::set<quint32> m_held; // scan codes pressed in the window and not released since
    std::map<quint32, quint64> m_lastRelease; // each key's last release timestamp
    std::optional<PendingRelease> m_pending;
    QTimer m_pairWait;
    bool m_filtering = false; // the application event filter is in place
    bool m_capturing = false;
    bool m_releases = false;
};

} // namespace q905
