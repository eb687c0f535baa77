// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The per-call file: an INI file in the work folder named after the call id
// that carries a call's state from one event's run to the next.
#include "outlook/fwd.h"
#include "platform/inifile.h"

#include <QString>
#include <span>

namespace tlm {

struct Run;

// Writes one key; section, key and value all "-" append an empty line.
void subIniWrite(const QString& file, const QString& section, const QString& key,
                 const QString& value);
// Writes the entries in their order in one replacement of the file, with the
// bytes one subIniWrite per entry would leave.
void subIniWriteSeries(const QString& file, std::span<const ini::Entry> entries);
// The value (cut to 254 characters), or the empty text.
QString fncIniRead(const QString& file, const QString& section, const QString& key);

// Work folder + call id (made safe as a file name) + ".call".
QString callFilePath(const Run& run);

// Start-up step 11: creates the per-call file or updates it for this event.
void createOrUpdateCallFile(Run& run);

// Writes a contact and the number of the phone field that matched into the
// per-call file; without arguments the lookup's current contact and field.
void subUpdateCallFileContact(Run& run, const outlook::ItemPtr& contact, int field);
void subUpdateCallFileContact(Run& run);

// A contact's FullNameAndCompany on one line, as log lines show it.
QString contactLogText(const QString& fullNameAndCompany);

} // namespace tlm
