// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// One collection on the server as the sync sees it: what changed since the
// last sync (sync-collection where the server offers it, else the whole ETag
// listing), the resources' data in batches (multiget), and writing and
// removing single resources with their ETags.
//
// Resources are named by their decoded path ("/u/book/a b.vcf"), so that two
// spellings of one address (percent-encoded or not) are one resource.
// Answers naming resources outside the collection are ignored.
#include "sync/discovery.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

namespace tlm::sync {

class DavClient;

struct RemoteEntry {
    QString path;
    QByteArray etag;
};

struct Listing {
    QList<RemoteEntry> present; // changed or new (everything, when full)
    QStringList removed;        // gone since the token (never when full)
    QString syncToken;          // for the next sync; empty without sync-collection
    bool full = true;           // present lists every resource of the collection
};

struct RemoteItem {
    QString path;
    QByteArray etag;
    QByteArray data; // vCard or iCalendar text
};

class RemoteCollection {
public:
    static constexpr int BatchSize = 500;                  // resources per multiget, by default
    static constexpr qint64 ItemLimit = 8ll * 1024 * 1024; // one resource's data

    RemoteCollection(DavClient& client, Collection collection, int batchSize = BatchSize);

    const Collection& collection() const { return m_collection; }

    // Changes since syncToken (empty: everything). A token the server no
    // longer accepts gives the full listing.
    Listing changes(const QString& syncToken);

    // The data of the given resources; those the server no longer has are
    // missing from the result. A resource above ItemLimit raises TooLarge.
    QList<RemoteItem> fetch(const QStringList& paths);

    // Writes a resource: ifMatch empty for a new one. Returns the status
    // (201/204 written, 412 changed on the server meanwhile) and, where the
    // server tells it, the new ETag.
    struct Written {
        int status = 0;
        QByteArray etag;
    };
    Written put(const QString& path, const QByteArray& data, const QByteArray& ifMatch);
    // 204/200 removed, 404 already gone, 412 changed meanwhile.
    int remove(const QString& path, const QByteArray& ifMatch);
    // The ETag of one resource (for servers that answer a PUT without one).
    QByteArray etagOf(const QString& path);

    // A new resource's path for a UID: the collection's path, the UID made
    // safe for a path, and ".vcf" or ".ics".
    QString newPath(const QString& uid) const;
    QUrl urlOf(const QString& path) const;

private:
    QString pathOf(const QString& href) const; // decoded, or empty when outside
    Listing fullListing();

    DavClient& m_client;
    Collection m_collection;
    int m_batchSize;
    QString m_path; // the collection's decoded path, ending in "/"
};

} // namespace tlm::sync
