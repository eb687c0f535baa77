// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/storewatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QStorageInfo>
#include <QTimer>
#include <array>

using namespace Qt::StringLiterals;
using namespace std::chrono_literals;

namespace tlm::viewer {
namespace {
// The looks after the last notice, each this long after the one before.
constexpr std::array AfterNotice = {10ms, 90ms, 900ms};

// File systems that other machines write through: this machine's kernel
// tells only of the writes made here.
bool isNetworkFileSystem(const QString& folder) {
    const QByteArray type = QStorageInfo(folder).fileSystemType();
    for (const char* network : {"nfs", "cifs", "smb", "9p", "afs", "ceph", "glusterfs", "lustre",
                                "gpfs", "ncpfs", "davfs", "fuse.sshfs", "fuse.gvfsd"})
        if (type.startsWith(network))
            return true;
    return false;
}

// Where the system gives Qt no notices (no inotify instance left, say), Qt
// looks at the files once a second itself: too seldom to count as notices.
bool slowNotices(const QFileSystemWatcher& watcher) {
    for (const QObject* engine : watcher.children())
        if (qstrcmp(engine->metaObject()->className(), "QPollingFileSystemWatcherEngine") == 0)
            return true;
    return false;
}
} // namespace

StoreWatcher::StoreWatcher(const QString& path, Settings settings, QObject* parent)
    : QObject(parent), m_settings(settings), m_folder(QFileInfo(path).absolutePath()),
      m_store{path, {}}, m_log{path + u"-wal"_s, {}}, m_remote(isNetworkFileSystem(m_folder)),
      m_notices(new QFileSystemWatcher(this)), m_soon(new QTimer(this)),
      m_after(new QTimer(this)), m_poll(new QTimer(this)) {
    connect(m_notices, &QFileSystemWatcher::fileChanged, this, &StoreWatcher::noticed);
    connect(m_notices, &QFileSystemWatcher::directoryChanged, this, &StoreWatcher::noticed);
    m_soon->setSingleShot(true);
    m_soon->setInterval(0);
    connect(m_soon, &QTimer::timeout, this, &StoreWatcher::lookNow);
    m_after->setSingleShot(true);
    connect(m_after, &QTimer::timeout, this, &StoreWatcher::lookLater);
    m_poll->setInterval(m_settings.poll);
    connect(m_poll, &QTimer::timeout, this, &StoreWatcher::lookNow);
    arm();
}

bool StoreWatcher::polling() const {
    return m_poll->isActive();
}

void StoreWatcher::noticed() {
    if (!m_soon->isActive())
        m_soon->start(); // notices queued behind this one join its look
    m_afterStep = 0;
    m_after->start(AfterNotice[0]);
}

void StoreWatcher::lookNow() {
    Q_EMIT look();
    arm();
}

void StoreWatcher::lookLater() {
    lookNow();
    if (++m_afterStep < static_cast<int>(AfterNotice.size()))
        m_after->start(AfterNotice[static_cast<size_t>(m_afterStep)]);
}

void StoreWatcher::arm() {
    bool watching = m_settings.notices;
    if (watching && !m_notices->directories().contains(m_folder))
        watching = m_notices->addPath(m_folder);
    if (watching)
        watching = watchFile(m_store) && watchFile(m_log) && !slowNotices(*m_notices);
    m_watching = watching;
    const bool poll = (!watching || m_remote) && m_settings.poll > 0ms;
    if (poll && !m_poll->isActive())
        m_poll->start();
    else if (!poll)
        m_poll->stop();
}

// False when the file is there and cannot be watched.
bool StoreWatcher::watchFile(Watched& file) {
    const files::Identity now = files::identity(file.path);
    const bool watched = m_notices->files().contains(file.path);
    if (watched && now == file.identity)
        return true;
    if (watched)
        m_notices->removePath(file.path);
    file.identity = {};
    if (!now.exists)
        return true; // the folder's watch tells when it comes
    if (!m_notices->addPath(file.path))
        return false;
    file.identity = now;
    return true;
}

} // namespace tlm::viewer
