// SPDX-License-Identifier: GPL-3.0-or-later
// What a launch action starts gets the user's environment (less q905's own platform choice and
// used-up tokens), a fresh token, and for a desktop entry its command, arguments and folder.
#include "platform/qt/DesktopLauncher.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace q905 {
namespace {

void writeFile(const QString& path, const QByteArray& text, bool executable = false) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
    file.close();
    if (executable)
        file.setPermissions(file.permissions() | QFile::ExeOwner);
}

TEST(DesktopLauncher, ADesktopEntryStartsItsCommandInItsFolderWithTheUsersEnvironment) {
    QTemporaryDir folder;
    const QString report = folder.filePath("report");
    const QString work = folder.filePath("work dir");
    ASSERT_TRUE(QDir().mkpath(work));
    // Written in one go: the test waits for the file to appear.
    writeFile(folder.filePath("show args.sh"),
              "#!/bin/sh\n{ pwd; printf '%s\\n' \"$@\"; env; } > \"$0.tmp\"; mv \"$0.tmp\" '" +
                  report.toUtf8() + "'\n",
              true);
    writeFile(folder.filePath("viewer.desktop"),
              "[Desktop Entry]\nType=Application\nName=Viewer\nExec=\"" +
                  folder.filePath("show args.sh").toUtf8() +
                  "\" \"one two\" %U\nPath=" + work.toUtf8() + "\n");
    // As if q905 had been started by a launcher with its own token, on a platform chosen for it.
    qputenv("DESKTOP_STARTUP_ID", "q905s-own_TIME1");
    qputenv("XDG_ACTIVATION_TOKEN", "q905s-own");
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("Q905_TEST_USER_VARIABLE", "kept");

    DesktopLauncher launcher([] { return ActivationToken{{}, "fresh-1_TIME42"}; });
    EXPECT_EQ(launcher.openDetached(folder.filePath("viewer.desktop").toStdString(), {}),
              LaunchOutcome::Started);
    qunsetenv("DESKTOP_STARTUP_ID");
    qunsetenv("XDG_ACTIVATION_TOKEN");
    if (platform.isNull())
        qunsetenv("QT_QPA_PLATFORM");
    else
        qputenv("QT_QPA_PLATFORM", platform);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(report); }, 5000));

    QFile file(report);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], work);
    EXPECT_EQ(lines[1], "one two");
    EXPECT_TRUE(lines.contains("DESKTOP_STARTUP_ID=fresh-1_TIME42"));
    EXPECT_TRUE(lines.contains("Q905_TEST_USER_VARIABLE=kept"));
    for (const QString& line : lines) {
        EXPECT_FALSE(line.startsWith("QT_QPA_PLATFORM=")) << line.toStdString();
        EXPECT_FALSE(line.startsWith("XDG_ACTIVATION_TOKEN=")) << line.toStdString();
    }
}

// Missing, no program, or not started: each is told in its own words.
TEST(DesktopLauncher, WhatCannotStartIsToldApart) {
    QTemporaryDir folder;
    DesktopLauncher launcher([] { return ActivationToken{}; });
    EXPECT_EQ(launcher.openDetached(folder.filePath("gone").toStdString(), {}),
              LaunchOutcome::Missing);
    EXPECT_EQ(launcher.openDetached(folder.path().toStdString(), {}), LaunchOutcome::NotExecutable);
    EXPECT_EQ(launcher.openPath(folder.filePath("gone.ogg").toStdString()), LaunchOutcome::Missing);
    const auto entry = [&](const QByteArray& text) {
        writeFile(folder.filePath("e.desktop"), "[Desktop Entry]\nType=Application\n" + text);
        return launcher.openDetached(folder.filePath("e.desktop").toStdString(), {});
    };
    EXPECT_EQ(entry("TryExec=q905-no-such-program\nExec=q905-no-such-program\n"),
              LaunchOutcome::Missing);
    EXPECT_EQ(entry("Exec=q905-no-such-program\n"), LaunchOutcome::Failed);
    EXPECT_EQ(entry("Name=No command\n"), LaunchOutcome::NotExecutable);
    writeFile(folder.filePath("notes.txt"), "text");
    EXPECT_EQ(launcher.openDetached(folder.filePath("notes.txt").toStdString(), {}),
              LaunchOutcome::NotExecutable);
    EXPECT_FALSE(DesktopLauncher::isStartable(folder.filePath("notes.txt")));
    EXPECT_TRUE(DesktopLauncher::isStartable(folder.filePath("e.desktop")));
}

} // namespace
} // namespace q905
