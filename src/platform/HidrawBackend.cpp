// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidrawBackend.h"

#include "platform/HidrawChannels.h"

#include <cerrno>
#include <system_error>

namespace q905 {

HidrawBackend::HidrawBackend(HidrawEnumerator enumerator, std::shared_ptr<HidrawSystem> system)
    : m_enumerator(std::move(enumerator)), m_system(std::move(system)) {}

std::vector<HidInterfaceInfo> HidrawBackend::enumerate() {
    return m_enumerator.enumerate();
}

Result<int> HidrawBackend::openNode(const std::string& path) {
    const std::string devnode = devnodeOfPath(path);
    SystemResult opened;
    do
        opened = m_system->open(devnode);
    while (opened.error == EINTR);
    if (!opened.ok())
        return Result<int>::failure(openErrorText(devnode, opened.error, udevRuleLocation()));
    return static_cast<int>(opened.value);
}

Result<std::unique_ptr<CommandChannel>> HidrawBackend::openCommand(const std::string& path) {
    const Result<int> fd = openNode(path);
    if (!fd)
        return Result<std::unique_ptr<CommandChannel>>::failure(fd.message());
    return std::unique_ptr<CommandChannel>(std::make_unique<HidrawCommandChannel>(m_system, *fd));
}

Result<std::unique_ptr<NotificationChannel>>
HidrawBackend::openNotification(const std::string& path) {
    using Opened = Result<std::unique_ptr<NotificationChannel>>;
    const Result<int> fd = openNode(path);
    if (!fd)
        return Opened::failure(fd.message());
    const SystemResult wakeup = m_system->createWakeup();
    if (!wakeup.ok()) {
        m_system->close(*fd);
        return Opened::failure("Cannot create the wake-up descriptor for " + devnodeOfPath(path) +
                               ": " + std::system_category().message(wakeup.error));
    }
    return std::unique_ptr<NotificationChannel>(
        std::make_unique<HidrawNotificationChannel>(m_system, *fd, static_cast<int>(wakeup.value)));
}

std::string openErrorText(const std::string& devnode, int error, const UdevRuleLocation& rule) {
    if (error != EACCES && error != EPERM)
        return "Cannot open " + devnode + ": " + std::system_category().message(error);
    const std::string denied = "Cannot open " + devnode + ": permission denied. ";
    // The rule tags the keyboard's nodes for logind, which grants them to the active local
    // session only, and only to sessions started (or nodes added) after the rule was there.
    const std::string session =
        "It gives access to the user of the active local session only: after installing it, "
        "log out and in again (or unplug and replug the keyboard), and run q905 from that "
        "session, not over ssh or from another seat.";
    switch (rule.state) {
    case UdevRuleLocation::State::Installed:
        return denied + "The udev rule " + rule.path.string() + " is installed. " + session;
    case UdevRuleLocation::State::InSourceTree:
        return denied +
               "The udev rule that gives you access to the keyboard is missing. Install "
               "it with\n  sudo cp " +
               rule.path.string() +
               " /etc/udev/rules.d/ && sudo udevadm control --reload-rules && sudo udevadm "
               "trigger\n" +
               session;
    case UdevRuleLocation::State::Missing:
        break;
    }
    return denied + "The udev rule " + rule.path.string() +
           " that gives you access to the keyboard is missing: install q905 again. " + session;
}

} // namespace q905
