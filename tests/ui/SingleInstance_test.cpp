// SPDX-License-Identifier: GPL-3.0-or-later
// A second start hands its launcher's activation token to the running program, and the running
// program takes only well-formed requests from the socket.
#include "platform/qt/SingleInstance.h"
#include "platform/qt/WindowActivation.h"

#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <cstring>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace q905 {
namespace {

ActivationToken receivedToken(const QSignalSpy& spy, int at) {
    return spy.at(at).at(0).value<ActivationToken>();
}

TEST(SingleInstance, ASecondStartHandsItsTokensToTheFirst) {
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.claim());
    QSignalSpy shown(&first, &SingleInstance::showRequested);

    SingleInstance second(runtime.path());
    const ActivationToken token{"wl-7f3a_c0ffee", "launcher-1234-host-0_TIME98765"};
    EXPECT_FALSE(second.claim(token));
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.count() == 1; }));
    EXPECT_EQ(receivedToken(shown, 0), token);

    // A start without a launcher's token asks the same way; nothing of the first one lingers.
    SingleInstance third(runtime.path());
    EXPECT_FALSE(third.claim());
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.count() == 2; }));
    EXPECT_TRUE(receivedToken(shown, 1).empty());
}

// What an older q905 sends, tokens that could not go to the display as they are, and a flood.
TEST(SingleInstance, OldRequestsStillShowMalformedTokensAreDroppedFloodsAreCutOff) {
    QTemporaryDir runtime;
    SingleInstance first(runtime.path());
    ASSERT_TRUE(first.claim());
    QSignalSpy shown(&first, &SingleInstance::showRequested);
    // What any program of the user's may write to the socket.
    const auto send = [&](const QByteArray& bytes) {
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const QByteArray path = QFile::encodeName(first.serverPath());
        std::memcpy(address.sun_path, path.constData(), path.size());
        ASSERT_EQ(::connect(descriptor, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        ASSERT_EQ(::send(descriptor, bytes.constData(), bytes.size(), MSG_NOSIGNAL), bytes.size());
        ::close(descriptor);
    };

    send("show\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.count() == 1; }));
    EXPECT_TRUE(receivedToken(shown, 0).empty());

    send("xdg-activation-token two words\nstartup-id quote\"d_TIME1\nshow\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.count() == 2; }));
    EXPECT_TRUE(receivedToken(shown, 1).empty());

    send("xdg-activation-token " + QByteArray(600, 'a') + "\nshow\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.count() == 3; }));
    EXPECT_TRUE(receivedToken(shown, 2).empty());

    // One endless line: the connection goes, the request behind it is never taken (it would
    // come first, without a token).
    send(QByteArray(64 * 1024, 'x') + "\nshow\n");
    send("startup-id ok_TIME5\nshow\n");
    ASSERT_TRUE(QTest::qWaitFor([&] { return shown.count() == 4; }));
    EXPECT_EQ(receivedToken(shown, 3).startupId, "ok_TIME5");
}

TEST(WindowActivation, TheLaunchTimeIsTheNumberAfterTheLastTimeMark) {
    EXPECT_EQ(startupIdTime("xterm-123-host-0_TIME4294967295"), 4294967295u);
    EXPECT_EQ(startupIdTime("a_TIME1-b_TIME77"), 77u);
    EXPECT_EQ(startupIdTime("no-time-here"), std::nullopt);
    EXPECT_EQ(startupIdTime("x_TIME"), std::nullopt);
    EXPECT_EQ(startupIdTime("x_TIME12ab"), std::nullopt);
    EXPECT_EQ(startupIdTime("x_TIME4294967296"), std::nullopt);
}

} // namespace
} // namespace q905
