// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// vCard files (versions 2.1, 3.0 and 4.0 read; 3.0 and 4.0 written) to and
// from contact records: a QVariantMap keyed by Outlook contact property names
// (FirstName, LastName, CompanyName, BusinessTelephoneNumber, ...).
//
// Reading: folded lines are joined, quoted-printable values and the CHARSET
// parameter are understood, escapes (\\ \; \, \n) are resolved, TYPE
// parameters are accepted in the 2.1 (TEL;WORK;VOICE), 3.0
// (TYPE=WORK,VOICE or TYPE=work;TYPE=voice) and 4.0 (TYPE="work,voice",
// VALUE=uri with tel: URIs) forms. A file that is not UTF-8 (decided after
// folded lines are joined, so that a character split by a fold counts) is
// read as Windows-1252. Line breaks in texts become CR LF, as Outlook keeps
// them. Unknown properties (also names such as X-MESSAGING/GADU-ALL) are
// ignored; "VERSION:4" is 4.0.
//
// Telephone numbers go to the twelve phone fields and the three fax fields:
//   fax (work / home / other)        BusinessFax / HomeFax / OtherFaxNumber
//   work                             Business, then Business2
//   home                             Home, then Home2
//   cell                             Mobile, then Radio
//   car                              Car
//   pager, x-radio                   Radio
//   x-company, or work with main     CompanyMain
//   main, or pref without any kind   Primary
//   x-callback / x-assistant         Callback / Assistant
//   other, isdn, no type at all      Other
//   x-business2 / x-home2            Business2 / Home2
// "pref" beside a kind only marks a preference and changes nothing. When the
// chosen fields are taken the number goes to Other, then Callback, then to
// the first free field in phone field order; when all are taken it is left
// out with a warning. The writer marks every field so that reading the file
// back fills the same field.
//
// E-mail addresses fill Email1Address to Email3Address in file order. ADR
// with TYPE work / home fills the Business / Home address, others the Other
// address (a taken one moves on to the next free of Other, Home, Business).
// N gives LastName, FirstName, MiddleName, Title (prefix) and Suffix; ORG
// gives CompanyName and Department (of several N or ORG lines, such as
// language variants, the preferred one counts, else the first); TITLE gives
// JobTitle; CATEGORIES gives Categories ("A, B"); NOTE gives Body. Without N
// the names come from FN.
#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <functional>

class QIODevice;

namespace tlm::pim::vcard {

// A logical line (folded lines joined) longer than this, or a card longer
// than MaxCardSize, is refused with its file and line rather than held in
// memory.
constexpr qsizetype MaxLineSize = 4 * 1024 * 1024;
constexpr qsizetype MaxCardSize = 16 * 1024 * 1024;

using Contact = QVariantMap;

struct ReadResult {
    QList<Contact> contacts;
    QList<int> lines;     // the line of each contact's BEGIN:VCARD
    QStringList warnings; // "file:line: text"
};

// Reads every vCard of data; fileName names the source in messages. Raises
// tlm::Error (BadFileFormat, "file:line: text") for a malformed file.
ReadResult read(const QByteArray& data, const QString& fileName);
ReadResult read(QIODevice& in, const QString& fileName);
// The same from a device, one contact at a time, each with the line of its
// BEGIN:VCARD, so that a large file never lies in memory: the device is
// read twice in blocks (a pipe is kept in a temporary file for that), and
// memory is bounded by the longest line and card. Warnings are appended.
void read(QIODevice& in, const QString& fileName,
          const std::function<void(Contact&& contact, int line)>& each, QStringList& warnings);
// Reads a file (53 when it is missing).
ReadResult readFile(const QString& path);

enum class Version { V3, V4 };
// Writes the contacts as vCards (UTF-8, CR LF, lines folded at 75 octets).
QByteArray write(const QList<Contact>& contacts, Version version);

// A text value with vCard's escapes (\\ \; \, and \n for a line break), and
// back (line breaks become CR LF).
QString escapeText(const QString& value);
QString unescapeText(const QString& value);

// The twelve phone fields in phone field order, then the three fax fields.
const QStringList& numberFields();
// Every property that reading can fill.
const QStringList& contactFields();

} // namespace tlm::pim::vcard
