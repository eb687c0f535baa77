// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the sync knows, kept in the store beside the items (so it travels in
// the store's JSON dump, never with a password):
// - accounts: a server, its user, the store that holds its folders;
// - bindings: a store folder tied to a server collection, with the
//   collection's sync token;
// - item states: for each synced item, where it lies on the server, its
//   UID, the ETag and text of the version both sides last agreed on, and a
//   digest of the local item as it was then.
// Each is a small JSON document; the store keeps them without reading them.
#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QUrl>

namespace tlm::sync {

struct Account {
    QString name;
    QUrl url;
    QString user;
    bool allowHttp = false;
    QString storeId; // the store holding the account's folders
    QDateTime lastSync;
    QString lastError; // empty after a good sync

    QByteArray toJson() const;
    static Account fromJson(const QByteArray& json);
};

struct Binding {
    QString folderId;
    QString account;
    QUrl url;              // the collection
    QString component;     // "VJOURNAL", "VEVENT", "VTODO"; empty for an address book
    bool syncCollection = false;
    bool vcard4 = false;
    QString syncToken;     // empty before the first sync

    QByteArray toJson() const;
    static Binding fromJson(const QByteArray& json);
};

struct ItemState {
    QString path;      // the resource's decoded path on the server
    QString entryId;   // the local item
    QString uid;
    QByteArray etag;
    QByteArray serverData; // the version both sides last agreed on
    QByteArray localDigest;

    QByteArray toJson() const;
    static ItemState fromJson(const QByteArray& json);
};

// Store scopes of the three kinds.
QString accountScope();
QString bindingScope();
QString itemScope(const QString& folderId);

} // namespace tlm::sync
