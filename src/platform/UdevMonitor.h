// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Arrival and removal of hidraw nodes, from a libudev monitor. Qt-free: the window watches
// fd() with a socket notifier and calls receive() when it becomes readable.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace q905 {

struct DeviceEvent {
    enum class Action { Added, Removed };
    Action action = Action::Added;
    std::string devnode;
    std::uint16_t vendorId = 0;
    std::uint16_t productId = 0;
};

// Only the keyboard's own nodes matter; other devices coming and going leave it alone.
bool isKeyboardEvent(const DeviceEvent& event);

class UdevMonitor {
  public:
    // Listens to udev's events, which come after the rules have set the node's permissions;
    // where no udev daemon runs (containers), to the kernel's own, which would otherwise be
    // silently missing.
    UdevMonitor();
    ~UdevMonitor();
    UdevMonitor(const UdevMonitor&) = delete;
    UdevMonitor& operator=(const UdevMonitor&) = delete;

    bool available() const;
    // Why the monitor is unavailable; empty when it is available.
    const std::string& error() const { return m_error; }
    // "udev" or "kernel"; empty when unavailable.
    std::string_view source() const { return m_source; }
    // Readable when events are queued; -1 when unavailable.
    int fd() const;
    // The next hidraw addition or removal, skipping other actions; nothing when none is queued.
    std::optional<DeviceEvent> receive();

  private:
    struct Handles;
    std::unique_ptr<Handles> m_handles;
    std::string m_error;
    std::string m_source;
};

} // namespace q905
