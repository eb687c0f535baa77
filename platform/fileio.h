// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Low-level file access shared by the text file, INI and version readers:
// whole-file reads and writes with one system call each where possible, so
// that lines appended by concurrent processes never interleave, and the two
// file errors the program reports.
//
// A file of the work folder (which may lie in the shared /tmp) is never
// opened through a symbolic link, and only when it is a regular file: a link
// planted there cannot redirect a write, and a FIFO cannot block a run. Such
// a file counts as one that cannot be opened.
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

namespace tlm::fileio {

// Raises tlm::Error 53 "Datei nicht gefunden".
[[noreturn]] void raiseNotFound();
// Raises tlm::Error 75 "Fehler beim Zugriff auf Pfad/Datei".
[[noreturn]] void raiseAccess();

// The whole file; std::nullopt when it cannot be read. missing is set when
// the reason is that the file does not exist.
std::optional<QByteArray> readAll(const QString& path, bool* missing = nullptr);

// Why readRegular gave nothing.
enum class ReadFault { None, Missing, NotRegular, TooLarge, Unreadable };
// The whole of a regular file (a link to one is followed) of at most
// maxSize bytes, opened without blocking: a FIFO, a device or a folder is
// refused at once, and a file larger than maxSize (also one that grows
// while it is read) is refused before more than maxSize + 1 bytes are held.
std::optional<QByteArray> readRegular(const QString& path, qint64 maxSize, ReadFault& fault);

// Appends bytes (creating the file) with one write; false on failure.
bool append(const QString& path, QByteArrayView bytes);
// Replaces the file's content; false on failure.
bool replace(const QString& path, QByteArrayView bytes);

// Whether openRegular follows a symbolic link to a regular file.
enum class Links { Refuse, Follow };
// Opens a file without blocking (O_CLOEXEC added) and, unless links is
// Follow, without following a link; -1 (errno EINVAL for a file that is no
// regular file) when it cannot be opened or is no regular file.
int openRegular(const QString& path, int flags, unsigned mode = 0666, Links links = Links::Refuse);
// openRegular for a file of the work folder, a plain open elsewhere.
int open(const QString& path, int flags, unsigned mode = 0666);

// Writes all bytes to an open descriptor, retrying short writes.
bool writeFully(int fd, QByteArrayView bytes);

} // namespace tlm::fileio
