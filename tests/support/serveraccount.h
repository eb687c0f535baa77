// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A store tied to a test's DAV server the way a user ties it: an account
// named "Büro", folders bound to collections, syncs that must succeed.
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "tests/support/davserver.h"

#include <gtest/gtest.h>

namespace tlm::test {

// A vCard 3.0 as another program writes it: Thomas <last>, a business number.
inline QByteArray vcard(const QString& uid, const QString& last, const QString& phone,
                        const QByteArray& extra = {}) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\nN:" + last.toUtf8() +
           ";Thomas;;;\r\nFN:Thomas " + last.toUtf8() + "\r\nTEL;TYPE=WORK:" + phone.toUtf8() +
           "\r\n" + extra + "END:VCARD\r\n";
}

// Tests over both servers are named after the server (".../Radicale").
inline std::string serverName(const ::testing::TestParamInfo<DavServer::Kind>& info) {
    return info.param == DavServer::Kind::Radicale ? "Radicale" : "Xandikos";
}

// Where a test makes its collections: the user's home on Radicale, the
// contacts home set on Xandikos.
inline QString homeOf(DavServer::Kind kind) {
    return kind == DavServer::Kind::Radicale ? QStringLiteral("/u/") : QStringLiteral("/u/contacts/");
}

// The office the server tests share: an address book "Adressbuch" holding
// Thomas Becker's card (with extra lines) and a calendar "Anrufjournal" for
// journal entries only.
inline void makeOffice(DavServer& server, const QString& home, const QByteArray& extra = {}) {
    server.makeCollection(home + QStringLiteral("book/"), QStringLiteral("Adressbuch"));
    server.makeCollection(home + QStringLiteral("journal/"), QStringLiteral("Anrufjournal"),
                          {QStringLiteral("VJOURNAL")});
    ASSERT_EQ(server.put(home + QStringLiteral("book/becker.vcf"),
                         vcard(QStringLiteral("becker-1"), QStringLiteral("Becker"),
                               QStringLiteral("+49 30 1234567"), extra),
                         "text/vcard"),
              201);
}

// The account "Büro" on the server (at url: one collection given outright).
inline sync::Account addServerAccount(pim::Store& store, const DavServer& server,
                                      const QUrl& url = {}) {
    sync::NewAccount request;
    request.url = url.isEmpty() ? server.url() : url;
    request.user = server.options().user;
    request.password = server.options().password;
    request.name = QStringLiteral("Büro");
    return sync::addAccount(store, request);
}

// The folder bound to the collection at path (for a calendar: to its
// component "VJOURNAL", "VEVENT" or "VTODO").
inline pim::FolderInfo boundFolder(const pim::Store& store, const QString& path,
                                   const QString& component = {}) {
    for (const QByteArray& json : store.syncStates(sync::bindingScope())) {
        const sync::Binding b = sync::Binding::fromJson(json);
        if (b.url.path() == path && b.component == component)
            return store.folder(b.folderId);
    }
    ADD_FAILURE() << "no folder bound to " << path.toStdString() << " " << component.toStdString();
    return {};
}

// How the settings name a folder: EntryID "|" StoreID.
inline QString folderReference(const pim::FolderInfo& folder) {
    return folder.entryId + QLatin1Char('|') + folder.storeId;
}

inline void syncOk(pim::Store& store) {
    const sync::SyncRun run = sync::syncAccounts(store);
    ASSERT_TRUE(run.ok()) << run.errors.join(QLatin1Char('\n')).toStdString();
}

} // namespace tlm::test
