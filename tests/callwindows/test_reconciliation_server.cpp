// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The contact reconciliation window on a server's address book: what "neu"
// creates and what "übernehmen" changes reaches the server with the next
// sync.
#include "callwindows/frmkontaktabgleich.h"
#include "tests/core/callfixture.h"
#include "tests/support/serveraccount.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace tlm::test {
namespace {

class ServerReconciliation : public CallFixture {
protected:
    void SetUp() override {
        CallFixture::SetUp();
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale, env.root() + u"dav"_s);
        server->makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
        ASSERT_EQ(server->put(u"/u/book/lorenz.vcf"_s,
                              vcard(u"lorenz-1"_s, u"Lorenz"_s, u"+49 89 1111"_s,
                                    "X-OTHER-APP:behalten\r\n"),
                              "text/vcard"),
                  201);
        addServerAccount(store, *server);
        book = boundFolder(store, u"/u/book/"_s);
        // The server's book is indexed and takes new contacts.
        set(u"Folders"_s, u"1"_s);
        set(u"FolderID1"_s, folderReference(book));
        set(u"FolderNewContact"_s, folderReference(book));
    }
    // The window as a "calledbusy" event of the number leaves it.
    std::unique_ptr<frmKontaktAbgleich> open(tlm::Run& run, const QString& number,
                                             const QStringList& caller) {
        Event e{u"calledbusy"_s, number};
        e.caller = caller;
        Main(run, commandLine(e));
        run.params.values[P_INVOKED_FROM] = u"contact"_s;
        return std::make_unique<frmKontaktAbgleich>(run);
    }
    template <class T> static T* child(QWidget* window, const char* name) {
        T* c = window->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }
    QString idOf(const QString& last) {
        for (const pim::ItemRecord& r : store.items(book.entryId))
            if (r.properties.value(u"LastName"_s) == last)
                return r.entryId;
        return {};
    }
    // The card as the server holds it, its lines unfolded.
    QByteArray cardOnServer(const QString& last) {
        for (const QString& href : server->list(u"/u/book/"_s)) {
            const QByteArray card = server->get(href).replace("\r\n ", "");
            if (card.contains(QByteArray("N:" + last.toUtf8() + ";")))
                return card;
        }
        return {};
    }

    pim::Store store{env.pimPath()};
    std::unique_ptr<DavServer> server;
    pim::FolderInfo book;
};

TEST_F(ServerReconciliation, ANewContactAndATakenOverNumberReachTheServer) {
    tlm::Run unknownCaller;
    auto window = open(unknownCaller, u"030123456"_s,
                       {u"Anna"_s, u"Schulz"_s, u"Schulz GmbH"_s, u"Hauptstr. 1"_s, u"10115"_s});
    child<QPushButton>(window.get(), "cmdAnlegen")->click();
    ASSERT_TRUE(window->changed());
    const QString schulz = idOf(u"Schulz"_s);
    ASSERT_FALSE(schulz.isEmpty());

    tlm::Run knownCaller;
    window = open(knownCaller, u"0891111"_s, {u"Jana"_s, u"Lorenz"_s});
    ASSERT_EQ(child<QComboBox>(window.get(), "cbxKontakte")->count(), 1);
    auto* types = child<QListWidget>(window.get(), "listArt");
    types->setCurrentItem(types->findItems(u"Privat"_s, Qt::MatchExactly).value(0));
    child<QLineEdit>(window.get(), "txtTK3")->setText(u"089 2222"_s);
    child<QPushButton>(window.get(), "cmdUebernahmeRufnummer")->click();
    ASSERT_TRUE(window->changed());

    syncOk(store);
    EXPECT_EQ(server->list(u"/u/book/"_s).size(), 2);
    const QByteArray created = cardOnServer(u"Schulz"_s);
    EXPECT_TRUE(created.contains(QByteArray("UID:tellmarin-" + schulz.toLower().toUtf8() + "\r\n")))
        << created.constData();
    EXPECT_TRUE(created.contains("+49 (30) 123456")) << created.constData();
    EXPECT_TRUE(created.contains("Schulz GmbH"));
    const QByteArray updated = cardOnServer(u"Lorenz"_s);
    EXPECT_TRUE(updated.contains("089 2222")) << updated.constData();
    EXPECT_TRUE(updated.contains("UID:lorenz-1"));
    EXPECT_TRUE(updated.contains("X-OTHER-APP:behalten"));
    EXPECT_TRUE(updated.contains("+49 89 1111"));
}

} // namespace
} // namespace tlm::test
