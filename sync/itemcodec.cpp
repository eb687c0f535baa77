// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/itemcodec.h"
#include "formats/contactitem.h"
#include "sync/merge.h"
#include "sync/syncerror.h"

#include <QCryptographicHash>
#include <QMap>
#include <QSet>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

// vCard properties this program writes itself; a server's card keeps all
// others (photos, other programs' X- properties, ...).
const QSet<QByteArray>& ownCardProperties() {
    static const QSet<QByteArray> names{"BEGIN", "END", "VERSION", "UID", "PRODID", "REV",
                                        "N", "FN", "ORG", "TITLE", "TEL", "EMAIL", "ADR",
                                        "NOTE", "CATEGORIES", "NICKNAME"};
    return names;
}

// The logical lines of a card (folded lines joined).
QList<QByteArray> unfolded(const QByteArray& card) {
    QList<QByteArray> lines;
    for (QByteArray line : card.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!lines.isEmpty() && (line.startsWith(' ') || line.startsWith('\t')))
            lines.last() += line.mid(1);
        else if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

// "item1.TEL;TYPE=work" -> "TEL"
QByteArray propertyName(const QByteArray& line) {
    qsizetype end = 0;
    while (end < line.size() && line[end] != ':' && line[end] != ';')
        ++end;
    QByteArray name = line.left(end).toUpper();
    const qsizetype dot = name.indexOf('.');
    return dot >= 0 ? name.mid(dot + 1) : name;
}

// What the vCard form lacks (the journal flag, the user properties, ...)
// travels in the X- properties the iCalendar form uses. Parameter values are
// quoted, with RFC 6868's ^ escapes for quotes and line breaks.
bool ownX(const QByteArray& name) {
    return name.startsWith("X-TELLMARIN-");
}

QByteArray quotedParam(const QString& value) {
    QString v = value;
    v.replace(u'^', u"^^"_s).replace(u'"', u"^'"_s);
    v.replace(u"\r\n"_s, u"^n"_s).replace(u'\n', u"^n"_s);
    return '"' + v.toUtf8() + '"';
}

QString unquotedParam(QByteArray value) {
    if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
        value = value.mid(1, value.size() - 2);
    QString out;
    const QString v = QString::fromUtf8(value);
    for (qsizetype i = 0; i < v.size(); ++i) {
        if (v[i] == u'^' && i + 1 < v.size()) {
            const QChar next = v[i + 1];
            if (next == u'^' || next == u'\'' || next == u'n') {
                out += next == u'^' ? u"^"_s : next == u'\'' ? u"\""_s : u"\r\n"_s;
                ++i;
                continue;
            }
        }
        out += v[i];
    }
    return out;
}

QByteArray xLine(const char* xname, const QString& name, const char* type, const QString& text) {
    QByteArray line = QByteArray(xname) + ';' + ical::NameParam + '=' + quotedParam(name);
    if (type)
        line += QByteArray(";") + ical::TypeParam + '=' + type;
    return line + ':' + text.toUtf8() + "\r\n";
}

QByteArray extraLines(const pim::ItemRecord& item) {
    static const QSet<QString> carried(pim::vcard::contactFields().cbegin(),
                                       pim::vcard::contactFields().cend());
    QByteArray out;
    for (auto it = item.properties.cbegin(); it != item.properties.cend(); ++it) {
        if (carried.contains(it.key()) || pim::isComputedProperty(it.key()))
            continue;
        const auto [text, type] = ical::typedText(it.value());
        out += xLine(ical::PropertyX, it.key(), type,
                     type ? text : pim::vcard::escapeText(it.value().toString()));
    }
    for (const pim::UserProperty& u : item.userProperties)
        out += xLine(ical::UserPropertyX, u.name, nullptr, pim::vcard::escapeText(u.value));
    return out;
}

// A line's parameters (upper-case names) and its value.
QByteArray paramsAndValue(const QByteArray& line, QMap<QByteArray, QByteArray>& params) {
    bool quoted = false;
    qsizetype start = -1;
    auto take = [&](qsizetype end) {
        if (start < 0)
            return;
        const QByteArray p = line.mid(start, end - start);
        const qsizetype eq = p.indexOf('=');
        if (eq > 0)
            params.insert(p.left(eq).toUpper(), p.mid(eq + 1));
    };
    for (qsizetype i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '"')
            quoted = !quoted;
        else if (!quoted && (c == ';' || c == ':')) {
            take(i);
            if (c == ':')
                return line.mid(i + 1);
            start = i + 1;
        }
    }
    return {};
}

