// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The HID interfaces of the emulated keyboard behind the HidBackend seam.

#include "device/HidBackend.h"
#include "emulator/KeyboardState.h"

#include <memory>
#include <string_view>

namespace q905 {

namespace emulated {
inline constexpr std::string_view kKeyboardPath = "emulated#vid_04d9&pid_a12e&mi_00";
inline constexpr std::string_view kCollectionPathPrefix = "emulated#vid_04d9&pid_a12e&mi_01&col0";
inline constexpr int kCollectionCount = 4;
inline constexpr std::string_view kNotificationPath = "emulated#vid_04d9&pid_a12e&mi_01&col04";
inline constexpr std::string_view kMousePath = "emulated#vid_04d9&pid_a12e&mi_02";
inline constexpr std::string_view kCommandPath = "emulated#vid_04d9&pid_a12e&mi_03";
} // namespace emulated

class EmulatedBackend final : public HidBackend {
  public:
    explicit EmulatedBackend(std::shared_ptr<KeyboardState> state);

    std::vector<HidInterfaceInfo> enumerate() override;
    Result<std::unique_ptr<CommandChannel>> openCommand(const std::string& path) override;
    Result<std::unique_ptr<NotificationChannel>> openNotification(const std::string& path) override;

  private:
    // Why a path that is not the one asked for cannot be opened; empty when it is that one.
    std::string refusal(const std::string& path, std::string_view wanted) const;

    std::shared_ptr<KeyboardState> m_state;
};

} // namespace q905
