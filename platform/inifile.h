// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// INI profile strings with the behaviour of the Windows functions: section
// and key names match without regard to case; writing a key replaces its
// value in place or appends it at the end of its section; a missing section
// is appended at the end of the file. Writing section "-", key "-" and value
// "-" appends one empty line to the file instead. A writer takes an advisory
// lock and replaces the file atomically, so concurrent processes never lose a
// key or see a torn file. Files are in the system code page, lines end CR LF.
#include "platform/initext.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <span>
#include <utility>

namespace tlm::ini {

constexpr int NoCut = -1;

// The value, or the empty text when file, section or key is missing; cut to
// maxLength characters unless NoCut.
QString read(const QString& file, const QString& section, const QString& key,
             int maxLength = NoCut);

// Replaces the whole file under the writers' lock with what transform makes
// of its current bytes; nothing when transform gives nothing (or the file is
// missing). Raises tlm::Error when the file cannot be written.
void rewrite(const QString& file,
             const std::function<std::optional<QByteArray>(const QByteArray&)>& transform);

// Told, still under the writers' lock, the file's bytes after a write (also
// when the write left the file as it was), so that a reader that keeps them
// can tell them from a later change by another process.
using Written = std::function<void(const QByteArray&)>;

// Raises tlm::Error when the file cannot be written.
void write(const QString& file, const QString& section, const QString& key, const QString& value,
           const Written& written = {});

// Sets several keys of one section in one replacement of the file: either
// all of them are written or, when it fails, none.
void writeAll(const QString& file, const QString& section, std::span<const text::KeyValue> values,
              const Written& written = {});

// One write of a series: section, key and value all "-" append an empty line.
struct Entry {
    QString section;
    QString key;
    QString value;
};

// The entry that appends an empty line.
Entry blankLine();

// Writes the entries in their order in one replacement of the file: the file
// ends with exactly the bytes that one write per entry would leave, and a
// reader sees the file before the series or after it. All of them are
// written or, when it fails, none.
void writeSeries(const QString& file, std::span<const Entry> entries);

} // namespace tlm::ini
