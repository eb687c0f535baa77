// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The record files of the program folder (the country list tlLand.txt and the
// area-code list tlVorwahlen.txt): one record of two text fields per line,
// separated by a comma. A field may be enclosed in double quotes and then ends
// at the next double quote; an unquoted field ends at the next comma or the
// line end. Blanks before a field are skipped. The first matching record in
// file order wins.
#include <QString>
#include <QStringView>
#include <optional>

namespace tlm::numbers {

inline constexpr QStringView CountryFileName = u"tlLand.txt";
inline constexpr QStringView AreaCodeFileName = u"tlVorwahlen.txt";

struct Record {
    QString code; // first field: a dialling prefix or an area code
    QString name; // second field: country or place name
};

// Splits one line (without its line end) into the two fields; a missing
// field is empty.
Record parseRecord(QStringView line);

// Full path of a data file in the program folder.
QString dataFilePath(QStringView fileName);
bool dataFileExists(QStringView fileName);

// The first record of the data file whose code equals the beginning of
// number (case-sensitive; an empty code matches every number). Reading stops
// there. Nothing when the file is missing or unreadable or no record matches.
std::optional<Record> firstRecordBeginning(QStringView fileName, QStringView number);

} // namespace tlm::numbers