void readExtraLines(const QByteArray& card, pim::ItemRecord& item) {
    for (const QByteArray& line : unfolded(card)) {
        const QByteArray name = propertyName(line);
        const bool property = name == ical::PropertyX;
        if (!property && name != ical::UserPropertyX)
            continue;
        QMap<QByteArray, QByteArray> params;
        const QString value = QString::fromUtf8(paramsAndValue(line, params));
        const QString field = unquotedParam(params.value(ical::NameParam));
        if (field.isEmpty())
            continue;
        const QString type = QString::fromLatin1(params.value(ical::TypeParam));
        if (!property)
            item.userProperties.append({field, pim::vcard::unescapeText(value)});
        else if (!pim::canonicalPropertyName(item.messageClass, field).isEmpty())
            item.properties.insert(field, type.isEmpty() ? QVariant(pim::vcard::unescapeText(value))
                                                         : ical::typedValue(value, type));
    }
}

QString uidOfCard(const QByteArray& card) {
    for (const QByteArray& line : unfolded(card))
        if (propertyName(line) == "UID")
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    return {};
}

QByteArray withUidAndKept(const QByteArray& card, const QString& uid, const QByteArray& extra,
                          const QByteArray& base) {
    QByteArray kept;
    for (const QByteArray& line : unfolded(base))
        if (const QByteArray name = propertyName(line);
            !ownCardProperties().contains(name) && !ownX(name))
            kept += line + "\r\n"; // left as the server had it, unfolded
    QByteArray out;
    for (const QByteArray& line : card.split('\n')) {
        const QByteArray l = line.endsWith('\r') ? line.left(line.size() - 1) : line;
        if (l.isEmpty())
            continue;
        if (l == "END:VCARD")
            out += extra + kept;
        out += l + "\r\n";
        if (l.startsWith("VERSION:"))
            out += "UID:" + uid.toUtf8() + "\r\n";
    }
    return out;
}

} // namespace

ItemCodec::ItemCodec(QString component, bool vcard4, ical::ContactRefs refs)
    : m_component(std::move(component)), m_vcard4(vcard4), m_refs(std::move(refs)) {}

Decoded ItemCodec::decode(const QByteArray& data) const {
    if (!contacts()) {
        ical::ReadItem read = ical::read(data, m_refs);
        return {read.uid, std::move(read.record)};
    }
    pim::vcard::ReadResult read;
    try {
        read = pim::vcard::read(data, u"Server"_s);
    } catch (const std::exception&) {
        read = {};
    }
    if (read.contacts.isEmpty())
        throw SyncError(Failure::BadAnswer, u"Der Eintrag ist keine lesbare vCard."_s);
    QStringList ignored; // fields the store does not hold stay on the server's card
    pim::ItemRecord item = pim::vcard::toItem(read.contacts.first(), u"Server"_s, ignored);
    readExtraLines(data, item);
    return {uidOfCard(data), std::move(item)};
}

QByteArray ItemCodec::encode(const pim::ItemRecord& item, const QString& uid,
                             const QByteArray& base) const {
    if (!contacts())
        return ical::write(item, uid, base, m_refs);
    const QByteArray card = pim::vcard::write(
        {pim::vcard::toContact(item)}, m_vcard4 ? pim::vcard::Version::V4 : pim::vcard::Version::V3);
    return withUidAndKept(card, uid, extraLines(item), base);
}

QByteArray ItemCodec::digest(const pim::ItemRecord& item) {
    const QVariantMap values = flatten(item);
    QCryptographicHash hash(QCryptographicHash::Sha1);
    for (auto it = values.cbegin(); it != values.cend(); ++it) {
        hash.addData(it.key().toUtf8());
        hash.addData(QByteArrayView("\x1f", 1));
        const QVariant& v = it.value();
        const QString text = v.typeId() == QMetaType::QDateTime
                                 ? v.toDateTime().toUTC().toString(Qt::ISODate)
                             : v.typeId() == QMetaType::QStringList ? v.toStringList().join(u'\x1e')
                                                                    : v.toString();
        hash.addData(text.toUtf8());
        hash.addData(QByteArrayView("\x1d", 1));
    }
    return hash.result();
}

} // namespace tlm::sync
