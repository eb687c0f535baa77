// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/remote.h"
#include "sync/davclient.h"
#include "sync/multistatus.h"
#include "sync/syncerror.h"

#include <QRegularExpression>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

const QString GetEtag = u"{DAV:}getetag"_s;
const QString AddressData = u"{urn:ietf:params:xml:ns:carddav}address-data"_s;
const QString CalendarData = u"{urn:ietf:params:xml:ns:caldav}calendar-data"_s;

QString decodedPath(const QUrl& url) {
    return url.path(QUrl::FullyDecoded);
}

QByteArray syncCollectionBody(const QString& token) {
    QByteArray body;
    QXmlStreamWriter xml(&body);
    const QString dav = QString::fromUtf16(ns::Dav);
    xml.writeStartDocument();
    xml.writeNamespace(dav, u"d"_s);
    xml.writeStartElement(dav, u"sync-collection"_s);
    xml.writeTextElement(dav, u"sync-token"_s, token);
    xml.writeTextElement(dav, u"sync-level"_s, u"1"_s);
    xml.writeStartElement(dav, u"prop"_s);
    xml.writeEmptyElement(dav, u"getetag"_s);
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

QByteArray multigetBody(bool addressBook, const QList<QUrl>& urls) {
    QByteArray body;
    QXmlStreamWriter xml(&body);
    const QString dav = QString::fromUtf16(ns::Dav);
    const QString own = QString::fromUtf16(addressBook ? ns::CardDav : ns::CalDav);
    xml.writeStartDocument();
    xml.writeNamespace(dav, u"d"_s);
    xml.writeNamespace(own, u"c"_s);
    xml.writeStartElement(own, addressBook ? u"addressbook-multiget"_s : u"calendar-multiget"_s);
    xml.writeStartElement(dav, u"prop"_s);
    xml.writeEmptyElement(dav, u"getetag"_s);
    xml.writeEmptyElement(own, addressBook ? u"address-data"_s : u"calendar-data"_s);
    xml.writeEndElement();
    for (const QUrl& url : urls)
        xml.writeTextElement(dav, u"href"_s, url.path(QUrl::FullyEncoded));
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

} // namespace

RemoteCollection::RemoteCollection(DavClient& client, Collection collection, int batchSize)
    : m_client(client), m_collection(std::move(collection)), m_batchSize(batchSize),
      m_path(decodedPath(m_collection.url)) {
    if (!m_path.endsWith(u'/'))
        m_path += u'/';
}

QUrl RemoteCollection::urlOf(const QString& path) const {
    QUrl url = m_collection.url;
    url.setPath(path, QUrl::DecodedMode);
    return url;
}

QString RemoteCollection::pathOf(const QString& href) const {
    const QString path =
        decodedPath(m_collection.url.resolved(QUrl::fromEncoded(href.toUtf8(), QUrl::TolerantMode)));
    if (!path.startsWith(m_path) || path.size() == m_path.size() || path.endsWith(u'/'))
        return {};
    if (path.mid(m_path.size()).contains(u'/'))
        return {}; // inside a sub-collection
    return path;
}

Listing RemoteCollection::fullListing() {
    const Reply reply = m_client.propfind(m_collection.url, 1, propfindBody({GetEtag}));
    expectStatus(reply, {207}, "PROPFIND");
    Listing listing;
    for (const DavResponse& r : parseMultistatus(reply.body).responses) {
        const QString path = pathOf(r.href);
        if (!path.isEmpty() && r.prop(GetEtag))
            listing.present.append({path, r.text(GetEtag).toUtf8()});
    }
    return listing;
}

Listing RemoteCollection::changes(const QString& syncToken) {
    if (!m_collection.syncCollection)
        return fullListing();
    bool full = syncToken.isEmpty();
    Reply reply = m_client.report(m_collection.url, 0, syncCollectionBody(syncToken));
    if (!full && reply.status != 207) {
        // The server no longer knows the token (403 or 409 as the standard
        // says; Xandikos answers 500): start over with everything.
        reply = m_client.report(m_collection.url, 0, syncCollectionBody(QString()));
        full = true;
    }
    expectStatus(reply, {207}, "REPORT");
    const Multistatus ms = parseMultistatus(reply.body);
    Listing listing;
    listing.full = full;
    for (const DavResponse& r : ms.responses) {
        const QString path = pathOf(r.href);
        if (path.isEmpty())
            continue;
        if (r.status == 404)
            listing.removed.append(path);
        else if (r.prop(GetEtag))
            listing.present.append({path, r.text(GetEtag).toUtf8()});
    }
    listing.syncToken = ms.syncToken;
    return listing;
}

QList<RemoteItem> RemoteCollection::fetch(const QStringList& paths) {
    const bool book = m_collection.kind == CollectionKind::AddressBook;
    const QString dataProp = book ? AddressData : CalendarData;
    QList<RemoteItem> items;
    for (qsizetype at = 0; at < paths.size(); at += m_batchSize) {
        QList<QUrl> urls;
        for (const QString& path : paths.mid(at, m_batchSize))
            urls.append(urlOf(path));
        const Reply reply = m_client.report(m_collection.url, 1, multigetBody(book, urls));
        expectStatus(reply, {207}, "REPORT");
        for (const DavResponse& r : parseMultistatus(reply.body).responses) {
            const QString path = pathOf(r.href);
            const DavProperty* data = r.prop(dataProp);
            if (path.isEmpty() || !data || !paths.contains(path))
                continue;
            const QByteArray bytes = data->text.toUtf8();
            if (bytes.size() > ItemLimit)
                throw SyncError(Failure::TooLarge,
                                u"Der Eintrag %1 auf dem Server ist größer als %2 MiB."_s.arg(
                                    path, QString::number(ItemLimit / (1024 * 1024))));
            items.append({path, r.text(GetEtag).toUtf8(), bytes});
        }
    }
    return items;
}

RemoteCollection::Written RemoteCollection::put(const QString& path, const QByteArray& data,
                                                const QByteArray& ifMatch) {
    const QByteArray type = m_collection.kind == CollectionKind::AddressBook
                                ? QByteArrayLiteral("text/vcard; charset=utf-8")
                                : QByteArrayLiteral("text/calendar; charset=utf-8");
    const Reply reply = m_client.put(urlOf(path), data, type, ifMatch);
    if (reply.status != 412)
        expectStatus(reply, {200, 201, 204}, "PUT");
    return {reply.status, reply.etag};
}

int RemoteCollection::remove(const QString& path, const QByteArray& ifMatch) {
    const Reply reply = m_client.remove(urlOf(path), ifMatch);
    if (reply.status != 404 && reply.status != 412)
        expectStatus(reply, {200, 204}, "DELETE");
    return reply.status;
}

QByteArray RemoteCollection::etagOf(const QString& path) {
    const Reply reply = m_client.propfind(urlOf(path), 0, propfindBody({GetEtag}));
    if (reply.status == 404)
        return {};
    expectStatus(reply, {207}, "PROPFIND");
    for (const DavResponse& r : parseMultistatus(reply.body).responses)
        if (r.prop(GetEtag))
            return r.text(GetEtag).toUtf8();
    return {};
}

QString RemoteCollection::newPath(const QString& uid) const {
    static const QRegularExpression unsafe(u"[^A-Za-z0-9._-]"_s);
    QString name = uid;
    name.replace(unsafe, u"_"_s);
    if (name.isEmpty() || name.startsWith(u'.'))
        name.prepend(u'x');
    return m_path + name.left(120) +
           (m_collection.kind == CollectionKind::AddressBook ? u".vcf"_s : u".ics"_s);
}

} // namespace tlm::sync
