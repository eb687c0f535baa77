// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Phone numbers in the dialling form the telephone system reports: no
// separators, the own country code replaced by the trunk prefix "0", any
// other "+" by "00". Also the own country (from the telephony location of the
// registry) and the country names of the country list file.
//
// None of these functions keeps state: each call reads the registry and the
// data file it needs anew. None reports an error; what cannot be read counts
// as empty.
#include "numbers/areainfo.h"
#include "numbers/phonefields.h"

#include <QString>

namespace tlm {

// Removes the separators " ()-/\[]", then replaces every occurrence of the own
// country code by "0", or, only when there was none, every "+" by "00". The
// result is also left in number. "0049..." stays as it is.
QString fncNormNumber(QString& number);
// The same with the own country code given: for callers that normalise many
// numbers at once and read the telephony location only once.
QString fncNormNumber(QString& number, const QString& ownCountryCode);

// The current telephony location ID (registry value CurrentID), trimmed;
// empty when it cannot be read.
QString fncLocationID();

// "+" and the country number of the current telephony location, e.g. "+49".
// Location "0", and a location that cannot be read, give "+49".
QString fncOwnCountryCode();

// The country name of the own country code from the country list; empty when
// the file is missing or has no matching record.
QString fncOwnCountryName();

// The country name of the number's dialling prefix, or with length set the
// length of the matched prefix as a decimal text ("4" for 0049). Empty when
// the country list is missing or no record matches. A leading "+" of number
// is rewritten to "00" in any case.
QString fncCountryName(QString& number, bool length);

} // namespace tlm
