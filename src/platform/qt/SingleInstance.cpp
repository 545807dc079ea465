#include "platform/qt/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

#include <memory>
#include <utility>

namespace q905 {

namespace {

constexpr const char* kShowRequest = "show\n";
constexpr QByteArrayView kXdgTokenLine = "xdg-activation-token ";
constexpr QByteArrayView kStartupIdLine = "startup-id ";
// A longer line is no request of ours: the connection is dropped instead of buffered.
constexpr qint64 kMaxLineBytes = 1024;
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
            auto pending = std::make_shared<ActivationToken>();
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket, pending] { readRequests(socket, *pending); });
        }
    });
}

void SingleInstance::readRequests(QLocalSocket* socket, ActivationToken& pending) {
    while (socket->canReadLine()) {
        const QByteArray line = socket->readLine(kMaxLineBytes + 1);
        if (!line.endsWith('\n')) {
            socket->abort();
            return;
        }
        if (line == kShowRequest) {
            emit showRequested(std::exchange(pending, {}));
            continue;
        }
        // A token that is not one of ours is left out; the request still shows the window.
        const auto valueAfter = [&line](QByteArrayView prefix) {
            const QByteArray value = line.mid(prefix.size()).trimmed();
            return isAcceptableToken(value) ? value : QByteArray();
        };
        if (line.startsWith(kXdgTokenLine))
            pending.xdgActivationToken = valueAfter(kXdgTokenLine);
        else if (line.startsWith(kStartupIdLine))
            pending.startupId = valueAfter(kStartupIdLine);
    }
    if (socket->bytesAvailable() > kMaxLineBytes)
        socket->abort();
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

bool SingleInstance::claim(const ActivationToken& token) {
    QDir().mkpath(m_folder);
    m_lock = std::make_unique<QLockFile>(lockPath());
    // Only a dead owner makes the lock stale, never its age: a long run keeps its claim.
    m_lock->setStaleLockTime(0);
    if (!m_lock->tryLock(0)) {
        askRunningInstanceToShow(token);
        return false;
    }
    // A socket left behind by a crashed run would make listen fail.
    QLocalServer::removeServer(serverPath());
    m_server.listen(serverPath());
    return true;
}

bool SingleInstance::askRunningInstanceToShow(const ActivationToken& token) {
    QByteArray request;
    if (isAcceptableToken(token.xdgActivationToken))
        request += kXdgTokenLine.toByteArray() + token.xdgActivationToken + '\n';
    if (isAcceptableToken(token.startupId))
        request += kStartupIdLine.toByteArray() + token.startupId + '\n';
    request += kShowRequest;
    // The running one may hold the lock but not listen yet: try for a while.
    QDeadlineTimer deadline(kConnectAttemptsMs);
    while (!deadline.hasExpired()) {
        QLocalSocket socket;
        socket.connectToServer(serverPath());
        if (socket.waitForConnected(500)) {
            socket.write(request);
            const bool written = socket.waitForBytesWritten(1000);
            socket.disconnectFromServer();
            return written;
        }
        QThread::msleep(50);
    }
    return false;
}

} // namespace q905
