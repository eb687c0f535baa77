// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Two-way sync of store folders with real servers.
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "sync/davclient.h"
#include "sync/syncerror.h"
#include "tests/support/davserver.h"
#include "tests/support/serveraccount.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;
using tlm::pim::Store;
using tlm::test::DavServer;
using tlm::test::vcard;

namespace {

pim::FolderInfo folderNamed(const Store& store, const QString& name) {
    for (const pim::FolderInfo& f : store.folders())
        if (f.name == name)
            return f;
    ADD_FAILURE() << "no folder " << name.toStdString();
    return {};
}

class Engine : public ::testing::TestWithParam<DavServer::Kind> {
protected:
    void SetUp() override {
        server = std::make_unique<DavServer>(GetParam(), env.root() + u"dav"_s);
        test::makeOffice(*server, home, "X-OTHER-APP:behalten\r\n");
    }

    Account addAccount(Store& store) { return test::addServerAccount(store, *server); }

    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    QString home = test::homeOf(GetParam());
};

} // namespace

TEST_P(Engine, AnAccountBringsItsCollectionsAndACallJournalReachesTheServer) {
    Store store(env.pimPath());
    const Account account = addAccount(store);
    EXPECT_EQ(store.store(account.storeId).name, u"Büro"_s);
    const pim::FolderInfo book = folderNamed(store, u"Adressbuch"_s);
    // Xandikos keeps every component on a calendar: its journal folder is
    // named apart from the calendar's own.
    const pim::FolderInfo journal = folderNamed(
        store, GetParam() == DavServer::Kind::Radicale ? u"Anrufjournal"_s
                                                       : u"Anrufjournal (Journal)"_s);
    EXPECT_EQ(book.kind, pim::FolderKind::Contact);
    EXPECT_EQ(journal.kind, pim::FolderKind::Journal);
    const QList<pim::ItemRecord> contacts = store.items(book.entryId);
    ASSERT_EQ(contacts.size(), 1);
    EXPECT_EQ(contacts[0].properties.value(u"LastName"_s), u"Becker"_s);
    EXPECT_EQ(contacts[0].properties.value(u"BusinessTelephoneNumber"_s), u"+49 30 1234567"_s);

    pim::ItemRecord entry;
    entry.messageClass = u"IPM.Activity"_s;
    entry.properties = {{u"Subject"_s, u"Anruf von Thomas Becker"_s},
                        {u"Start"_s, QDateTime::currentDateTime()},
                        {u"Duration"_s, 3}};
    entry.userProperties = {{u"PCALLID"_s, u"5F3A9C21-0001-4B7E"_s},
                            {u"CID"_s, contacts[0].entryId}};
    entry.links = {contacts[0].entryId};
    store.addItem(journal.entryId, entry);
    const SyncRun run = syncAccounts(store);
    ASSERT_TRUE(run.ok()) << run.errors.join(u'\n').toStdString();

    const QStringList onServer = server->list(home + u"journal/"_s);
    ASSERT_EQ(onServer.size(), 1);
    const QString ics = QString::fromUtf8(server->get(onServer[0])).replace(u"\r\n "_s, QString());
    EXPECT_TRUE(ics.contains(u"BEGIN:VJOURNAL"_s));
    EXPECT_TRUE(ics.contains(u"SUMMARY:Anruf von Thomas Becker"_s));
    EXPECT_TRUE(ics.contains(u"5F3A9C21-0001-4B7E"_s));
    EXPECT_TRUE(ics.contains(u"X-TELLMARIN-LINK:becker-1"_s)) << ics.toStdString();

    // Nothing changed: nothing moves.
    const SyncRun again = syncAccounts(store);
    ASSERT_TRUE(again.ok());
    for (const FolderReport& r : again.folders)
        EXPECT_EQ(r.line(), r.folder + u": vom Server 0 neu, 0 geändert, 0 gelöscht; zum Server 0 "
                                       u"neu, 0 geändert, 0 gelöscht; 0 Konflikte"_s);
}

