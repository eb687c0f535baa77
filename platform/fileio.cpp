// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileio.h"

#include "platform/error.h"
#include "platform/paths.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::fileio {
namespace {

int openRaw(const QString& path, int flags, mode_t mode) {
    const QByteArray name = QFile::encodeName(path);
    int fd;
    do {
        fd = ::open(name.constData(), flags | O_CLOEXEC, mode);
    } while (fd < 0 && errno == EINTR);
    return fd;
}

int openRetrying(const QString& path, int flags, mode_t mode = 0666) {
    return path.startsWith(paths::workFolder()) ? openRegular(path, flags, mode)
                                                : openRaw(path, flags, mode);
}

bool writeAndClose(int fd, QByteArrayView bytes) {
    const bool ok = writeFully(fd, bytes);
    return ::close(fd) == 0 && ok;
}

} // namespace

void raiseNotFound() {
    throw Error(err::FileNotFound, u"Datei nicht gefunden"_s);
}
void raiseAccess() {
    throw Error(err::FileAccess, u"Fehler beim Zugriff auf Pfad/Datei"_s);
}

std::optional<QByteArray> readAll(const QString& path, bool* missing) {
    if (missing)
        *missing = false;
    const int fd = openRetrying(path, O_RDONLY);
    if (fd < 0) {
        if (missing)
            *missing = errno == ENOENT || errno == ENOTDIR;
        return std::nullopt;
    }
    struct stat st {};
    QByteArray data;
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    if (st.st_size > 0)
        data.reserve(static_cast<qsizetype>(st.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            ::close(fd);
            return std::nullopt;
        }
        if (n == 0)
            break;
        data.append(buffer, static_cast<qsizetype>(n));
    }
    ::close(fd);
    return data;
}

int openRegular(const QString& path, int flags, unsigned mode) {
    const int fd = openRaw(path, flags | O_NOFOLLOW | O_NONBLOCK, static_cast<mode_t>(mode));
    struct stat st {};
    if (fd >= 0 && (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode))) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

int open(const QString& path, int flags, unsigned mode) {
    return openRetrying(path, flags, static_cast<mode_t>(mode));
}

bool writeFully(int fd, QByteArrayView bytes) {
    const char* p = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, static_cast<size_t>(left));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        p += n;
        left -= n;
    }
    return true;
}

bool append(const QString& path, QByteArrayView bytes) {
    const int fd = openRetrying(path, O_WRONLY | O_APPEND | O_CREAT);
    return fd >= 0 && writeAndClose(fd, bytes);
}

bool replace(const QString& path, QByteArrayView bytes) {
    const int fd = openRetrying(path, O_WRONLY | O_TRUNC | O_CREAT);
    return fd >= 0 && writeAndClose(fd, bytes);
}

} // namespace tlm::fileio
