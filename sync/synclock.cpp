// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/synclock.h"

#include "platform/fileio.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::sync {

SyncLock::SyncLock(const QString& storePath) {
    const int fd = fileio::openRegular(storePath + u".sync-lock"_s, O_RDWR | O_CREAT, 0600);
    if (fd < 0)
        return;
    int locked;
    do
        locked = ::flock(fd, LOCK_EX);
    while (locked != 0 && errno == EINTR);
    if (locked != 0) {
        ::close(fd);
        return;
    }
    m_fd = fd;
}

SyncLock::~SyncLock() {
    if (m_fd >= 0)
        ::close(m_fd); // the file stays: removing it would race with a waiter
}

} // namespace tlm::sync
