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

// Raises tlm::Error when the file cannot be written.
void write(const QString& file, const QString& section, const QString& key, const QString& value);

// Sets several keys of one section in one replacement of the file: either
// all of them are written or, when it fails, none.
void writeAll(const QString& file, const QString& section, std::span<const text::KeyValue> values);

} // namespace tlm::ini
