#include "platform/processlock.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tlm::processlock {
namespace {
// A regular file opened without following a link and without blocking.
int openLockFile(const QString& path, int flags) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return -1;
    }
    return fd;
}
} // namespace

Holder::Holder(const QString& path) : m_path(path) {
    const int fd = openLockFile(path, O_RDWR | O_CREAT);
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
    const int fd = openLockFile(path, O_RDONLY);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

} // namespace tlm::processlock
