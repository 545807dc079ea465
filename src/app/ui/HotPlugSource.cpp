// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/ui/HotPlugSource.h"

#include "emulator/EmulatedKeyboard.h"
#include "platform/UdevMonitor.h"

#include <QSocketNotifier>

namespace q905 {

UdevHotPlug::UdevHotPlug() : m_monitor(std::make_unique<UdevMonitor>()) {
    if (!m_monitor->available())
        return;
    m_notifier = new QSocketNotifier(m_monitor->fd(), QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &UdevHotPlug::drain);
}

UdevHotPlug::~UdevHotPlug() = default;

bool UdevHotPlug::available() const {
    return m_monitor->available();
}

void UdevHotPlug::drain() {
    while (const auto event = m_monitor->receive()) {
        if (!isKeyboardEvent(*event))
            continue;
        if (event->action == DeviceEvent::Action::Added)
            emit arrived();
        else
            emit removed();
    }
}

EmulatedHotPlug::EmulatedHotPlug(EmulatedKeyboard& keyboard) : m_keyboard(keyboard) {
    // The listener runs on whichever thread plugs or unplugs.
    m_keyboard.setPlugListener([this](bool plugged) {
        m_posted.post([this, plugged] { plugged ? emit arrived() : emit removed(); });
    });
}

EmulatedHotPlug::~EmulatedHotPlug() {
    m_keyboard.setPlugListener({});
}

} // namespace q905
