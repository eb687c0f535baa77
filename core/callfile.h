// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-call file: an INI file in the work folder named after the call id
// that carries a call's state from one event's run to the next.
#include <QString>

namespace tlm {

struct Run;

// Writes one key; section, key and value all "-" append an empty line.
void subIniWrite(const QString& file, const QString& section, const QString& key,
                 const QString& value);
// The value (cut to 254 characters), or the empty text.
QString fncIniRead(const QString& file, const QString& section, const QString& key);

// Work folder + call id (made safe as a file name) + ".call".
QString callFilePath(const Run& run);

// Start-up step 11: creates the per-call file or updates it for this event.
void createOrUpdateCallFile(Run& run);

// Writes the current contact of the lookup and the matched field number
// into the per-call file.
void subUpdateCallFileContact(Run& run);

// A contact's FullNameAndCompany on one line, as log lines show it.
QString contactLogText(const QString& fullNameAndCompany);

} // namespace tlm
