// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Journal entries, appointments and tasks of the store as iCalendar
// (VJOURNAL, VEVENT, VTODO), read and written with libical.
//
// The standard properties carry what they can: SUMMARY, DESCRIPTION,
// CATEGORIES, CREATED, LAST-MODIFIED; DTSTART (journal entry and
// appointment), DTEND and LOCATION (appointment, all-day events as dates),
// a VALARM for a reminder; DTSTART, DUE, COMPLETED, PERCENT-COMPLETE and
// STATUS for a task. Everything else the item holds travels in X-
// properties, so that another program keeps it and this one reads it back:
//   X-TELLMARIN-PROPERTY;X-TELLMARIN-NAME=Duration;VALUE=INTEGER:20
//   X-TELLMARIN-USERPROPERTY;X-TELLMARIN-NAME=PCALLID:5F3A9C21-0001
//   X-TELLMARIN-LINK:<the linked contact>
// Contact references (the links and the user property CID) hold a contact's
// EntryID in the store and its UID on the server; the caller translates.
//
// Writing over the server's last version of the item keeps what other
// programs put there (attendees, their own X- properties, ...).
#include "store/pimstore.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <functional>
#include <utility>

namespace tlm::sync::ical {

// Translates contact references; an unknown one is passed on unchanged.
struct ContactRefs {
    std::function<QString(const QString& entryId)> toUid;
    std::function<QString(const QString& uid)> toEntryId;
};

// The X- properties that carry what a standard property lacks; contacts
// carry what vCard lacks in the same form.
inline constexpr char PropertyX[] = "X-TELLMARIN-PROPERTY";
inline constexpr char UserPropertyX[] = "X-TELLMARIN-USERPROPERTY";
inline constexpr char NameParam[] = "X-TELLMARIN-NAME";
inline constexpr char TypeParam[] = "X-TELLMARIN-TYPE"; // not VALUE: libical would parse the value

// A stored value as the text of an X- property and the type to read it back
// ("BOOLEAN", "INTEGER", "FLOAT", "DATE-TIME"; nullptr for a text), and back.
std::pair<QString, const char*> typedText(const QVariant& value);
QVariant typedValue(const QString& text, const QString& type);

// "VJOURNAL", "VEVENT", "VTODO" for a message class; empty for others.
QString componentFor(const QString& messageClass);

// The item as a VCALENDAR with one component whose UID is uid. base: the
// server's last version of the item, or empty.
QByteArray write(const pim::ItemRecord& item, const QString& uid, const QByteArray& base,
                 const ContactRefs& refs);

struct ReadItem {
    QString uid;
    pim::ItemRecord record; // message class, properties, user properties, links, body
};

// The first VJOURNAL, VEVENT or VTODO of a calendar object; raises
// SyncError(BadAnswer) when there is none or the text is no iCalendar.
ReadItem read(const QByteArray& data, const ContactRefs& refs);

} // namespace tlm::sync::ical
