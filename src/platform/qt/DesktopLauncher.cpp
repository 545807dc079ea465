#include "platform/qt/DesktopLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>

#include <unistd.h>

namespace q905 {

namespace {
QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}
} // namespace

LaunchOutcome DesktopLauncher::openDetached(const std::filesystem::path& program,
                                            const std::filesystem::path& workingFolder) {
    std::error_code error;
    if (!std::filesystem::exists(program, error))
        return LaunchOutcome::Missing;
    if (std::filesystem::is_directory(program, error) || ::access(program.c_str(), X_OK) != 0)
        return LaunchOutcome::NotExecutable;
    // No shell and no arguments: the stored path is taken as one file name, whatever it holds.
    return QProcess::startDetached(qtPath(program), {}, qtPath(workingFolder))
               ? LaunchOutcome::Started
               : LaunchOutcome::Failed;
}

LaunchOutcome DesktopLauncher::openPath(const std::filesystem::path& path) {
    // The opener would start and then fail where nobody sees it: a missing file is told here.
    std::error_code error;
    if (!std::filesystem::exists(path, error))
        return LaunchOutcome::Missing;
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qtPath(path))) ? LaunchOutcome::Started
                                                                        : LaunchOutcome::Failed;
}

} // namespace q905
