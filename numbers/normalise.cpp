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

} // namespace

QString fncNormNumber(QString& number) {
    return fncNormNumber(number, fncOwnCountryCode());
}

QString fncNormNumber(QString& number, const QString& ownCountryCode) {
    number.removeIf([](QChar c) { return Separators.contains(c); });
    // An empty code would match everywhere; it never comes from fncOwnCountryCode.
    if (!ownCountryCode.isEmpty() && number.contains(ownCountryCode))
        number.replace(ownCountryCode, u"0"_s);
    else
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
