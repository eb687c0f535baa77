// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/areainfo.h"

#include "numbers/normalise.h"
#include "numbers/recordfile.h"

using namespace Qt::StringLiterals;

namespace tlm {

namespace {

constexpr QStringView MobilePlace = u"<mobil>";
constexpr qsizetype MobileAreaCodeLength = 4;

// "+43 1234567": the country code after "00", a blank, the rest.
void fillInternational(AreaInfo& info, const QString& number) {
    QString asPlus = u'+' + number.mid(2);
    bool ok = false;
    const qsizetype prefixLength = fncCountryName(asPlus, true).toInt(&ok);
    // A prefix shorter than "00" cannot be split this way.
    if (!ok || prefixLength < 2)
        return;
    info.Display = u'+' + number.mid(2, prefixLength - 2) + u' ' + number.mid(prefixLength);
}

// "+49 (30) 123456" from the first area-code record that begins the number.
void fillGerman(AreaInfo& info, const QString& number, const QString& ownCode) {
    const auto record = numbers::firstRecordBeginning(numbers::AreaCodeFileName, number);
    if (!record)
        return;
    info.IsMobile = record->name == MobilePlace;
    info.Place = info.IsMobile ? QString() : record->name;
    info.AreaCode = info.IsMobile ? record->code.left(MobileAreaCodeLength) : record->code;
    info.AreaCodeLength = static_cast<qint32>(info.AreaCode.size());
    if (number.size() > info.AreaCodeLength + 1) {
        info.Display =
            ownCode + u" (" + info.AreaCode.mid(1) + u") " + number.mid(info.AreaCodeLength);
    }
}

// Outside Germany there is no area-code list: the display form is the own
// country code, a blank and the number without its trunk prefix "0"
// ("+43 15321234" for 015321234). Nothing is shown for an empty rest.
void fillForeign(AreaInfo& info, const QString& number, const QString& ownCode) {
    const QString national = number.startsWith(u'0') ? number.mid(1) : number;
    if (!national.isEmpty())
        info.Display = ownCode + u' ' + national;
}

} // namespace

AreaInfo fncAreaInfo(const QString& number) {
    AreaInfo info;
    if (number.startsWith(u"00")) {
        fillInternational(info, number);
        return info;
    }
    if (!numbers::dataFileExists(numbers::AreaCodeFileName))
        return info;
    const QString ownCode = fncOwnCountryCode();
    if (ownCode == u"+49")
        fillGerman(info, number, ownCode);
    else
        fillForeign(info, number, ownCode);
    return info;
}

} // namespace tlm
