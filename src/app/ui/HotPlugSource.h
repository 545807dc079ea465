// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the window hears of the keyboard coming and going: the udev monitor, or the emulated
// keyboard's plug listener under --simulate.

#include "platform/qt/PostedCalls.h"

#include <QObject>

#include <memory>

class QSocketNotifier;

namespace q905 {

class EmulatedKeyboard;
class UdevMonitor;

class HotPlugSource : public QObject {
    Q_OBJECT
  public:
    using QObject::QObject;
    virtual bool available() const = 0;

  signals:
    void arrived();
    void removed();
};

// Only the keyboard's own hidraw nodes count; other devices coming and going are ignored.
class UdevHotPlug final : public HotPlugSource {
    Q_OBJECT
  public:
    UdevHotPlug();
    ~UdevHotPlug() override;
    bool available() const override;

  private:
    void drain();

    std::unique_ptr<UdevMonitor> m_monitor;
    QSocketNotifier* m_notifier = nullptr;
};

// The emulated keyboard's plug and unplug, handed to this thread.
class EmulatedHotPlug final : public HotPlugSource {
    Q_OBJECT
  public:
    explicit EmulatedHotPlug(EmulatedKeyboard& keyboard);
    ~EmulatedHotPlug() override;
    bool available() const override { return true; }

  private:
    EmulatedKeyboard& m_keyboard;
    PostedCalls m_posted; // the plugging thread's news
};

} // namespace q905
