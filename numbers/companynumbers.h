// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Company main numbers for callers from extensions: which indexed numbers
// are a company's main number, the rule that finds a caller's number behind
// one of them, and the small file beside the contact index that keeps them
// ("tlm<yyyymmdd>.zen"), sealed to the index it was built with
// (numbers/indexseal.h).
//
// A main number is the number of the company main field, or a number of any
// phone field written in the switchboard form: a separator ("-", "/", " " or
// ".") directly before a final "0" ("030 1234567-0"). The part that an
// extension follows (the prefix) is the switchboard number without its final
// "0", or the main field's number itself.
#include "numbers/indexfile.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <optional>

namespace tlm {

// The phone field number of CompanyMainTelephoneNumber.
inline constexpr int CompanyMainField = 6;
// An extension has 1 to this many digits.
inline constexpr int MaxExtensionDigits = 5;

// Whether a phone field's text, as the user wrote it, is in the switchboard
// form: a digit, then one or more separators, then a final "0" (blanks
// around the whole are ignored). A number that merely ends in 0 is not.
bool isSwitchboardForm(QStringView written);

enum class MainNumber { None, Switchboard, MainField };
// Whether a phone field's text (as the user wrote it, before it is brought
// into dialling form) is a main number, and of which kind.
MainNumber mainNumberOf(QStringView written, int field);

// The prefix a main number gives to the company search, from its dialling
// form; empty when it gives none (a number that is not all digits).
QString companyPrefix(MainNumber kind, QStringView dialling);

struct CompanyNumber {
    QString prefix;
    IndexMatch record; // the contact, field and journal flag as the index has them
};

struct CompanyMatch {
    QString prefix;           // the longest prefix the caller's number starts with
    QString extension;        // the digits after it
    QList<IndexMatch> records; // every company number with that prefix, in file order
};

// The company numbers that the call number is an extension of: the caller's
// number is the prefix followed by 1 to MaxExtensionDigits digits; of several
// prefixes the longest wins. Empty records when there is none.
CompanyMatch matchCompanyNumber(const QList<CompanyNumber>& numbers, QStringView callNumber);

// The company file beside an index file: its name with "zen" for "idx".
QString companyFilePath(const QString& indexFile);
// What the company file of any day matches.
QString companyFilePattern();

// The company numbers of the file beside indexFile, in the index's order;
// nullopt when the file is missing, malformed, or was not made with this
// very index (its seal does not hold).
std::optional<QList<CompanyNumber>> readCompanyFile(const QString& indexFile);
// Whether that file exists and holds for the index.
bool companyFileHolds(const QString& indexFile);

// The file's bytes: its head line, the seal of the index and a line end, and
// one line per number ("prefix,field,journal,EntryID" LF). Numbers whose EntryID holds a
// line end are left out.
QByteArray companyFileBytes(const QByteArray& seal, const QList<CompanyNumber>& numbers);

// Collects the company numbers while the index builder writes the index,
// and puts the file in place beside the index in the same step.
class CompanyFileWriter {
public:
    // enabled false: nothing is collected, and the day's file is removed
    // when the index is placed (an old one would no longer hold).
    CompanyFileWriter(const QString& indexFile, bool enabled);

    // What add needs to know of a field's text before it is normalised:
    // None with the writer off.
    MainNumber kindOf(QStringView written, int field) const {
        return m_enabled ? mainNumberOf(written, field) : MainNumber::None;
    }
    void add(MainNumber kind, QStringView dialling, const QString& entryId, int field,
             bool journal);
    // Writes the file sealed to sealedIndex (the index that is about to take
    // its place, or the index itself) to a temporary of its own and renames it
    // into place; checksum is the index's, when it was computed while the
    // index was written. False when it could not be written; then none is left.
    bool place(const QString& sealedIndex, std::optional<quint32> checksum = std::nullopt);
    // Removes the file and the temporary (a failed build).
    void remove();
    // The temporary of this process: "tlm<yyyymmdd>.zen.<pid>.new".
    const QString& temporary() const { return m_temporary; }

private:
    bool m_enabled;
    QString m_file;
    QString m_temporary;
    QList<CompanyNumber> m_numbers;
};

} // namespace tlm
