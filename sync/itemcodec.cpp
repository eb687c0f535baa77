// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/itemcodec.h"
#include "formats/contactitem.h"
#include "sync/merge.h"
#include "sync/syncerror.h"

#include <QCryptographicHash>
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

QString uidOfCard(const QByteArray& card) {
    for (const QByteArray& line : unfolded(card))
        if (propertyName(line) == "UID")
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    return {};
}

QByteArray withUidAndKept(const QByteArray& card, const QString& uid, const QByteArray& base) {
    QByteArray kept;
    for (const QByteArray& line : unfolded(base))
        if (!ownCardProperties().contains(propertyName(line)))
            kept += line + "\r\n"; // left as the server had it, unfolded
    QByteArray out;
    for (const QByteArray& line : card.split('\n')) {
        const QByteArray l = line.endsWith('\r') ? line.left(line.size() - 1) : line;
        if (l.isEmpty())
            continue;
        if (l == "END:VCARD")
            out += kept;
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
    return {uidOfCard(data), pim::vcard::toItem(read.contacts.first(), u"Server"_s, ignored)};
}

QByteArray ItemCodec::encode(const pim::ItemRecord& item, const QString& uid,
                             const QByteArray& base) const {
    if (!contacts())
        return ical::write(item, uid, base, m_refs);
    const QByteArray card = pim::vcard::write(
        {pim::vcard::toContact(item)}, m_vcard4 ? pim::vcard::Version::V4 : pim::vcard::Version::V3);
    return withUidAndKept(card, uid, base);
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
