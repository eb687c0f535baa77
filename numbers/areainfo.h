// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Display form, area code, place and mobile flag of a call number.
#include <QString>

namespace tlm {

struct AreaInfo {
    QString Place;    // place of the area code; empty for a mobile prefix
    QString AreaCode; // with leading "0"; a mobile prefix's first four characters
    qint32 AreaCodeLength = 0;
    QString Display;       // e.g. "+49 (30) 123456"
    bool IsMobile = false; // the matched record is marked "<mobil>"
};

// Looks the call number (dialling form) up: an international number ("00...")
// in the country list, a domestic one in the area-code list (only when the own
// country code is "+49"). Missing files or no match leave the fields empty.
AreaInfo fncAreaInfo(const QString& number);

} // namespace tlm
