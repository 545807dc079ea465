// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Talks to the emulated keyboard's two channels directly, the way the device link does.

#include "emulator/EmulatedKeyboard.h"

#include <gtest/gtest.h>

#include <span>
#include <string>
#include <vector>

namespace q905::testing {

inline constexpr const char* kCommandPath = "emulated#vid_04d9&pid_a12e&mi_03";
inline constexpr const char* kNotificationPath = "emulated#vid_04d9&pid_a12e&mi_01&col04";

class KeyboardProbe {
  public:
    explicit KeyboardProbe(EmulatedKeyboard& keyboard) : m_keyboard(keyboard) { open(); }

    void open() {
        auto openedCommand = m_keyboard.backend().openCommand(kCommandPath);
        EXPECT_TRUE(openedCommand.ok()) << openedCommand.message();
        command = openedCommand ? std::move(*openedCommand) : nullptr;
        auto openedNotify = m_keyboard.backend().openNotification(kNotificationPath);
        EXPECT_TRUE(openedNotify.ok()) << openedNotify.message();
        notify = openedNotify ? std::move(*openedNotify) : nullptr;
    }

    // Request and reply, both expected to succeed.
    FeatureFrame query(std::uint8_t readCommand, CommandParams params = {}) {
        EXPECT_TRUE(command->setFeature(makeFeatureFrame(readCommand, params)));
        FeatureFrame reply{};
        EXPECT_TRUE(command->getFeature(reply));
        return reply;
    }
    std::vector<std::uint8_t> readBulk(std::uint8_t readCommand, CommandParams params,
                                       std::size_t reports) {
        query(readCommand, params);
        std::vector<std::uint8_t> data;
        for (std::size_t i = 0; i < reports; ++i) {
            DataReport report{};
            EXPECT_TRUE(command->readReport(report)) << "report " << i;
            EXPECT_EQ(report[0], 0);
            data.insert(data.end(), report.begin() + 1, report.end());
        }
        return data;
    }
    void writeBulk(std::uint8_t writeCommand, CommandParams params,
                   std::span<const std::uint8_t> data) {
        EXPECT_TRUE(command->setFeature(makeFeatureFrame(writeCommand, params)));
        for (std::size_t offset = 0; offset < data.size(); offset += kDataBytesPerReport) {
            DataReport report{};
            std::copy_n(data.begin() + offset, std::min(kDataBytesPerReport, data.size() - offset),
                        report.begin() + 1);
            EXPECT_TRUE(command->writeReport(report));
        }
    }
    // Every notification queued so far: a marker report is sent and everything before it
    // collected, so the call never blocks on an empty queue.
    std::vector<NotificationReport> drainNotifications() {
        const NotificationReport marker{kNotificationReportId, 0xEE, 0xEE, 0xEE};
        m_keyboard.sendNotification(marker);
        std::vector<NotificationReport> reports;
        NotificationReport report{};
        while (notify->read(report) == NotificationRead::Report && report != marker)
            reports.push_back(report);
        return reports;
    }

    std::unique_ptr<CommandChannel> command;
    std::unique_ptr<NotificationChannel> notify;

  private:
    EmulatedKeyboard& m_keyboard;
};

inline const NotificationReport kAcknowledgement{4, 4, 0, 0};

} // namespace q905::testing
