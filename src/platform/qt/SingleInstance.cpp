// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/qt/SingleInstance.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QThread>

#include <cerrno>
#include <cstring>
#include <optional>
#include <utility>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace q905 {

namespace {

constexpr QByteArrayView kShowRequest = "show\n";
constexpr QByteArrayView kXdgTokenLine = "xdg-activation-token ";
constexpr QByteArrayView kStartupIdLine = "startup-id ";
// A longer line is no request of ours: the connection is dropped instead of buffered.
constexpr qsizetype kMaxLineBytes = 1024;
constexpr int kConnectAttemptsMs = 3000;
constexpr int kRetryMs = 50;

// File names from the guard's name: no space, no braces.
QString baseName() {
    QString name = QString::fromLatin1(kSingleInstanceMutexName).trimmed();
    name.remove(QLatin1Char('{')).remove(QLatin1Char('}'));
    return QStringLiteral("q905-") + name;
}

std::optional<sockaddr_un> socketAddress(const QString& path) {
    const QByteArray name = QFile::encodeName(path);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (name.size() >= qsizetype(sizeof address.sun_path))
        return std::nullopt;
    std::memcpy(address.sun_path, name.constData(), name.size());
    return address;
}

// One later start's connection: its lines are read as they come, a "show" line is passed on
// with the token lines before it.
class Connection final : public QObject {
  public:
    Connection(int descriptor, SingleInstance& owner)
        : QObject(&owner), m_descriptor(descriptor), m_owner(owner),
          m_notifier(descriptor, QSocketNotifier::Read) {
        connect(&m_notifier, &QSocketNotifier::activated, this, &Connection::readAvailable);
    }
    ~Connection() override { ::close(m_descriptor); }

  private:
    void readAvailable() {
        char chunk[4096];
        for (;;) {
            const ssize_t got = ::read(m_descriptor, chunk, sizeof chunk);
            if (got > 0) {
                m_buffer.append(chunk, got);
                if (!takeLines())
                    return finish();
                continue;
            }
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
                return;
            return finish(); // the end of the request, or a broken connection
        }
    }

    // False when the peer sends what no request of ours looks like.
    bool takeLines() {
        for (qsizetype end; (end = m_buffer.indexOf('\n')) >= 0;) {
            if (end >= kMaxLineBytes)
                return false;
            const QByteArray line = m_buffer.left(end + 1);
            m_buffer.remove(0, end + 1);
            takeLine(line);
        }
        return m_buffer.size() < kMaxLineBytes;
    }

    void takeLine(const QByteArray& line) {
        if (line == kShowRequest) {
            emit m_owner.showRequested(std::exchange(m_pending, {}));
            return;
        }
        // A token that is not one of ours is left out; the request still shows the window.
        const auto valueAfter = [&line](QByteArrayView prefix) {
            const QByteArray value = line.mid(prefix.size()).trimmed();
            return isAcceptableToken(value) ? value : QByteArray();
        };
        if (line.startsWith(kXdgTokenLine))
            m_pending.xdgActivationToken = valueAfter(kXdgTokenLine);
        else if (line.startsWith(kStartupIdLine))
            m_pending.startupId = valueAfter(kStartupIdLine);
    }

    void finish() {
        m_notifier.setEnabled(false);
        deleteLater();
    }

    int m_descriptor;
    SingleInstance& m_owner;
    QSocketNotifier m_notifier;
    QByteArray m_buffer;
    ActivationToken m_pending;
};

// Blocking writes of the whole request; a peer that stopped reading is given up on.
bool sendAll(int descriptor, const QByteArray& bytes) {
    for (qsizetype sent = 0; sent < bytes.size();) {
        const ssize_t done =
            ::send(descriptor, bytes.constData() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (done < 0 && errno == EINTR)
            continue;
        if (done <= 0)
            return false;
        sent += done;
    }
    return true;
}

} // namespace

SingleInstance::SingleInstance(QString folder, QObject* parent)
    : QObject(parent), m_folder(std::move(folder)) {}

SingleInstance::~SingleInstance() {
    m_notifier.reset();
    if (m_listener >= 0)
        ::close(m_listener);
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
    // Without the socket the program still runs; later starts then only end.
    listen();
    return true;
}

bool SingleInstance::listen() {
    const auto address = socketAddress(serverPath());
    if (!address)
        return false;
    m_listener = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    if (m_listener < 0)
        return false;
    // A socket left behind by a crashed run would make bind fail; the lock says it is ours.
    ::unlink(address->sun_path);
    if (::bind(m_listener, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) != 0 ||
        ::listen(m_listener, 8) != 0) {
        ::close(m_listener);
        m_listener = -1;
        return false;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_listener, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this,
            &SingleInstance::acceptConnections);
    return true;
}

void SingleInstance::acceptConnections() {
    for (;;) {
        const int connection =
            ::accept4(m_listener, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            return; // EAGAIN: all taken; anything else: tried again at the next wakeup
        }
        new Connection(connection, *this);
    }
}

bool SingleInstance::askRunningInstanceToShow(const ActivationToken& token) {
    const auto address = socketAddress(serverPath());
    if (!address)
        return false;
    QByteArray request;
    if (isAcceptableToken(token.xdgActivationToken))
        request += kXdgTokenLine.toByteArray() + token.xdgActivationToken + '\n';
    if (isAcceptableToken(token.startupId))
        request += kStartupIdLine.toByteArray() + token.startupId + '\n';
    request += kShowRequest.toByteArray();
    // The running one may hold the lock but not listen yet: try for a while.
    QDeadlineTimer deadline(kConnectAttemptsMs);
    while (!deadline.hasExpired()) {
        const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        if (descriptor < 0)
            return false;
        const timeval timeout{1, 0};
        ::setsockopt(descriptor, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
        if (::connect(descriptor, reinterpret_cast<const sockaddr*>(&*address), sizeof *address) ==
            0) {
            const bool sent = sendAll(descriptor, request);
            ::close(descriptor);
            return sent;
        }
        ::close(descriptor);
        QThread::msleep(kRetryMs);
    }
    return false;
}

} // namespace q905
