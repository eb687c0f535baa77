// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/processlock.h"

#include "platform/fileio.h"

#include <QFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tlm::processlock {
Holder::Holder(const QString& path) : m_path(path) {
    const int fd = fileio::openRegular(path, O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

Holder::~Holder() {
    if (m_fd < 0)
        return;
    // Removed while still locked, so a tester never locks a file whose holder
    // is about to let go of it.
    ::unlink(QFile::encodeName(m_path).constData());
    ::close(m_fd);
}

bool isHeld(const QString& path) {
    const int fd = fileio::openRegular(path, O_RDONLY);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

bool isRunning(qint64 pid) {
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

} // namespace tlm::processlock
