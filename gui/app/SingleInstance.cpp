#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>
#include <QStandardPaths>
#include <QThread>

namespace quorvane {
namespace {

constexpr QByteArrayView kActivateRequest = "activate\n";
constexpr int kConnectAttempts = 30;
constexpr int kAttemptPauseMs = 100;
constexpr int kTimeoutMs = 1000;

// The user's runtime folder ($XDG_RUNTIME_DIR), or a folder of the user's own under the
// temporary folder when there is none: the marker belongs to one user.
QString MarkerFolder() {
    const QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace

TSingleInstance::TSingleInstance(const QString& name, QObject* parent)
    : QObject(parent), FServerName(MarkerFolder() + QLatin1Char('/') + name),
      FLock(FServerName + QStringLiteral(".lock")) {
    // Only a lock whose process has ended is taken over, however old it is.
    FLock.setStaleLockTime(0);
    connect(&FServer, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = FServer.nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
                if (socket->readAll().contains(kActivateRequest.toByteArray()))
                    emit ActivateRequested();
                socket->disconnectFromServer();
            });
        }
    });
}

TSingleInstance::~TSingleInstance() {
    Release();
}

bool TSingleInstance::Acquire() {
    // Only a lock held by another instance stops this one: a runtime folder that cannot hold the
    // marker must not keep the program from starting.
    if (!FLock.tryLock(0) && FLock.error() == QLockFile::LockFailedError)
        return false;
    // A socket file left by an instance that crashed would stop the server from listening.
    QLocalServer::removeServer(FServerName);
    FServer.setSocketOptions(QLocalServer::UserAccessOption);
    FServer.listen(FServerName);
    return true;
}

void TSingleInstance::Release() {
    FServer.close();
    if (FLock.isLocked())
        FLock.unlock();
}

bool TSingleInstance::ActivateRunning() {
    for (int attempt = 0; attempt < kConnectAttempts; ++attempt) {
        QLocalSocket socket;
        socket.connectToServer(FServerName);
        if (socket.waitForConnected(kTimeoutMs)) {
            socket.write(kActivateRequest.data(), kActivateRequest.size());
            const bool written = socket.waitForBytesWritten(kTimeoutMs);
            socket.waitForDisconnected(kTimeoutMs);
            return written;
        }
        QThread::msleep(kAttemptPauseMs);
    }
    return false;
}

} // namespace quorvane
