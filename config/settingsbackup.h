// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The settings backup: every setting of the program as one line
// "key","value" (CR LF) in a text file, and its restore. The restore reads
// and checks the whole file before it writes any key, and then writes all
// of them at once.
#include "platform/initext.h"

#include <QList>
#include <QString>
#include <utility>

namespace tlm::backup {

using KeyValues = QList<std::pair<QString, QString>>;

// The desktop folder's "Tellmarin_all.ini".
QString defaultExportPath();

// The lines of the export in their order, with the value stored for each key
// or, for a key absent from the store, the default that call processing
// uses (empty where it has none). CompanyFallback comes last, and only when
// it is stored.
KeyValues exportValues();
// One line of the file: both fields quoted, a quote inside doubled.
QString exportLine(const QString& key, const QString& value);
// Writes the export file (system code page) as a whole: an existing file
// is replaced only once the new one is complete. Raises tlm::Error when it
// cannot be written, for a path that is no regular file, and for the
// settings file itself.
void writeExport(const QString& path);

// A restore file larger than this, or with a longer line, is no export (a
// full export is a few KB).
constexpr qint64 MaxRestoreSize = 16 * 1024 * 1024;
constexpr qsizetype MaxRestoreLine = 65536;

// A restore file as read: its text and its keys and values, which point
// into the text.
struct RestoreFile {
    QString text;
    QList<ini::text::KeyValue> entries;
};

// The keys and values of a restore file (UTF-8, UTF-16 with byte order
// mark or Windows-1252), read with memory for about three times the file.
// Raises tlm::Error with the file's name and line for a file that is no
// export: no regular file, larger than MaxRestoreSize, a line longer than
// MaxRestoreLine or not of the two-field form, a key name that the store
// cannot keep, or not one key at all. The texts "Microsoft Bing" and
// "Google Maps" of Maps become its list index.
RestoreFile readRestoreFile(const QString& path);
// Reads the file and then writes all of its keys, or none on an error.
void restore(const QString& path);

} // namespace tlm::backup
