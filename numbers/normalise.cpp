// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/normalise.h"

#include "numbers/recordfile.h"
#include "platform/registry.h"

using namespace Qt::StringLiterals;

namespace tlm {

namespace {

const QString LocationsKey =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations"_s;
const QString DefaultCountryCode = u"+49"_s;

// The characters that numbers are written with between their digits.
bool isSeparator(QChar c) {
    switch (c.unicode()) {
    case u' ':
    case u'(':
    case u')':
    case u'-':
    case u'/':
    case u'\\':
    case u'[':
    case u']':
        return true;
    default:
        return false;
    }
}

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Where what occurs in text from on, -1 when not; a plain loop beats the
// general search for the few characters of a number.
qsizetype find(QStringView text, qsizetype from, QStringView what) {
    for (qsizetype i = from; i + what.size() <= text.size(); ++i)
        if (text[i] == what[0] && text.sliced(i, what.size()) == what)
            return i;
    return -1;
}

// Replaces every what in text by with, left to right; false when there was
// none.
bool replaceAll(QString& text, QStringView what, QStringView with) {
    qsizetype at = find(text, 0, what);
    if (at < 0)
        return false;
    QString out;
    out.reserve(text.size() + with.size() * 2);
    qsizetype from = 0;
    do {
        out.append(QStringView(text).sliced(from, at - from)).append(with);
        from = at + what.size();
        at = find(text, from, what);
    } while (at >= 0);
    out.append(QStringView(text).sliced(from));
    text = std::move(out);
    return true;
}

} // namespace

QString fncNormNumber(QString& number) {
    return fncNormNumber(number, fncOwnCountryCode());
}

QString fncNormNumber(QString& number, const QString& ownCountryCode) {
    // One pass, in place: most numbers hold a few blanks, dashes or slashes.
    QChar* out = number.data();
    for (const QChar c : std::as_const(number))
        if (!isSeparator(c))
            *out++ = c;
    number.truncate(out - number.constData());
    // An empty code would match everywhere; it never comes from fncOwnCountryCode.
    if (ownCountryCode.isEmpty() || !replaceAll(number, ownCountryCode, u"0"))
        replaceAll(number, u"+", u"00");
    return number;
}

QString fncLocationID() {
    return registry::fncRegValue(registry::Root::LocalMachine, LocationsKey, u"CurrentID"_s)
        .toString()
        .trimmed();
}

QString fncOwnCountryCode() {
    const QString location = fncLocationID();
    // Location "0" is Germany. A location that cannot be read counts the same:
    // a bare "+" would turn every "+" of a number into "0".
    if (location.isEmpty() || location == u"0")
        return DefaultCountryCode;
    const QString country =
        registry::fncRegValue(registry::Root::LocalMachine, LocationsKey + u"\\Location" + location,
                              u"Country"_s)
            .toString()
            .trimmed();
    return isDigits(country) ? u'+' + country : DefaultCountryCode;
}

QString fncOwnCountryName() {
    QString code = fncOwnCountryCode();
    return fncCountryName(code, false);
}

QString fncCountryName(QString& number, bool length) {
    if (number.startsWith(u'+'))
        number.replace(0, 1, u"00"_s);
    const auto record = numbers::firstRecordBeginning(numbers::CountryFileName, number);
    if (!record)
        return {};
    return length ? QString::number(record->code.size()) : record->name;
}

} // namespace tlm
