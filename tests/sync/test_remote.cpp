// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// A collection on a real server: listing changes, fetching in batches,
// writing and removing with ETags.
#include "sync/davclient.h"
#include "sync/discovery.h"
#include "sync/remote.h"
#include "sync/syncerror.h"
#include "tests/support/davserver.h"
#include "tests/support/serveraccount.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;
using tlm::test::DavServer;

namespace {

QByteArray vcard(const QString& uid, const QString& name) {
    return (u"BEGIN:VCARD\r\nVERSION:3.0\r\nUID:"_s + uid + u"\r\nFN:"_s + name + u"\r\nN:"_s +
            name + u";;;;\r\nTEL;TYPE=WORK:+49 30 1234567\r\nEND:VCARD\r\n"_s)
        .toUtf8();
}

QStringList paths(const QList<RemoteEntry>& entries) {
    QStringList out;
    for (const RemoteEntry& e : entries)
        out << e.path;
    out.sort();
    return out;
}

class Remote : public ::testing::TestWithParam<DavServer::Kind> {
protected:
    static constexpr int Batch = 20;
    void SetUp() override {
        server = std::make_unique<DavServer>(GetParam(), env.root() + u"dav"_s);
        server->makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
        client = std::make_unique<DavClient>(ServerAccess{u"u"_s, u"secret"_s, false});
        book = std::make_unique<RemoteCollection>(
            *client, describeCollection(*client, server->url(u"/u/book/"_s)), Batch);
    }
    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    std::unique_ptr<DavClient> client;
    std::unique_ptr<RemoteCollection> book;
};

} // namespace

TEST_P(Remote, WritesWithEtagsAndRefusesStaleOnes) {
    const QString path = book->newPath(u"a b/ü@1"_s);
    EXPECT_EQ(path, u"/u/book/a_b___1.vcf"_s);
    auto written = book->put(path, vcard(u"a b/ü@1"_s, u"Becker"_s), {});
    ASSERT_EQ(written.status, 201);
    if (written.etag.isEmpty())
        written.etag = book->etagOf(path);
    ASSERT_FALSE(written.etag.isEmpty());
    // A second "new" resource at the same place is refused.
    EXPECT_EQ(book->put(path, vcard(u"x"_s, u"Anders"_s), {}).status, 412);

    auto changed = book->put(path, vcard(u"a b/ü@1"_s, u"Becker-Neu"_s), written.etag);
    EXPECT_TRUE(changed.status == 204 || changed.status == 200 || changed.status == 201)
        << changed.status;
    // The old ETag no longer matches: neither writing nor removing happens.
    EXPECT_EQ(book->put(path, vcard(u"a b/ü@1"_s, u"Alt"_s), written.etag).status, 412);
    EXPECT_EQ(book->remove(path, written.etag), 412);
    const QList<RemoteItem> items = book->fetch({path});
    ASSERT_EQ(items.size(), 1);
    EXPECT_TRUE(items[0].data.contains("FN:Becker-Neu")) << items[0].data.constData();
    EXPECT_EQ(book->remove(path, items[0].etag) / 100, 2);
    EXPECT_EQ(book->remove(path, items[0].etag), 404);
    EXPECT_TRUE(book->fetch({path}).isEmpty());
}

TEST_P(Remote, ListsChangesSinceTheLastSyncAndFetchesInBatches) {
    constexpr int Count = Batch * 2 + 5;
    for (int i = 0; i < Count; ++i)
        ASSERT_EQ(server->put(u"/u/book/c%1.vcf"_s.arg(i), vcard(u"c%1"_s.arg(i), u"K%1"_s.arg(i)),
                              "text/vcard"),
                  201);
    const Listing first = book->changes(QString());
    EXPECT_TRUE(first.full);
    ASSERT_EQ(first.present.size(), Count);
    QStringList all = paths(first.present);
    const QList<RemoteItem> items = book->fetch(all);
    ASSERT_EQ(items.size(), Count);
    for (const RemoteItem& item : items)
        EXPECT_TRUE(item.data.startsWith("BEGIN:VCARD")) << item.path.toStdString();

    ASSERT_EQ(server->put(u"/u/book/c1.vcf"_s, vcard(u"c1"_s, u"Geändert"_s), "text/vcard") / 100, 2);
    ASSERT_EQ(server->remove(u"/u/book/c2.vcf"_s) / 100, 2);
    ASSERT_EQ(server->put(u"/u/book/neu.vcf"_s, vcard(u"neu"_s, u"Neu"_s), "text/vcard"), 201);
    const Listing next = book->changes(first.syncToken);
    if (book->collection().syncCollection) {
        EXPECT_FALSE(next.full);
        EXPECT_EQ(paths(next.present), (QStringList{u"/u/book/c1.vcf"_s, u"/u/book/neu.vcf"_s}));
        EXPECT_EQ(next.removed, QStringList{u"/u/book/c2.vcf"_s});
    }
    // A token the server does not know gives everything again.
    const Listing again = book->changes(first.syncToken + u"x"_s);
    EXPECT_TRUE(again.full);
    EXPECT_EQ(again.present.size(), Count);
}

INSTANTIATE_TEST_SUITE_P(Servers, Remote,
                         ::testing::Values(DavServer::Kind::Radicale, DavServer::Kind::Xandikos),
                         test::serverName);
