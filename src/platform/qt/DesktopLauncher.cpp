#include "platform/qt/DesktopLauncher.h"

#include <QDesktopServices>
#include <QProcess>
#include <QString>
#include <QUrl>

namespace q905 {

namespace {
QString qtPath(const std::filesystem::path& path) {
    return QString::fromStdString(path.string());
}
} // namespace

bool DesktopLauncher::openDetached(const std::filesystem::path& program,
                                   const std::filesystem::path& workingFolder) {
    // No shell and no arguments: the stored path is taken as one file name, whatever it holds.
    return QProcess::startDetached(qtPath(program), {}, qtPath(workingFolder));
}

bool DesktopLauncher::openPath(const std::filesystem::path& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(qtPath(path)));
}

} // namespace q905
