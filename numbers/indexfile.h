// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The contact index file: one line per filled phone field of every indexed
// contact, "number","EntryID",field,journal with CR LF; numbers in dialling
// form. Writing a record and scanning the file for a call number.
#include <QByteArray>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringView>

namespace tlm {

// The index file of a day in the work folder: "tlm" + yyyyMMdd + ".idx".
QString indexFileName(const QDate& day);
// What the index file of any day matches: "tlm*.idx". A build in progress
// writes beside it to a name that starts with the index file's own.
QString indexFilePattern();
// The lookup table made with an index file lies beside it: the index file's
// name with ".tab" added. It comes and goes with its index.
QString indexTablePath(const QString& indexPath);
// What the lookup table of any day matches: "tlm*.idx.tab".
QString indexTablePattern();

// One record line, CR LF included, in the system code page.
QByteArray indexRecord(const QString& number, const QString& entryId, int field, bool journal);
// The same line appended to out.
void appendIndexRecord(QByteArray& out, QStringView number, QStringView entryId, int field,
                       bool journal);

struct IndexMatch {
    QString entryId;
    int field = 0;
    int journal = 0; // -1 true, 0 false
};

// The record of one line of the index whose number is already known to
// match; line without its line end.
IndexMatch parseIndexLine(QByteArrayView line);

// The records whose number equals number exactly, in file order. A missing
// or unreadable file has none. Lines that cannot match are not decoded.
QList<IndexMatch> scanIndex(const QString& path, const QString& number);

} // namespace tlm
