#include "singleinstance.hpp"

#include <QDeadlineTimer>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QtGlobal>

namespace ondavia::gui {

namespace {
QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
}

// The lock lives in the user's private runtime folder, where nobody else can
// plant a file of its name.
QString LockFilePath(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty()) folder = QDir::tempPath();
    return QDir(folder).filePath(name + QStringLiteral(".lock"));
}

// How long a second start waits for a starting instance to begin listening.
constexpr int kHandOverWaitMs = 5000;
}  // namespace

SingleInstance::SingleInstance(const QString& identifier, QObject* parent)
    : QObject(parent), name_(identifier + QLatin1Char('-') + UserName()) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::AskRunningInstance(int waitMs) {
    QDeadlineTimer deadline(waitMs);
    do {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(500)) {
            probe.write("show\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return true;
        }
        QThread::msleep(50);
    } while (!deadline.hasExpired());
    return false;
}

void SingleInstance::Serve() {
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left by a crashed run: only the lock holder gets here, so
        // nobody else is serving on it.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            emit Activated();
        }
    });
}

bool SingleInstance::IsAlreadyRunning() {
    if (server_) return false;
    lock_ = std::make_unique<QLockFile>(LockFilePath(name_));
    // Never stale by age: the instance holds it for as long as it runs; a
    // crashed holder's lock is recognised by its process being gone.
    lock_->setStaleLockTime(0);
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (lock_->tryLock(0)) {
            Serve();
            return false;
        }
        if (lock_->error() != QLockFile::LockFailedError) break;
        // Another process holds the lock: it serves, or is about to.
        if (AskRunningInstance(kHandOverWaitMs)) return true;
        // No answer: the holder may just have ended; try the lock again.
    }
    if (lock_->error() == QLockFile::LockFailedError) return true;  // held, but silent
    // No lock to be had (runtime folder unusable): a running instance is
    // still found by its socket.
    lock_.reset();
    if (AskRunningInstance(0)) return true;
    Serve();
    return false;
}

}  // namespace ondavia::gui
