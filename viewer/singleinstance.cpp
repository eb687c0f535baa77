// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/singleinstance.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
constexpr QByteArrayView RaiseRequest = "raise\n";
// How long a second start waits for the first to take its request; the
// first answers from its event loop, so this is only reached when it hangs.
constexpr int AnswerMs = 3000;

// The user's runtime folder ends with the desktop session.
QString sessionFolder() {
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return !runtime.isEmpty() && QFileInfo(runtime).isDir() ? runtime : QDir::tempPath();
}

QString userName() {
    const QString user = qEnvironmentVariable("USER");
    return user.isEmpty() ? qEnvironmentVariable("USERNAME") : user;
}
} // namespace

QString SingleInstance::socketName(const QString& storePath) {
    const QString canonical = QFileInfo(storePath).canonicalFilePath();
    const QByteArray key = (userName() + u'\n' + (canonical.isEmpty() ? storePath : canonical))
                               .toUtf8();
    const QByteArray hash =
        QCryptographicHash::hash(key, QCryptographicHash::Sha256).toHex().left(24);
    return sessionFolder() + u"/tellmarin-viewer-"_s + QString::fromLatin1(hash);
}

SingleInstance::SingleInstance(const QString& storePath, std::function<void()> raise)
    : m_name(socketName(storePath)), m_lock(m_name + u".lock"_s), m_raise(std::move(raise)) {
    m_lock.setStaleLockTime(0); // held for the viewer's life; a dead holder is found by its PID
}

SingleInstance::~SingleInstance() {
    if (m_server)
        m_server->close();
}

bool SingleInstance::claim() {
    if (!m_lock.tryLock(0)) {
        askFirstToRaise();
        return false;
    }
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    QLocalServer::removeServer(m_name); // left by a viewer that died
    m_server->listen(m_name);
    // Every connection is a later start of the same store's viewer.
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* s = m_server->nextPendingConnection()) {
            connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (m_raise)
                m_raise();
        }
    });
    return true;
}

void SingleInstance::askFirstToRaise() const {
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(AnswerMs))
        return; // the first viewer is still starting: it comes up by itself
    socket.write(RaiseRequest.data(), RaiseRequest.size());
    socket.waitForBytesWritten(AnswerMs);
    socket.disconnectFromServer();
}

} // namespace tlm::viewer
