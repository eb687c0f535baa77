// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Two-way sync of store folders with real servers.
#include "outlook/pim/pimstore.h"
#include "sync/accounts.h"
#include "sync/syncerror.h"
#include "tests/support/davserver.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;
using tlm::pim::Store;
using tlm::test::DavServer;

namespace {

QByteArray card(const QString& uid, const QString& last, const QString& phone,
                const QByteArray& extra = {}) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\nN:" + last.toUtf8() +
           ";Thomas;;;\r\nFN:Thomas " + last.toUtf8() + "\r\nTEL;TYPE=WORK:" + phone.toUtf8() +
           "\r\n" + extra + "END:VCARD\r\n";
}

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
        server->makeCollection(home + u"book/"_s, u"Adressbuch"_s);
        server->makeCollection(home + u"journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
        ASSERT_EQ(server->put(home + u"book/becker.vcf"_s,
                              card(u"becker-1"_s, u"Becker"_s, u"+49 30 1234567"_s,
                                   "X-OTHER-APP:behalten\r\n"),
                              "text/vcard"),
                  201);
    }

    Account addAccount(Store& store) {
        NewAccount request;
        request.url = server->url();
        request.user = u"u"_s;
        request.password = u"secret"_s;
        request.name = u"Büro"_s;
        return sync::addAccount(store, request);
    }

    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    QString home = GetParam() == DavServer::Kind::Radicale ? u"/u/"_s : u"/u/contacts/"_s;
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
                          card(u"becker-1"_s, u"Becker"_s, u"+49 30 7654321"_s,
                               "X-OTHER-APP:behalten\r\n"),
                          "text/vcard") / 100, 2);
    ASSERT_EQ(server->put(home + u"book/kraus.vcf"_s,
                          card(u"kraus-1"_s, u"Kraus"_s, u"+49 40 555"_s), "text/vcard"),
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
                         [](const auto& info) {
                             return info.param == DavServer::Kind::Radicale ? "Radicale"
                                                                            : "Xandikos";
                         });
