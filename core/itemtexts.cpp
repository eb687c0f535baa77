// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/itemtexts.h"

#include "numbers/phonefields.h"
#include "platform/error.h"

#include <QStringBuilder>

using namespace Qt::StringLiterals;

namespace tlm::itemtexts {

QString contactCaption(const QString& lastNameAndFirstName, const QString& companyName,
                       int matchedField, const QString& number) {
    const QString& name = lastNameAndFirstName.isEmpty() ? companyName : lastNameAndFirstName;
    const QString label = fncPhoneFieldLabel(matchedField == 0 ? 1 : matchedField);
    return name % u" ("_s % label % u" "_s % number % u")"_s;
}

QDateTime callDateTime(const QString& timestamp) {
    bool ok[3] = {};
    const QDate date(timestamp.mid(0, 4).toInt(&ok[0]), timestamp.mid(5, 2).toInt(&ok[1]),
                     timestamp.mid(8, 2).toInt(&ok[2]));
    const QTime time = QTime::fromString(timestamp.mid(11, 8), u"HH:mm:ss"_s);
    if (!ok[0] || !ok[1] || !ok[2] || !date.isValid() || !time.isValid())
        throw Error(err::TypeMismatch, u"Typen unverträglich"_s);
    return QDateTime(date, time);
}

QString callTime(int form, const QString& timestamp) {
    const QDateTime t = callDateTime(timestamp);
    switch (form) {
    case 0:
        return t.toString(u"dd.MM.yyyy HH:mm:ss"_s);
    case 1:
        return t.toString(u"dd.MM.yyyy HH:mm"_s);
    case 2:
        return t.toString(u"dd.MM.yyyy"_s);
    case 4:
        return t.toString(u"dd.MM.yyyy"_s) % u" um "_s % t.toString(u"HH:mm"_s) % u" Uhr"_s;
    default:
        throw Error(err::InvalidArgument, u"Ungültiger Prozeduraufruf oder ungültiges Argument"_s);
    }
}

namespace {
// number + unit + "" for one, else the plural ending; then the tail.
QString durationPart(qint64 n, QStringView unit, QStringView plural, QStringView tail) {
    if (n <= 0)
        return {};
    return QString::number(n) % unit % (n == 1 ? QStringView() : plural) % tail;
}
} // namespace

QString longDurationText(qint64 seconds) {
    const qint64 hours = seconds > 3600 ? seconds / 3600 : 0;
    qint64 rest = seconds - hours * 3600;
    const qint64 minutes = rest > 60 ? rest / 60 : 0;
    rest -= minutes * 60;
    return durationPart(hours, u" Stunde", u"n", u" ") %
           durationPart(minutes, u" Minute", u"n", u" ") %
           durationPart(rest, u" Sekunde", u"n", u"");
}

QString cleanAddress(const QString& address, const QString& separator,
                     const QString& ownCountryName) {
    QString text = address;
    if (!ownCountryName.isEmpty())
        text.remove(ownCountryName, Qt::CaseInsensitive);
    text = text.trimmed();
    text.replace(u"\r\n"_s, separator + u' ');
    if (!separator.isEmpty())
        text.replace(separator + u' ' + separator, separator);
    text.replace(u"  "_s, u" "_s);
    text = text.trimmed();
    if (!separator.isEmpty() && text.startsWith(separator))
        text.remove(0, 1);
    for (int i = 0; i < 3; ++i) {
        if (text.endsWith(u',') || text.endsWith(u';'))
            text = text.chopped(1).trimmed();
    }
    return text;
}

QString mapLink(const QString& address, const QString& maps) {
    QString text = address.trimmed();
    text.replace(u"   "_s, u" "_s);
    text.replace(u"  "_s, u" "_s);
    text.replace(u';', u',');
    text.replace(u'/', u',');
    if (maps == u"0"_s)
        return u"https://www.bing.com/maps/?mkt=de-de&where1="_s + urlEncode(text);
    if (maps == u"1"_s)
        return u"https://www.google.com/maps/place/"_s + urlEncode(text);
    return {};
}

QString urlEncode(const QString& text) {
    static const QString plain = u" !\"#$%&'()*+,-./:;<=>?@[\\]{|}"_s;
    QString out;
    out.reserve(text.size() * 3);
    for (const QChar c : text) {
        if (c == u' ')
            out += u'+';
        else if (plain.contains(c))
            out += u'%' % QString::number(c.unicode(), 16).toUpper();
        else if (c == u'ß' || c == u'Ä' || c == u'Ö' || c == u'Ü' || c == u'ä' || c == u'ö' ||
                 c == u'ü')
            out += QString::fromLatin1(QString(c).toUtf8().toPercentEncoding());
        else
            out += c;
    }
    return out;
}

} // namespace tlm::itemtexts
