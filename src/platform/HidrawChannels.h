// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The command and notification handles on hidraw nodes. Each owns its descriptors and closes
// them when destroyed.

#include "device/HidBackend.h"
#include "platform/HidrawSystem.h"

#include <atomic>
#include <chrono>
#include <memory>

namespace q905 {

// Without a limit, a keyboard that stops answering would hang the program for good. A data
// report that has not come within this time counts as a failed read.
inline constexpr std::chrono::milliseconds kDataReportTimeout{1000};

class HidrawCommandChannel final : public CommandChannel {
  public:
    HidrawCommandChannel(std::shared_ptr<HidrawSystem> system, int fd,
                         std::chrono::milliseconds readTimeout = kDataReportTimeout);
    ~HidrawCommandChannel() override;
    HidrawCommandChannel(const HidrawCommandChannel&) = delete;
    HidrawCommandChannel& operator=(const HidrawCommandChannel&) = delete;

    bool setFeature(const FeatureFrame& frame) override;
    bool getFeature(FeatureFrame& reply) override;
    bool writeReport(const DataReport& report) override;
    bool readReport(DataReport& report) override;
    bool readPendingReport(DataReport& report) override;

  private:
    bool readWithin(DataReport& report, std::chrono::milliseconds timeout);

    std::shared_ptr<HidrawSystem> m_system;
    int m_fd;
    std::chrono::milliseconds m_readTimeout;
};

class HidrawNotificationChannel final : public NotificationChannel {
  public:
    // wakeFd comes from HidrawSystem::createWakeup().
    HidrawNotificationChannel(std::shared_ptr<HidrawSystem> system, int fd, int wakeFd);
    ~HidrawNotificationChannel() override;
    HidrawNotificationChannel(const HidrawNotificationChannel&) = delete;
    HidrawNotificationChannel& operator=(const HidrawNotificationChannel&) = delete;

    NotificationRead read(NotificationReport& report) override;
    void stop() override;

  private:
    std::shared_ptr<HidrawSystem> m_system;
    int m_fd;
    int m_wakeFd;
    std::atomic<bool> m_stopped{false};
};

} // namespace q905
