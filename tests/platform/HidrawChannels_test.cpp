// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/HidrawBackend.h"
#include "platform/HidrawChannels.h"

#include "platform/FakeHidrawSystem.h"

#include <gtest/gtest.h>

#include <future>
#include <thread>

namespace q905 {
namespace {

using testing::FakeHidrawSystem;
using Call = FakeHidrawSystem::Call;

std::vector<std::uint8_t> dataBytes(std::uint8_t first) {
    std::vector<std::uint8_t> bytes(kDataBytesPerReport);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<std::uint8_t>(first + i);
    return bytes;
}

struct CommandFixture {
    std::shared_ptr<FakeHidrawSystem> system = std::make_shared<FakeHidrawSystem>();
    HidrawCommandChannel channel{system, 3};
};

TEST(HidrawCommandChannel, EveryTransferKeepsReportIdZeroInByteZero) {
    CommandFixture f;
    EXPECT_TRUE(f.channel.setFeature(makeFeatureFrame(0x81)));
    const FeatureFrame sent{0x00, 0x81, 0x01, 0x07, 0, 0, 0, 0, 0x76};
    f.system->setFeatureReply({sent.begin(), sent.end()}, 9);
    FeatureFrame reply{};
    ASSERT_TRUE(f.channel.getFeature(reply));
    EXPECT_EQ(reply, sent);

    DataReport report{};
    report[0] = 0x33; // whatever the caller left there, report id 0 goes out
    report[1] = 0xAA;
    EXPECT_TRUE(f.channel.writeReport(report));
    report[0] = 0;

    // The get-feature buffer starts zeroed, with nothing left from an earlier reply.
    EXPECT_EQ(f.system->log(), (std::vector<std::string>{"set-feature 3 00 81 00 00 00 00 00 00 7E",
                                                         "get-feature 3 00 00 00 00 00 00 00 00 00",
                                                         "write 3 " + Trace::hex(report)}));

    // An unnumbered input report arrives without its id; a short report of another
    // collection before it is not taken for data.
    f.system->queueInput(3, {0x02, 0xE9, 0x00});
    f.system->queueInput(3, dataBytes(0x10));
    report.fill(0xEE);
    ASSERT_TRUE(f.channel.readReport(report));
    EXPECT_EQ(report[0], 0);
    EXPECT_EQ(report[1], 0x10);
    EXPECT_EQ(report[64], 0x10 + 63);
}

TEST(HidrawCommandChannel, FailuresAreReportedAndLeaveTheTargetAlone) {
    CommandFixture f;
    f.system->failNext(Call::SetFeature, ENODEV);
    EXPECT_FALSE(f.channel.setFeature(makeFeatureFrame(0x01, {.p1 = 2})));
    f.system->failNext(Call::Write, EIO);
    EXPECT_FALSE(f.channel.writeReport(DataReport{}));

    const FeatureFrame before{0, 1, 2, 3, 4, 5, 6, 7, 8};
    FeatureFrame reply = before;
    f.system->failNext(Call::GetFeature, EIO);
    EXPECT_FALSE(f.channel.getFeature(reply));
    f.system->setFeatureReply({0, 0x55}, 0);
    EXPECT_FALSE(f.channel.getFeature(reply));
    EXPECT_EQ(reply, before);

    DataReport report{};
    report.fill(0xEE);
    const DataReport untouched = report;
    EXPECT_FALSE(f.channel.readReport(report)); // a keyboard that never answers
    f.system->queueInput(3, dataBytes(0));
    f.system->failNext(Call::Read, ENODEV);
    EXPECT_FALSE(f.channel.readReport(report));
    f.system->hangUp(3);
    EXPECT_FALSE(f.channel.readReport(report));
    EXPECT_EQ(report, untouched);
}

TEST(HidrawCommandChannel, InterruptedCallsAreRetried) {
    CommandFixture f;
    f.system->failNext(Call::SetFeature, EINTR);
    EXPECT_TRUE(f.channel.setFeature(makeFeatureFrame(0x81)));
    f.system->failNext(Call::Write, EINTR);
    EXPECT_TRUE(f.channel.writeReport(DataReport{}));

    f.system->queueInput(3, dataBytes(1));
    f.system->failNext(Call::Poll, EINTR);
    f.system->failNext(Call::Read, EINTR);
    DataReport report{};
    EXPECT_TRUE(f.channel.readReport(report));
    EXPECT_EQ(report[1], 1);
}

struct NotificationFixture {
    std::shared_ptr<FakeHidrawSystem> system = std::make_shared<FakeHidrawSystem>();
    HidrawNotificationChannel channel{system, 3, 4};
};

TEST(HidrawNotificationChannel, PassesOnOnlyReportsWithIdFour) {
    NotificationFixture f;
    f.system->queueInput(3, {0x02, 0xE9, 0x00}); // consumer control
    f.system->queueInput(3, {0x04, 0x01, 0x03, 0x03});
    f.system->failNext(Call::Poll, EINTR);
    f.system->failNext(Call::Read, EAGAIN);
    f.system->queueInput(3, {0x04, 0x04}); // short: the rest reads as 0

    NotificationReport report{};
    ASSERT_EQ(f.channel.read(report), NotificationRead::Report);
    EXPECT_EQ(report, (NotificationReport{4, 1, 3, 3}));
    ASSERT_EQ(f.channel.read(report), NotificationRead::Report);
    EXPECT_EQ(report, (NotificationReport{4, 4, 0, 0}));
}

TEST(HidrawNotificationChannel, UnplugEndsTheReadAsGone) {
    NotificationReport report{};
    NotificationFixture hungUp;
    hungUp.system->hangUp(3);
    EXPECT_EQ(hungUp.channel.read(report), NotificationRead::Gone);

    for (const int error : {EIO, ENODEV}) {
        NotificationFixture f;
        f.system->queueInput(3, {0x04, 0x04, 0, 0});
        f.system->failNext(Call::Read, error);
        EXPECT_EQ(f.channel.read(report), NotificationRead::Gone) << error;
    }
}

TEST(HidrawNotificationChannel, StopWakesABlockedReadAndLaterReadsAtOnce) {
    NotificationFixture f;
    auto reader = std::async(std::launch::async, [&] {
        NotificationReport report{};
        return f.channel.read(report);
    });
    while (!f.system->blockedInPoll())
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    f.channel.stop();
    ASSERT_EQ(reader.wait_for(std::chrono::seconds(5)), std::future_status::ready);
    EXPECT_EQ(reader.get(), NotificationRead::Stopped);

    f.system->queueInput(3, {0x04, 0x04, 0, 0});
    NotificationReport report{};
    EXPECT_EQ(f.channel.read(report), NotificationRead::Stopped);
}

TEST(HidrawBackend, OpensTheNodeBeforeTheHashAndLeavesNothingOpen) {
    auto system = std::make_shared<FakeHidrawSystem>();
    HidrawBackend backend(HidrawEnumerator([] { return std::vector<HidrawDeviceFacts>{}; }),
                          system);
    auto command = backend.openCommand("/dev/hidraw11#vid_04d9&pid_a12e&mi_03");
    auto notify = backend.openNotification("/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col04");
    ASSERT_TRUE(command && notify) << command.message() << notify.message();
    EXPECT_EQ(system->log(),
              (std::vector<std::string>{"open /dev/hidraw11 -> 3", "open /dev/hidraw9 -> 4"}));
    command->reset();
    notify->reset();
    EXPECT_TRUE(system->openDescriptors().empty());

    system->failNext(Call::CreateWakeup, EMFILE);
    EXPECT_FALSE(backend.openNotification("/dev/hidraw9#x").ok());
    EXPECT_TRUE(system->openDescriptors().empty());
}

TEST(HidrawBackend, OpenErrorsNameTheNodeAndWhereTheUdevRuleIs) {
    auto system = std::make_shared<FakeHidrawSystem>();
    HidrawBackend backend(HidrawEnumerator([] { return std::vector<HidrawDeviceFacts>{}; }),
                          system);
    for (const int denied : {EACCES, EPERM}) {
        system->failNext(Call::Open, denied);
        const auto refused = backend.openCommand("/dev/hidraw11#vid_04d9&pid_a12e&mi_03");
        EXPECT_FALSE(refused.ok());
        EXPECT_NE(refused.message().find("/dev/hidraw11: permission denied"), std::string::npos);
    }
    // The cause depends on where the rule is: installed, the session is not the active local
    // one (or began before the rule); from a build tree, it has to be copied first.
    using State = UdevRuleLocation::State;
    const std::string installed = openErrorText(
        "/dev/hidraw11", EACCES, {"/usr/lib/udev/rules.d/70-q905.rules", State::Installed});
    for (const char* part : {"/usr/lib/udev/rules.d/70-q905.rules is installed",
                             "active local session", "log out and in", "replug"})
        EXPECT_NE(installed.find(part), std::string::npos) << part << " in " << installed;
    EXPECT_EQ(installed.find("sudo cp"), std::string::npos) << installed;
    const std::string fromSource = openErrorText(
        "/dev/hidraw11", EACCES, {"/src/q905/packaging/70-q905.rules", State::InSourceTree});
    EXPECT_NE(fromSource.find("sudo cp /src/q905/packaging/70-q905.rules /etc/udev/rules.d/ && "
                              "sudo udevadm control --reload-rules && sudo udevadm trigger"),
              std::string::npos)
        << fromSource;

    system->failNext(Call::Open, ENOENT);
    const auto missing = backend.openNotification("/dev/hidraw9#vid_04d9&pid_a12e&mi_01&col04");
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.message(), "Cannot open /dev/hidraw9: No such file or directory");
}

} // namespace
} // namespace q905
