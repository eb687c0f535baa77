#include "numbers/normalise.h"

#include "numbers/recordfile.h"
#include "platform/registry.h"

using namespace Qt::StringLiterals;

namespace tlm {

namespace {

const QString LocationsKey =
    u"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Telephony\\Locations"_s;
const QString DefaultCountryCode = u"+49"_s;

constexpr QStringView Separators = u" ()-/\\[]";

bool isDigits(const QString& text) {
    if (text.isEmpty())
        return false;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// Whether what occurs in text; a plain loop beats the general search for
// the few characters of a number.
bool occurs(QStringView text, QStringView what) {
    for (qsizetype i = 0; i + what.size() <= text.size(); ++i)
        if (text[i] == what[0] && text.sliced(i, what.size()) == what)
            return true;
    return false;
}

} // namespace

QString fncNormNumber(QString& number) {
    return fncNormNumber(number, fncOwnCountryCode());
}

QString fncNormNumber(QString& number, const QString& ownCountryCode) {
    // One pass, in place: most numbers hold a few blanks, dashes or slashes.
    QChar* out = number.data();
    for (const QChar c : std::as_const(number))
        if (!Separators.contains(c))
            *out++ = c;
    number.truncate(out - number.constData());
    // An empty code would match everywhere; it never comes from fncOwnCountryCode.
    if (!ownCountryCode.isEmpty() && occurs(number, ownCountryCode))
        number.replace(ownCountryCode, u"0"_s);
    else if (occurs(number, u"+"))
        number.replace(u'+', u"00"_s);
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
