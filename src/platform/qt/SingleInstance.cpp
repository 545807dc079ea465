#include "platform/qt/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace q905 {

namespace {

constexpr const char* kShowRequest = "show\n";
constexpr int kConnectAttemptsMs = 3000;

// File names from the guard's name: no space, no braces.
QString baseName() {
    QString name = QString::fromLatin1(kSingleInstanceMutexName).trimmed();
    name.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    return QStringLiteral("q905-") + name;
}

} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)) {
    connect(&m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                while (socket->canReadLine())
                    if (socket->readLine() == kShowRequest)
                        emit showRequested();
            });
        }
    });
}

SingleInstance::~SingleInstance() {
    m_server.close();
}

QString SingleInstance::defaultFolder() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        folder = QDir::tempPath();
    return folder;
}

QString SingleInstance::lockPath() const {
    return m_folder + QLatin1Char('/') + baseName() + ".lock";
}

QString SingleInstance::serverPath() const {
    return m_folder + QLatin1Char('/') + baseName() + ".socket";
}

bool SingleInstance::claim() {
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(lockPath());
    // Only a dead owner makes the lock stale, never its age: a long run keeps its claim.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        askRunningInstanceToShow();
        return false;
    }
    // A socket left behind by a crashed run would make listen fail.
    QLocalServer::removeServer(serverPath());
    m_server.listen(serverPath());
    return true;
}

bool SingleInstance::askRunningInstanceToShow() {
    // The running one may hold the lock but not listen yet: try for a while.
    QDeadlineTimer deadline(kConnectAttemptsMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverPath());
        if (socket.waitForConnected(500)) {
            socket.write(kShowRequest);
            const bool written = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return written;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace q905
