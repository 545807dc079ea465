#pragma once
// One running program per user: a lock file claims the right to run, a local server beside it
// takes "show" requests from later starts, which end at once.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
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
    // asked to show its window, and this process should end.
    bool claim();

    QString lockPath() const;
    QString serverPath() const;

    static QString defaultFolder();

  signals:
    void showRequested();

  private:
    bool askRunningInstanceToShow();

    QString m_folder;
    std::unique_ptr<QLockFile> m_lock;
    QLocalServer m_server;
};

} // namespace q905
