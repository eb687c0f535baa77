// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Two syncs of one store at once (the viewer and tellmarin-pim) take turns:
// what is new on the server arrives once, and nothing goes back doubled.
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "tests/support/davserver.h"
#include "tests/support/testenv.h"

#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using tlm::test::DavServer;

TEST(SyncLock, TwoSyncsOfOneStoreAtOnceAddNothingTwice) {
    test::TestEnv env;
    DavServer server(DavServer::Kind::Radicale, env.root() + u"dav"_s);
    server.makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
    pim::Store store(env.pimPath());
    sync::addAccount(store, {server.url(), u"u"_s, u"secret"_s, u"Büro"_s, false});
    constexpr int Cards = 6;
    for (int i = 0; i < Cards; ++i)
        ASSERT_EQ(server.put(u"/u/book/c%1.vcf"_s.arg(i),
                             "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:c" + QByteArray::number(i) +
                                 "\r\nN:Kraus" + QByteArray::number(i) +
                                 ";Anna;;;\r\nFN:Anna Kraus\r\nEND:VCARD\r\n",
                             "text/vcard"),
                  201);

    // Each with a connection of its own, as two processes have.
    QList<QThread*> syncs;
    for (int i = 0; i < 2; ++i)
        syncs << QThread::create([&env] {
            pim::Store own(env.pimPath(), pim::Store::Create::Never);
            sync::syncAccounts(own);
        });
    for (QThread* t : syncs)
        t->start();
    for (QThread* t : syncs) {
        t->wait();
        delete t;
    }
    ASSERT_TRUE(sync::syncAccounts(store).ok());
    for (const pim::FolderInfo& f : store.folders()) {
        if (f.name == u"Adressbuch"_s) {
            EXPECT_EQ(store.itemCount(f.entryId), Cards);
        }
    }
    EXPECT_EQ(server.list(u"/u/book/"_s).size(), Cards);
}
