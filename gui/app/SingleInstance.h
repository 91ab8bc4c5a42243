#pragma once

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

namespace quorvane {

// One running program per user. The first instance holds a lock file and listens on a local
// socket, both named after the marker in the user's runtime folder; a later start finds the
// lock taken, asks the running instance over the socket to bring its window forward, and ends.
class TSingleInstance : public QObject {
    Q_OBJECT

public:
    explicit TSingleInstance(const QString& name = QStringLiteral("BrindlecotQuorvane"),
                             QObject* parent = nullptr);
    ~TSingleInstance() override;

    // Takes the marker. False when another instance holds it (when the marker cannot be made at
    // all, the program runs without it).
    bool Acquire();
    // Lets the marker go (also when destroyed).
    void Release();
    // Asks the instance that holds the marker to bring its window forward. Waits a few seconds
    // at most for it to listen (it may be starting); returns whether the request was delivered.
    bool ActivateRunning();

signals:
    // A later start asked for the window.
    void ActivateRequested();

private:
    QString FServerName;
    QLockFile FLock;
    QLocalServer FServer;
};

} // namespace quorvane
