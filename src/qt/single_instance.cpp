#include "qt/single_instance.h"

#include <QLocalSocket>

namespace qtui {

QString SingleInstance::serverName(const QString& caption) {
    // Per user, so that two people on one machine each get their own editor.
    return caption + " (" + qEnvironmentVariable("USER", "user") + ")";
}

SingleInstance::SingleInstance(const QString& caption) {
    const QString name = serverName(caption);
    QLocalSocket probe;
    probe.connectToServer(name);
    if (probe.waitForConnected(500)) {
        probe.write("raise\n");
        probe.waitForBytesWritten(500);
        probe.disconnectFromServer();
        raised_ = true;
        return;
    }
    // Nobody answered: whatever socket file is left belongs to an editor that ended.
    QLocalServer::removeServer(name);
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    QObject::connect(server_.get(), &QLocalServer::newConnection, [this] {
        while (QLocalSocket* s = server_->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (handler_) handler_();
        }
    });
    server_->listen(name);
}

}  // namespace qtui
