#include "singleinstance.hpp"

#include <QLocalServer>
#include <QLocalSocket>
#include <QtGlobal>

namespace ondavia::gui {

namespace {
QString UserName() {
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) user = qEnvironmentVariable("USERNAME");
    return user.isEmpty() ? QStringLiteral("user") : user;
}
}  // namespace

SingleInstance::SingleInstance(const QString& identifier, QObject* parent)
    : QObject(parent), name_(identifier + QLatin1Char('-') + UserName()) {}

SingleInstance::~SingleInstance() = default;

bool SingleInstance::IsAlreadyRunning() {
    {
        QLocalSocket probe;
        probe.connectToServer(name_);
        if (probe.waitForConnected(500)) {
            probe.write("show\n");
            probe.waitForBytesWritten(500);
            probe.disconnectFromServer();
            return true;
        }
    }
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(name_)) {
        // A socket left by a crashed run: nobody answered above, so take it over.
        QLocalServer::removeServer(name_);
        server_->listen(name_);
    }
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            emit Activated();
        }
    });
    return false;
}

}  // namespace ondavia::gui
