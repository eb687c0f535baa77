// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The WebDAV multistatus answer (207) of PROPFIND and REPORT, read into
// plain values. Properties are named in Clark notation, "{DAV:}displayname";
// only properties found with status 200 are kept.
#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

namespace tlm::sync {

namespace ns {
inline constexpr char16_t Dav[] = u"DAV:";
inline constexpr char16_t CardDav[] = u"urn:ietf:params:xml:ns:carddav";
inline constexpr char16_t CalDav[] = u"urn:ietf:params:xml:ns:caldav";
inline constexpr char16_t CalendarServer[] = u"http://calendarserver.org/ns/";
} // namespace ns

struct DavProperty {
    QString text;         // the element's own text (getetag, displayname, address-data)
    QStringList hrefs;    // DAV:href inside it (principal, home sets)
    QStringList children; // its child elements, Clark notation (resourcetype)
    QStringList descendants; // every element inside it (supported-report-set)
    // The attributes of each of them, in the same order.
    QList<QHash<QString, QString>> descendantAttributes;
    QStringList comps;    // the name of each comp child (supported component sets)
};

struct DavResponse {
    QString href;    // as the server wrote it (usually a percent-encoded path)
    int status = 0;  // the response's own status (sync-collection: 404 = removed); 0 if none
    QHash<QString, DavProperty> props;

    const DavProperty* prop(const QString& name) const;
    QString text(const QString& name) const;
};

struct Multistatus {
    QList<DavResponse> responses;
    QString syncToken; // the report's sync-token, if any
};

// Raises SyncError(BadAnswer) for what is not a multistatus document.
Multistatus parseMultistatus(const QByteArray& xml);

// "HTTP/1.1 404 Not Found" -> 404; 0 when unreadable.
int statusOfLine(QStringView line);

} // namespace tlm::sync
