#include "qt/single_instance.h"

#include <QLocalSocket>

namespace qtui {

QString SingleInstance::serverName(const QString& caption) {
    // Per user and display, so that two people (or two desktops) each get their own editor.
    const QString display =
        qEnvironmentVariable("DISPLAY", qEnvironmentVariable("WAYLAND_DISPLAY"));
    return caption + " (" + qEnvironmentVariable("USER", "user") + " " + display + ")";
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
