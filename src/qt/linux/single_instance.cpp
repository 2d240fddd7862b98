// The socket is a plain Unix one in the abstract namespace rather than QLocalServer: Qt Network
// and the libraries it pulls in cost the editor's start more than the rest of its wiring, and
// an abstract name leaves no file behind when an editor is killed.
#include "qt/single_instance.h"

#include <QSocketNotifier>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstring>

namespace qtui {
namespace {

struct Address {
    sockaddr_un address{};
    socklen_t length = 0;
};

Address addressOf(const QString& name) {
    Address a;
    a.address.sun_family = AF_UNIX;
    // A leading zero byte puts the name in the abstract namespace.
    const QByteArray key = ("quorvex-editor/" + name).toUtf8();
    const std::size_t size =
        std::min<std::size_t>(static_cast<std::size_t>(key.size()), sizeof(a.address.sun_path) - 1);
    std::memcpy(a.address.sun_path + 1, key.constData(), size);
    a.length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + size);
    return a;
}

// Abstract names are not guarded by file modes: only a peer of our own user counts.
bool peerIsThisUser(int fd) {
    ucred credentials{};
    socklen_t size = sizeof credentials;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &size) == 0 &&
           credentials.uid == getuid();
}

}  // namespace

QString SingleInstance::serverName(const QString& caption) {
    // Per user and display, so that two people (or two desktops) each get their own editor.
    const QString display =
        qEnvironmentVariable("DISPLAY", qEnvironmentVariable("WAYLAND_DISPLAY"));
    return caption + " (" + QString::number(getuid()) + " " + display + ")";
}

SingleInstance::SingleInstance(const QString& caption) {
    const Address a = addressOf(serverName(caption));
    const auto* address = reinterpret_cast<const sockaddr*>(&a.address);
    // A connection is the request to come forward. It never waits: an editor whose queue is full
    // is not answering, and this one runs instead.
    const int probe = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (probe >= 0) {
        raised_ = connect(probe, address, a.length) == 0 && peerIsThisUser(probe);
        close(probe);
        if (raised_) return;
    }
    listener_ = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (listener_ < 0) return;
    // When the name is taken (by another user, or by an editor starting at the same moment)
    // this one runs without answering later starts.
    if (bind(listener_, address, a.length) != 0 || listen(listener_, 4) != 0) {
        close(listener_);
        listener_ = -1;
        return;
    }
    notifier_ = std::make_unique<QSocketNotifier>(listener_, QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, [this] { answerRequests(); });
}

SingleInstance::~SingleInstance() {
    notifier_.reset();
    if (listener_ >= 0) close(listener_);
}

void SingleInstance::answerRequests() {
    for (;;) {
        const int peer = accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (peer < 0) return;
        const bool ours = peerIsThisUser(peer);
        close(peer);
        if (ours && handler_) handler_();
    }
}

}  // namespace qtui
