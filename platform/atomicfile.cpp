// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/atomicfile.h"

#include "platform/fileio.h"
#include "platform/files.h"
#include "platform/processlock.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::atomicfile {
namespace {

// The temporary name is short whatever the final name's length, so that
// every name that fits the file system can be written. A writer killed
// between writing its temporary file and renaming it leaves
// ".tlm<pid>.ini.tmp"; the next writer in the folder removes those of
// processes that no longer run.
void removeAbandonedTemporaries(const QString& folder) {
    for (const QString& path : files::matching(folder, u".tlm*.ini.tmp"_s)) {
        const QString name = QFileInfo(path).fileName();
        bool ok = false;
        const qint64 pid = name.mid(4, name.size() - 12).toLongLong(&ok);
        if (ok && pid != ::getpid() && !processlock::isRunning(pid))
            files::remove(path);
    }
}

} // namespace

void replace(const QString& path, QByteArrayView content) {
    const QFileInfo info(path);
    const QString temp =
        info.absolutePath() + u"/.tlm"_s + QString::number(::getpid()) + u".ini.tmp"_s;
    const QByteArray tempName = QFile::encodeName(temp);
    removeAbandonedTemporaries(info.absolutePath());
    const int fd = fileio::open(temp, O_WRONLY | O_CREAT | O_TRUNC, 0666);
    if (fd < 0)
        fileio::raiseAccess();
    struct stat st {};
    if (::stat(QFile::encodeName(path).constData(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    const bool written = fileio::writeFully(fd, content);
    const bool closed = ::close(fd) == 0;
    if (!written || !closed ||
        ::rename(tempName.constData(), QFile::encodeName(path).constData()) != 0) {
        ::unlink(tempName.constData());
        fileio::raiseAccess();
    }
}

} // namespace tlm::atomicfile
