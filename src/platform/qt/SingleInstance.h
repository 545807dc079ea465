// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One running program per user: a lock file claims the right to run, a local socket beside it
// takes "show" requests from later starts, which end at once. A request is a line "show",
// after lines that carry the later start's activation token ("xdg-activation-token T",
// "startup-id T"); a running program that knows only "show" ignores those lines and still shows.
// Plain Unix sockets under Qt's event loop: Qt's network module and the libraries it brings
// would be most of the program's memory beyond Qt's own for this one socket.

#include "platform/qt/ActivationToken.h"

#include <QLockFile>
#include <QObject>
#include <QSocketNotifier>
#include <QString>

#include <memory>

namespace q905 {

// The name the single-instance guard is known by (it begins with a space).
inline constexpr const char* kSingleInstanceMutexName = " {57D1171D-1a34-0804-8A3A-75ABA2150001}";

class SingleInstance : public QObject {
    Q_OBJECT
  public:
    // folder: where the lock and the server socket live (the user's runtime folder).
    explicit SingleInstance(QString folder = defaultFolder(), QObject* parent = nullptr);
    ~SingleInstance() override;

    // True: this process runs and listens for show requests. False: another one runs; it was
    // asked to show its window, handed token to come to the front with, and this process
    // should end.
    bool claim(const ActivationToken& token = {});

    QString lockPath() const;
    QString serverPath() const;

    static QString defaultFolder();

  signals:
    // token: what the later start was given by its launcher; empty when it had nothing.
    void showRequested(const q905::ActivationToken& token);

  private:
    bool listen();
    void acceptConnections();
    bool askRunningInstanceToShow(const ActivationToken& token);

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    int m_listener = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace q905
