// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/discovery.h"
#include "sync/davclient.h"
#include "sync/multistatus.h"
#include "sync/syncerror.h"

#include <QSet>
#include <algorithm>
#include <optional>
#include <QXmlStreamWriter>

using namespace Qt::StringLiterals;

namespace tlm::sync {

namespace {

const QString ResourceType = u"{DAV:}resourcetype"_s;
const QString DisplayName = u"{DAV:}displayname"_s;
const QString ReportSet = u"{DAV:}supported-report-set"_s;
const QString Principal = u"{DAV:}current-user-principal"_s;
const QString AddressHome = u"{urn:ietf:params:xml:ns:carddav}addressbook-home-set"_s;
const QString CalendarHome = u"{urn:ietf:params:xml:ns:caldav}calendar-home-set"_s;
const QString ComponentSet = u"{urn:ietf:params:xml:ns:caldav}supported-calendar-component-set"_s;
const QString AddressDataSet = u"{urn:ietf:params:xml:ns:carddav}supported-address-data"_s;
const QString AddressBookType = u"{urn:ietf:params:xml:ns:carddav}addressbook"_s;
const QString CalendarType = u"{urn:ietf:params:xml:ns:caldav}calendar"_s;

const QStringList CollectionProps{ResourceType, DisplayName, ComponentSet, ReportSet,
                                  AddressDataSet};

// An address book asks for vCard 4.0 when the versions it names lack 3.0.
bool vcard4Only(const DavResponse& response) {
    const DavProperty* set = response.prop(AddressDataSet);
    if (!set)
        return false;
    QStringList versions;
    // The standard names the element address-data-type; Xandikos writes
    // content-type. Either carries the version.
    for (const QHash<QString, QString>& attributes : set->descendantAttributes)
        if (attributes.contains(u"content-type"_s))
            versions << attributes.value(u"version"_s, u"3.0"_s);
    return !versions.isEmpty() && !versions.contains(u"3.0"_s) && versions.contains(u"4.0"_s);
}

QUrl asFolder(QUrl url) {
    QString path = url.path(QUrl::FullyEncoded);
    if (!path.endsWith(u'/'))
        url.setPath(path + u'/', QUrl::TolerantMode);
    return url;
}

QList<DavResponse> propfind(DavClient& client, const QUrl& url, int depth,
                            const QStringList& props) {
    const Reply reply = client.propfind(url, depth, propfindBody(props));
    if (reply.status == 404 || reply.status == 403 || reply.status == 405)
        return {};
    expectStatus(reply, {207}, "PROPFIND");
    return parseMultistatus(reply.body).responses;
}

// A response that describes an address book or calendar, else nothing.
std::optional<Collection> collectionOf(const DavResponse& response, const QUrl& base) {
    const DavProperty* type = response.prop(ResourceType);
    if (!type)
        return std::nullopt;
    Collection c;
    // A resource type names the kind; some servers list calendar components
    // on address books too, so the components do not.
    if (type->children.contains(AddressBookType)) {
        c.kind = CollectionKind::AddressBook;
        c.vcard4 = vcard4Only(response);
    } else if (type->children.contains(CalendarType)) {
        c.kind = CollectionKind::Calendar;
        // Only the kinds the store holds; a server naming none takes all.
        const DavProperty* comps = response.prop(ComponentSet);
        for (const QString& kind : {u"VEVENT"_s, u"VTODO"_s, u"VJOURNAL"_s})
            if (!comps || comps->comps.isEmpty() || comps->comps.contains(kind))
                c.components.append(kind);
    } else {
        return std::nullopt;
    }
    c.url = asFolder(base.resolved(QUrl::fromEncoded(response.href.toUtf8())));
    c.displayName = response.text(DisplayName);
    if (const DavProperty* reports = response.prop(ReportSet))
        c.syncCollection = reports->descendants.contains(u"{DAV:}sync-collection"_s);
    return c;
}

// The principals named at url itself and at the two well-known addresses.
QList<QUrl> principals(DavClient& client, const QUrl& url) {
    QList<QUrl> found;
    const auto add = [&](const QList<DavResponse>& responses, const QUrl& base) {
        for (const DavResponse& r : responses)
            if (const DavProperty* p = r.prop(Principal))
                for (const QString& href : p->hrefs) {
                    const QUrl principal = base.resolved(QUrl::fromEncoded(href.toUtf8()));
                    if (!found.contains(principal))
                        found.append(principal);
                }
    };
    add(propfind(client, url, 0, {Principal}), url);
    for (const QString& wellKnown : {u"/.well-known/carddav"_s, u"/.well-known/caldav"_s}) {
        const QUrl at = url.resolved(QUrl(wellKnown));
        add(propfind(client, at, 0, {Principal}), at);
    }
    return found;
}

QList<QUrl> homeSets(DavClient& client, const QList<QUrl>& principals) {
    QList<QUrl> homes;
    for (const QUrl& principal : principals)
        for (const DavResponse& r : propfind(client, principal, 0, {AddressHome, CalendarHome}))
            for (const QString& name : {AddressHome, CalendarHome})
                if (const DavProperty* p = r.prop(name))
                    for (const QString& href : p->hrefs) {
                        const QUrl home =
                            asFolder(principal.resolved(QUrl::fromEncoded(href.toUtf8())));
                        if (!homes.contains(home))
                            homes.append(home);
                    }
    return homes;
}

} // namespace

QString Collection::name() const {
    if (!displayName.trimmed().isEmpty())
        return displayName.trimmed();
    QString path = url.path(QUrl::FullyDecoded);
    while (path.endsWith(u'/'))
        path.chop(1);
    return path.mid(path.lastIndexOf(u'/') + 1);
}

Collection describeCollection(DavClient& client, const QUrl& url) {
    for (const DavResponse& r : propfind(client, url, 0, CollectionProps))
        if (auto c = collectionOf(r, url))
            return *c;
    throw SyncError(Failure::Unsupported,
                    u"Unter %1 liegt kein Adressbuch und kein Kalender."_s.arg(
                        url.toDisplayString(QUrl::RemoveUserInfo)));
}

QList<Collection> discover(DavClient& client, const QUrl& url) {
    const QUrl start = asFolder(url);
    for (const DavResponse& r : propfind(client, start, 0, CollectionProps))
        if (auto c = collectionOf(r, start))
            return {*c};
    QList<QUrl> homes = homeSets(client, principals(client, start));
    if (homes.isEmpty())
        homes.append(start); // a server without principals: collections below the address
    QList<Collection> found;
    QSet<QUrl> seen;
    for (const QUrl& home : homes)
        for (const DavResponse& r : propfind(client, home, 1, CollectionProps))
            if (auto c = collectionOf(r, home); c && !seen.contains(c->url)) {
                seen.insert(c->url);
                found.append(*c);
            }
    if (found.isEmpty())
        throw SyncError(Failure::Unsupported,
                        u"Unter %1 wurden keine Adressbücher und Kalender gefunden."_s.arg(
                            url.toDisplayString(QUrl::RemoveUserInfo)));
    std::sort(found.begin(), found.end(),
              [](const Collection& a, const Collection& b) { return a.url.path() < b.url.path(); });
    return found;
}

QByteArray propfindBody(const QStringList& properties) {
    QByteArray body;
    QXmlStreamWriter xml(&body);
    xml.writeStartDocument();
    xml.writeNamespace(QString::fromUtf16(ns::Dav), u"d"_s);
    xml.writeStartElement(QString::fromUtf16(ns::Dav), u"propfind"_s);
    xml.writeStartElement(QString::fromUtf16(ns::Dav), u"prop"_s);
    for (const QString& p : properties) {
        const qsizetype close = p.indexOf(u'}');
        xml.writeEmptyElement(p.mid(1, close - 1), p.mid(close + 1));
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return body;
}

} // namespace tlm::sync
