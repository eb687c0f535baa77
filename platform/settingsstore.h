// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-user settings store, application "Orvensoft", section "Tellmarin".
// Here: $XDG_CONFIG_HOME/Orvensoft/Tellmarin.ini, section [Tellmarin],
// plain key=value, values not cut.
#include "platform/initext.h"

#include <QList>
#include <QString>
#include <span>
#include <utility>

namespace tlm::settingsstore {

QString filePath();
// The stored text, or def when the key is missing.
QString get(const QString& key, const QString& def = QString());
bool contains(const QString& key);
// A name the store can keep as one key: not empty, no "=", "[", "]" or
// line break, not starting with ";" or "#" (a comment line).
bool validKeyName(QStringView key);

// Raises tlm::Error when the store cannot be written, and 5 for a key name
// that is not valid. Keys match without regard to case.
void save(const QString& key, const QString& value);
// Saves all pairs at once: all are written or, on an error, none. Of a key
// given twice the last value counts.
void saveAll(std::span<const ini::text::KeyValue> values);

} // namespace tlm::settingsstore
