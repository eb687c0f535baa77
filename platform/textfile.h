// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Text files in the system code page (UTF-8 here, the ANSI code page on
// Windows). Each call opens, writes and closes the file. Failures raise
// tlm::Error (53 missing file, 75 path/file access error).
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringView>

namespace tlm::textfile {

QByteArray encode(QStringView text);
QString decode(const QByteArray& bytes);

// Decodes a file that may come from another machine: UTF-8 (with or without
// byte order mark), UTF-16LE or UTF-16BE with byte order mark or, as some
// editors save it, without (utf16WithoutMark), else Windows-1252.
QString decodeForeign(const QByteArray& bytes);
// True for UTF-16 text without byte order mark: its first characters are
// mostly Latin-1 ones, whose NUL high bytes text in a code page never has.
bool utf16WithoutMark(QByteArrayView bytes);
// Windows-1252 bytes as text.
QString fromWindows1252(QByteArrayView bytes);

// Appends text + CR LF, creating the file when missing.
void appendLine(const QString& path, const QString& line);
// Appends text as it stands (no line end added).
void append(const QString& path, const QString& text);
// Replaces the file's content.
void write(const QString& path, const QString& text);
// Reads the whole file (system code page).
QString read(const QString& path);
// Reads a file that may come from another machine (decodeForeign).
QString readForeign(const QString& path);

} // namespace tlm::textfile
