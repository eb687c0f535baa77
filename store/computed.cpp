// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/computed.h"

#include "store/properties.h"

#include <QRegularExpression>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tlm::pim::computed {

namespace {
const QString CrLf = u"\r\n"_s;

// Offsets of the parts of an address from its Street id.
constexpr quint16 Street = 0, PostalCode = 1, City = 2, State = 3, Country = 4;

QString joinNonEmpty(const QStringList& parts, const QString& separator) {
    QStringList kept;
    for (const QString& p : parts) {
        const QString t = p.trimmed();
        if (!t.isEmpty())
            kept.append(t);
    }
    return kept.join(separator);
}

QString fullName(const TextGetter& get) {
    return joinNonEmpty({get(prop::Title), get(prop::FirstName), get(prop::MiddleName),
                         get(prop::LastName), get(prop::Suffix)},
                        u" "_s);
}

QString lastNameAndFirstName(const TextGetter& get) {
    const QString first = joinNonEmpty({get(prop::FirstName), get(prop::MiddleName)}, u" "_s);
    return joinNonEmpty({get(prop::LastName), first}, u", "_s);
}

quint16 mailingBase(const TextGetter& get) {
    const int selected = get(prop::SelectedMailingAddress).toInt();
    if (selected == 1)
        return prop::HomeAddressStreet;
    if (selected == 2)
        return prop::BusinessAddressStreet;
    if (selected == 3)
        return prop::OtherAddressStreet;
    for (quint16 base :
         {prop::BusinessAddressStreet, prop::HomeAddressStreet, prop::OtherAddressStreet}) {
        if (!composeAddress(base, get).isEmpty())
            return base;
    }
    return prop::BusinessAddressStreet;
}

bool looksLikePostalCode(const QString& token) {
    static const QRegularExpression re(u"^([A-Za-z]{1,2}-)?\\d[\\dA-Za-z-]*$"_s);
    return re.match(token).hasMatch();
}

Parts splitAddress(quint16 base, const QString& text) {
    QStringList lines;
    for (const QString& line : QString(text).replace(CrLf, u"\n"_s).split(u'\n')) {
        if (!line.trimmed().isEmpty())
            lines.append(line.trimmed());
    }
    QStringList street;
    QString cityLine, country;
    qsizetype cityAt = -1;
    for (qsizetype i = lines.size() - 1; i >= 0 && cityAt < 0; --i) {
        if (looksLikePostalCode(lines[i].section(u' ', 0, 0)) && i > 0)
            cityAt = i;
    }
    if (cityAt < 0 && lines.size() >= 3)
        cityAt = lines.size() - 2;
    else if (cityAt < 0 && lines.size() == 2)
        cityAt = 1;
    if (cityAt >= 0) {
        street = lines.mid(0, cityAt);
        cityLine = lines[cityAt];
        country = lines.mid(cityAt + 1).join(u' ');
    } else {
        street = lines;
    }
    QString postalCode, city = cityLine;
    const QString first = cityLine.section(u' ', 0, 0);
    if (looksLikePostalCode(first)) {
        postalCode = first;
        city = cityLine.section(u' ', 1).trimmed();
    }
    return {{static_cast<quint16>(base + Street), street.join(CrLf)},
            {static_cast<quint16>(base + PostalCode), postalCode},
            {static_cast<quint16>(base + City), city},
            {static_cast<quint16>(base + State), QString()},
            {static_cast<quint16>(base + Country), country}};
}

Parts splitFullName(const QString& text) {
    const QStringList tokens = text.simplified().split(u' ', Qt::SkipEmptyParts);
    QString first, middle, last;
    if (tokens.size() == 1) {
        first = tokens[0];
    } else if (tokens.size() >= 2) {
        first = tokens.first();
        last = tokens.last();
        middle = tokens.mid(1, tokens.size() - 2).join(u' ');
    }
    return {{prop::Title, QString()},
            {prop::FirstName, first},
            {prop::MiddleName, middle},
            {prop::LastName, last},
            {prop::Suffix, QString()}};
}

quint16 addressBase(quint16 id) {
    switch (id) {
    case prop::BusinessAddress:
        return prop::BusinessAddressStreet;
    case prop::HomeAddress:
        return prop::HomeAddressStreet;
    case prop::OtherAddress:
        return prop::OtherAddressStreet;
    default:
        return 0;
    }
}
} // namespace

QString composeAddress(quint16 base, const TextGetter& get) {
    const QString cityLine =
        joinNonEmpty({get(base + PostalCode), get(base + City), get(base + State)}, u" "_s);
    return joinNonEmpty({get(base + Street), cityLine, get(base + Country)}, CrLf);
}

QString value(quint16 id, const TextGetter& get) {
    switch (id) {
    case prop::FullName:
        return fullName(get);
    case prop::LastNameAndFirstName:
        return lastNameAndFirstName(get);
    case prop::FullNameAndCompany:
        return joinNonEmpty({fullName(get), get(prop::CompanyName)}, CrLf);
    case 907: // CompanyAndFullName
        return joinNonEmpty({get(prop::CompanyName), fullName(get)}, CrLf);
    case prop::MailingAddress:
        return composeAddress(mailingBase(get), get);
    default:
        if (const quint16 base = addressBase(id))
            return composeAddress(base, get);
        return QString();
    }
}

bool assignable(quint16 id) {
    return id == prop::FullName || addressBase(id) != 0;
}

Parts split(quint16 id, const QString& text) {
    if (id == prop::FullName)
        return splitFullName(text);
    if (const quint16 base = addressBase(id))
        return splitAddress(base, text);
    return {};
}

} // namespace tlm::pim::computed
