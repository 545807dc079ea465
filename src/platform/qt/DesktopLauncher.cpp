// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/DesktopLauncher.h"

#include "platform/DesktopEntry.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QSysInfo>
#include <QUrl>

#include <unistd.h>

#ifdef Q905_HAVE_XCB
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#endif

namespace q905 {

namespace {

QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}

std::string findOnPath(const std::string& name) {
    return QStandardPaths::findExecutable(QString::fromStdString(name)).toStdString();
}

#ifdef Q905_HAVE_XCB
// The server's time now: a property written on a window of our own comes back with it. A
// connection of its own, as Qt's reads every event of the window's.
std::optional<std::uint32_t> x11ServerTime() {
    const auto connection = std::unique_ptr<xcb_connection_t, decltype(&xcb_disconnect)>(
        xcb_connect(nullptr, nullptr), &xcb_disconnect);
    if (xcb_connection_has_error(connection.get()))
        return std::nullopt;
    xcb_connection_t* c = connection.get();
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t mask = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK, &mask);
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 8, 0,
                        nullptr);
    xcb_flush(c);
    std::optional<std::uint32_t> time;
    while (xcb_generic_event_t* event = xcb_wait_for_event(c)) {
        const bool found = (event->response_type & 0x7F) == XCB_PROPERTY_NOTIFY;
        if (found)
            time = reinterpret_cast<xcb_property_notify_event_t*>(event)->time;
        std::free(event);
        if (found)
            break;
    }
    xcb_destroy_window(c, window);
    return time;
}
#endif

} // namespace

DesktopLauncher::DesktopLauncher(std::function<ActivationToken()> token)
    : m_token(std::move(token)) {}

QProcessEnvironment DesktopLauncher::launchEnvironment(QProcessEnvironment ours,
                                                       const ActivationToken& fresh) {
    for (const char* name : {"QT_QPA_PLATFORM", "XDG_ACTIVATION_TOKEN", "DESKTOP_STARTUP_ID"})
        ours.remove(QString::fromLatin1(name));
    if (!fresh.xdgActivationToken.isEmpty())
        ours.insert(QStringLiteral("XDG_ACTIVATION_TOKEN"),
                    QString::fromLatin1(fresh.xdgActivationToken));
    if (!fresh.startupId.isEmpty())
        ours.insert(QStringLiteral("DESKTOP_STARTUP_ID"), QString::fromLatin1(fresh.startupId));
    return ours;
}

bool DesktopLauncher::isStartable(const QString& path) {
    const QFileInfo file(path);
    return file.isFile() &&
           (file.isExecutable() || isDesktopEntryName(file.fileName().toStdString()));
}

ActivationToken DesktopLauncher::tokenForLaunch() {
    ActivationToken token;
#ifdef Q905_HAVE_XCB
    // Qt 6.4 offers no way to ask a Wayland compositor for a token; X11 ids are ours to make.
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return token;
    static int launches = 0;
    const auto time = x11ServerTime();
    if (!time)
        return token;
    token.startupId = QStringLiteral("q905-%1-%2-%3_TIME%4")
                          .arg(QCoreApplication::applicationPid())
                          .arg(QSysInfo::machineHostName())
                          .arg(++launches)
                          .arg(*time)
                          .toLatin1();
    if (!isAcceptableToken(token.startupId))
        token.startupId.clear();
#endif
    return token;
}

LaunchOutcome DesktopLauncher::start(const QString& program, const QStringList& arguments,
                                     const QString& workingFolder) {
    QProcess process;
    process.setProgram(program);
    process.setArguments(arguments);
    process.setWorkingDirectory(workingFolder);
    process.setProcessEnvironment(
        launchEnvironment(QProcessEnvironment::systemEnvironment(), m_token()));
    return process.startDetached() ? LaunchOutcome::Started : LaunchOutcome::Failed;
}

LaunchOutcome DesktopLauncher::openDetached(const std::filesystem::path& program,
                                            const std::filesystem::path& workingFolder) {
    std::error_code error;
    if (!std::filesystem::exists(program, error))
        return LaunchOutcome::Missing;
    if (std::filesystem::is_regular_file(program, error) &&
        isDesktopEntryName(program.filename().string()))
        return startDesktopEntry(program);
    if (std::filesystem::is_directory(program, error) || ::access(program.c_str(), X_OK) != 0)
        return LaunchOutcome::NotExecutable;
    // No shell and no arguments: the stored path is taken as one file name, whatever it holds.
    return start(qtPath(program), {}, qtPath(workingFolder));
}

// Read here rather than through GLib's GDesktopAppInfo: GLib 2.74 runs Terminal=true entries in
// the first of its own list of terminals, not the user's x-terminal-emulator, and gives the same
// bare failure for a missing TryExec program, a missing Exec program and no application at all,
// which the user is told apart.
LaunchOutcome DesktopLauncher::startDesktopEntry(const std::filesystem::path& entry) {
    QFile file(qtPath(entry));
    if (!file.open(QIODevice::ReadOnly))
        return LaunchOutcome::Failed;
    const QByteArray text = file.read(1 << 20);
    const auto read = readDesktopEntry(std::string_view(text.constData(), text.size()),
                                       entry.string(), findOnPath);
    if (const auto* problem = std::get_if<DesktopEntryProblem>(&read))
        return *problem == DesktopEntryProblem::ProgramMissing ? LaunchOutcome::Missing
                                                               : LaunchOutcome::NotExecutable;
    const auto& command = std::get<DesktopEntryCommand>(read);
    QStringList arguments;
    for (const std::string& argument : command.arguments)
        arguments.push_back(QString::fromStdString(argument));
    const QString program = arguments.takeFirst();
    // Where a desktop starts what it has no folder for.
    const QString folder = command.workingFolder.empty()
                               ? QDir::homePath()
                               : QString::fromStdString(command.workingFolder);
    return start(program, arguments, folder);
}

LaunchOutcome DesktopLauncher::openPath(const std::filesystem::path& path) {
    // The opener would start and then fail where nobody sees it: a missing file is told here.
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return LaunchOutcome::Missing;
    // xdg-open picks the desktop's opener and is started with the environment above; without
    // it, Qt's own choice of opener does, with ours.
    const QString opener = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
    if (!opener.isEmpty())
        return start(opener, {qtPath(path)}, QDir::homePath());
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qtPath(path))) ? LaunchOutcome::Started
                                                                        : LaunchOutcome::Failed;
}

} // namespace q905
