// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/fileio.h"

#include "platform/error.h"
#include "platform/paths.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <limits>
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

namespace {
// Reads fd to its end (closing it), or to more than limit bytes; nullopt
// on a read error.
std::optional<QByteArray> readToEnd(int fd, qint64 limit) {
    struct stat st {};
    QByteArray data;
    if (::fstat(fd, &st) == 0 && st.st_size > 0)
        data.reserve(static_cast<qsizetype>(std::min<qint64>(st.st_size, limit + 1)));
    char buffer[65536];
    while (data.size() <= limit) {
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
} // namespace

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
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        return std::nullopt;
    }
    return readToEnd(fd, std::numeric_limits<qint64>::max() - 1);
}

std::optional<QByteArray> readRegular(const QString& path, qint64 maxSize, ReadFault& fault) {
    fault = ReadFault::None;
    const int fd = openRegular(path, O_RDONLY, 0, Links::Follow);
    if (fd < 0) {
        fault = errno == ENOENT || errno == ENOTDIR ? ReadFault::Missing
                : errno == EINVAL                   ? ReadFault::NotRegular
                                                    : ReadFault::Unreadable;
        return std::nullopt;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && st.st_size > maxSize) {
        ::close(fd);
        fault = ReadFault::TooLarge;
        return std::nullopt;
    }
    auto data = readToEnd(fd, maxSize);
    if (!data)
        fault = ReadFault::Unreadable;
    else if (data->size() > maxSize)
        fault = ReadFault::TooLarge;
    return fault == ReadFault::None ? data : std::nullopt;
}

int openRegular(const QString& path, int flags, unsigned mode, Links links) {
    const int noFollow = links == Links::Follow ? 0 : O_NOFOLLOW;
    const int fd = openRaw(path, flags | noFollow | O_NONBLOCK, static_cast<mode_t>(mode));
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