TEST_P(Engine, ChangesOnEitherSideReachTheOtherAndForeignPropertiesStay) {
    Store store(env.pimPath());
    addAccount(store);
    const pim::FolderInfo book = folderNamed(store, u"Adressbuch"_s);

    // Changed and added on the server.
    ASSERT_EQ(server->put(home + u"book/becker.vcf"_s,
                          vcard(u"becker-1"_s, u"Becker"_s, u"+49 30 7654321"_s,
                               "X-OTHER-APP:behalten\r\n"),
                          "text/vcard") / 100, 2);
    ASSERT_EQ(server->put(home + u"book/kraus.vcf"_s,
                          vcard(u"kraus-1"_s, u"Kraus"_s, u"+49 40 555"_s), "text/vcard"),
              201);
    ASSERT_TRUE(syncAccounts(store).ok());
    QList<pim::ItemRecord> contacts = store.items(book.entryId);
    ASSERT_EQ(contacts.size(), 2);
    EXPECT_EQ(contacts[0].properties.value(u"BusinessTelephoneNumber"_s), u"+49 30 7654321"_s);

    // Changed here: the server's card keeps what another program put there.
    pim::ItemRecord becker = contacts[0];
    becker.properties[u"MobileTelephoneNumber"_s] = u"+49 170 1111111"_s;
    store.updateItem(becker);
    store.removeItem(contacts[1].entryId);
    ASSERT_TRUE(syncAccounts(store).ok());
    const QByteArray onServer = server->get(home + u"book/becker.vcf"_s);
    EXPECT_TRUE(onServer.contains("+49 170 1111111")) << onServer.constData();
    EXPECT_TRUE(onServer.contains("X-OTHER-APP:behalten"));
    EXPECT_TRUE(onServer.contains("UID:becker-1"));
    EXPECT_EQ(server->list(home + u"book/"_s).size(), 1);

    // Deleted on the server.
    ASSERT_EQ(server->remove(home + u"book/becker.vcf"_s) / 100, 2);
    ASSERT_TRUE(syncAccounts(store).ok());
    EXPECT_TRUE(store.items(book.entryId).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Servers, Engine,
                         ::testing::Values(DavServer::Kind::Radicale, DavServer::Kind::Xandikos),
                         test::serverName);

namespace {

// Two desktops on one account: two stores syncing with the same server.
class TwoDesktops : public ::testing::Test {
protected:
    void SetUp() override {
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale, env.root() + u"dav"_s);
        server->makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
        server->makeCollection(u"/u/journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
        for (Store* s : {&a, &b}) {
            NewAccount request{server->url(), u"u"_s, u"secret"_s, u"Büro"_s, false};
            addAccount(*s, request);
        }
    }
    void syncBoth(int rounds = 1) {
        for (int i = 0; i < rounds; ++i)
            for (Store* s : {&a, &b}) {
                const SyncRun run = syncAccounts(*s);
                ASSERT_TRUE(run.ok()) << run.errors.join(u'\n').toStdString();
            }
    }
    QString addContact(Store& store, const QString& last, const QString& phone) {
        pim::ItemRecord c;
        c.messageClass = u"IPM.Contact"_s;
        c.properties = {{u"FirstName"_s, u"Anna"_s},
                        {u"LastName"_s, last},
                        {u"BusinessTelephoneNumber"_s, phone}};
        return store.addItem(folderNamed(store, u"Adressbuch"_s).entryId, c);
    }
    pim::ItemRecord contact(Store& store, const QString& last) {
        for (const pim::ItemRecord& r : store.items(folderNamed(store, u"Adressbuch"_s).entryId))
            if (r.properties.value(u"LastName"_s) == last)
                return r;
        return {};
    }
    void journal(Store& store, const QString& callId) {
        pim::ItemRecord e;
        e.messageClass = u"IPM.Activity"_s;
        e.properties = {{u"Subject"_s, QVariant(u"Anruf "_s + callId)},
                        {u"Start"_s, QDateTime::currentDateTime()}};
        e.userProperties = {{u"PCALLID"_s, callId}};
        store.addItem(folderNamed(store, u"Anrufjournal"_s).entryId, e);
    }
    int count(Store& store, const QString& folder) {
        return store.itemCount(folderNamed(store, folder).entryId);
    }

    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    Store a{env.root() + u"a.sqlite"_s};
    Store b{env.root() + u"b.sqlite"_s};
};

} // namespace

TEST_F(TwoDesktops, WhatOneAddsTheOtherFindsAndNothingIsDuplicated) {
    // What vCard has no property for (the journal flag, user properties)
    // reaches the other desktop too.
    const QString adler = addContact(a, u"Adler"_s, u"+49 30 111"_s);
    pim::ItemRecord flagged = a.item(adler);
    flagged.properties[u"Journal"_s] = true;
    flagged.userProperties = {{u"Tellmarin"_s, u"a;b,\"c\"\r\nd"_s}, {u"Kunde \"A\""_s, u"1"_s}};
    a.updateItem(flagged);
    journal(a, u"CALL-1"_s);
    journal(b, u"CALL-1"_s); // both desktops journal the same call
    syncBoth(2);
    const pim::ItemRecord there = contact(b, u"Adler"_s);
    EXPECT_EQ(there.properties.value(u"BusinessTelephoneNumber"_s), u"+49 30 111"_s);
    EXPECT_EQ(there.properties.value(u"Journal"_s), QVariant(true));
    ASSERT_EQ(there.userProperties.size(), 2);
    EXPECT_EQ(there.userProperties[0].value, u"a;b,\"c\"\r\nd"_s);
    EXPECT_EQ(there.userProperties[1].name, u"Kunde \"A\""_s);
    EXPECT_EQ(server->list(u"/u/journal/"_s).size(), 2);
    EXPECT_EQ(count(a, u"Anrufjournal"_s), 2);
    EXPECT_EQ(count(b, u"Anrufjournal"_s), 2);
    EXPECT_EQ(server->list(u"/u/book/"_s).size(), 1);
    EXPECT_EQ(count(b, u"Adressbuch"_s), 1);
}

TEST_F(TwoDesktops, ChangesOfBothSidesAreMergedAndNothingIsLost) {
    addContact(a, u"Adler"_s, u"+49 30 111"_s);
    syncBoth();
    // Different values on each side: both kept.
    pim::ItemRecord onA = contact(a, u"Adler"_s), onB = contact(b, u"Adler"_s);
    onA.properties[u"MobileTelephoneNumber"_s] = u"+49 170 1"_s;
    onB.properties[u"HomeTelephoneNumber"_s] = u"+49 30 222"_s;
    a.updateItem(onA);
    b.updateItem(onB);
    syncBoth(2);
    for (Store* s : {&a, &b}) {
        const pim::ItemRecord r = contact(*s, u"Adler"_s);
        EXPECT_EQ(r.properties.value(u"MobileTelephoneNumber"_s), u"+49 170 1"_s);
        EXPECT_EQ(r.properties.value(u"HomeTelephoneNumber"_s), u"+49 30 222"_s);
    }
    // The same value on both sides: the first on the server wins, the other
    // stays in the body.
    onA = contact(a, u"Adler"_s);
    onB = contact(b, u"Adler"_s);
    onA.properties[u"BusinessTelephoneNumber"_s] = u"+49 30 999"_s;
    onB.properties[u"BusinessTelephoneNumber"_s] = u"+49 30 888"_s;
    a.updateItem(onA);
    b.updateItem(onB);
    syncBoth(2);
    for (Store* s : {&a, &b}) {
        const pim::ItemRecord r = contact(*s, u"Adler"_s);
        EXPECT_EQ(r.properties.value(u"BusinessTelephoneNumber"_s), u"+49 30 999"_s);
        EXPECT_TRUE(r.body.contains(u"BusinessTelephoneNumber: +49 30 888"_s))
            << r.body.toStdString();
    }
    // Deleted on one side, changed on the other: the changed one stays.
    a.removeItem(contact(a, u"Adler"_s).entryId);
    onB = contact(b, u"Adler"_s);
    onB.properties[u"JobTitle"_s] = u"Leiterin"_s;
    b.updateItem(onB);
    syncBoth(2);
    EXPECT_EQ(contact(a, u"Adler"_s).properties.value(u"JobTitle"_s), u"Leiterin"_s);
    EXPECT_EQ(server->list(u"/u/book/"_s).size(), 1);
}

TEST_F(TwoDesktops, AnInterruptedSyncIsFinishedByTheNextOne) {
    // Every point of a sync is tried once: the sync stops before its n-th
    // request, then a whole sync runs; nothing may be lost or doubled.
    int expectedJournal = 0, expectedContacts = 0;
    for (int stopAt = 1;; ++stopAt) {
        journal(a, u"CALL-%1"_s.arg(stopAt));
        ++expectedJournal;
        const QString n = QString::number(stopAt);
        ASSERT_EQ(server->put(u"/u/book/c"_s + n + u".vcf"_s,
                              vcard(u"c"_s + n, u"K"_s + n, u"+49 40 "_s + n), "text/vcard"),
                  201);
        ++expectedContacts;
        bool interrupted = false;
        DavClient::setRequestHook([&](int request) {
            if (request == stopAt) {
                interrupted = true;
                throw SyncError(Failure::Unreachable, u"unterbrochen"_s);
            }
        });
        syncAccounts(a);
        DavClient::setRequestHook({});
        ASSERT_TRUE(syncAccounts(a).ok());
        ASSERT_EQ(server->list(u"/u/journal/"_s).size(), expectedJournal) << "stop at " << stopAt;
        ASSERT_EQ(count(a, u"Anrufjournal"_s), expectedJournal) << "stop at " << stopAt;
        ASSERT_EQ(count(a, u"Adressbuch"_s), expectedContacts) << "stop at " << stopAt;
        if (!interrupted)
            break; // the sync needed fewer requests: every point was tried
    }
}

TEST_F(TwoDesktops, AServerThatIsAwayChangesNothingAndTheNextSyncCatchesUp) {
    journal(a, u"CALL-1"_s);
    server->stop();
    const SyncRun run = syncAccounts(a);
    ASSERT_FALSE(run.ok());
    EXPECT_TRUE(run.errors.join(u'\n').contains(u"nicht erreichbar"_s))
        << run.errors.join(u'\n').toStdString();
    EXPECT_EQ(accounts(a).first().lastError, run.errors.join(u'\n'));
    EXPECT_EQ(count(a, u"Anrufjournal"_s), 1);
    server->start();
    ASSERT_TRUE(syncAccounts(a).ok());
    EXPECT_EQ(server->list(u"/u/journal/"_s).size(), 1);
    EXPECT_TRUE(accounts(a).first().lastError.isEmpty());
}
