// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The texts that every item of a call is written with: the caption naming a
// known caller, the call time in its date forms, the spoken form of a
// duration, a postal address on one line, and the links of addresses to a
// web map service. All are pure functions of their arguments.
#include <QDateTime>
#include <QString>

namespace tlm::itemtexts {

// name (the contact's LastNameAndFirstName, else its CompanyName) + " (" +
// label of the matched phone field (0 counts as 1) + " " + number + ")".
QString contactCaption(const QString& lastNameAndFirstName, const QString& companyName,
                       int matchedField, const QString& number);

// The call time of a time stamp "yyyy-mm-dd hh:nn:ss" in one of the forms
// 0 (dd.MM.yyyy HH:mm:ss), 1 (dd.MM.yyyy HH:mm), 2 (dd.MM.yyyy) and
// 4 (dd.MM.yyyy "um" HH:mm "Uhr"). Raises tlm::Error 13 for a time stamp
// that is no date and time, and 5 for any other form.
QString callTime(int form, const QString& timestamp);
// The date and time of such a time stamp; raises tlm::Error 13.
QDateTime callDateTime(const QString& timestamp);

// "1 Stunde 5 Minuten 3 Sekunden"; empty for 0 seconds.
QString longDurationText(qint64 seconds);

// An address on one line: the own country removed, line breaks turned into
// the separator and a blank, empty fields and double blanks removed.
QString cleanAddress(const QString& address, const QString& separator,
                     const QString& ownCountryName);

// The web map link of an address for the Maps setting ("0" or "1"); empty
// for any other setting.
QString mapLink(const QString& address, const QString& maps);

// Replaces the characters of the link table ("+" for a blank, "%2C" for a
// comma, UTF-8 escapes for umlauts, ...); the others stay.
QString urlEncode(const QString& text);

} // namespace tlm::itemtexts
