// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The keyboard through the kernel's hidraw nodes: interfaces listed through udev, handles opened
// on the node a path names, transfers through HidrawSystem.

#include "device/HidBackend.h"
#include "platform/HidrawEnumerator.h"
#include "platform/HidrawSystem.h"
#include "platform/Paths.h"

#include <memory>
#include <optional>
#include <string>

namespace q905 {

class HidrawBackend final : public HidBackend {
  public:
    explicit HidrawBackend(HidrawEnumerator enumerator = HidrawEnumerator{},
                           std::shared_ptr<HidrawSystem> system = makeLinuxHidrawSystem());

    std::vector<HidInterfaceInfo> enumerate() override;
    Result<std::unique_ptr<CommandChannel>> openCommand(const std::string& path) override;
    Result<std::unique_ptr<NotificationChannel>> openNotification(const std::string& path) override;

  private:
    Result<int> openNode(const std::string& path);

    HidrawEnumerator m_enumerator;
    std::shared_ptr<HidrawSystem> m_system;
};

// What the user is told when a node cannot be opened; for a permission error, where the udev
// rule that grants access is (or how to install it) and why access may still be missing.
std::string openErrorText(const std::string& devnode, int error, const UdevRuleLocation& rule);

} // namespace q905
