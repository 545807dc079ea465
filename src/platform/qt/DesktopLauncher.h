// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Programs started detached, documents and folders opened with the desktop's default
// application (xdg-open, or Qt's own choice where there is none), desktop entries started the
// way desktops start them. What starts gets the user's environment, not the one q905 was
// started with for itself, and a token to come to the front where the platform gives one.

#include "firmware/Launcher.h"
#include "platform/qt/ActivationToken.h"

#include <QProcessEnvironment>

#include <functional>

class QString;

namespace q905 {

class DesktopLauncher final : public Launcher {
  public:
    // token: a fresh activation token for each start; tests give their own.
    explicit DesktopLauncher(std::function<ActivationToken()> token = &tokenForLaunch);

    LaunchOutcome openDetached(const std::filesystem::path& program,
                               const std::filesystem::path& workingFolder) override;
    LaunchOutcome openPath(const std::filesystem::path& path) override;

    // The environment a started program gets: ours less the window system q905 was told to use
    // (QT_QPA_PLATFORM: another program chooses its own) and the tokens of q905's own start
    // (XDG_ACTIVATION_TOKEN, DESKTOP_STARTUP_ID), which are used up; fresh tokens in their place.
    static QProcessEnvironment launchEnvironment(QProcessEnvironment ours,
                                                 const ActivationToken& fresh);

    // Whether the file picker's choice can be started: an executable file or a desktop entry.
    static bool isStartable(const QString& path);

    // An X11 startup id stamped with the X server's time now; none on other platforms.
    static ActivationToken tokenForLaunch();

  private:
    LaunchOutcome start(const QString& program, const QStringList& arguments,
                        const QString& workingFolder);
    LaunchOutcome startDesktopEntry(const std::filesystem::path& entry);

    std::function<ActivationToken()> m_token;
};

} // namespace q905
