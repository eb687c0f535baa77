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

// Appends bytes (creating the file) with one write; false on failure.
bool append(const QString& path, QByteArrayView bytes);
// Replaces the file's content; false on failure.
bool replace(const QString& path, QByteArrayView bytes);

// Opens a file without following a link and without blocking (O_CLOEXEC
// added); -1 when it cannot be opened or is no regular file.
int openRegular(const QString& path, int flags, unsigned mode = 0666);
// openRegular for a file of the work folder, a plain open elsewhere.
int open(const QString& path, int flags, unsigned mode = 0666);

// Writes all bytes to an open descriptor, retrying short writes.
bool writeFully(int fd, QByteArrayView bytes);

} // namespace tlm::fileio
