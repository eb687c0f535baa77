// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Finding an account's address books and calendars: the address given
// outright when it is one (shared books often lie outside the user's home),
// else through /.well-known/carddav and /.well-known/caldav, the user's
// principal and its home sets.
#include <QList>
#include <QString>
#include <QStringList>
#include <QUrl>

namespace tlm::sync {

class DavClient;

enum class CollectionKind { AddressBook, Calendar };

struct Collection {
    QUrl url; // ends in "/"
    QString displayName;
    CollectionKind kind = CollectionKind::AddressBook;
    // A calendar's components ("VEVENT", "VTODO", "VJOURNAL"); all three when
    // the server names none. Empty for an address book.
    QStringList components;
    bool syncCollection = false; // the server offers the sync-collection report
    bool vcard4 = false;         // an address book that takes vCard 4.0 only

    // The display name, else the last segment of the path.
    QString name() const;
    bool supports(const QString& component) const { return components.contains(component); }
};

// Raises SyncError(Unsupported) when the address leads to no collection.
QList<Collection> discover(DavClient& client, const QUrl& url);

// The collection at url; raises SyncError(Unsupported) when it is none.
Collection describeCollection(DavClient& client, const QUrl& url);

// The body of a PROPFIND asking for the given properties (Clark notation).
QByteArray propfindBody(const QStringList& properties);

} // namespace tlm::sync
