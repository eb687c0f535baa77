// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Finding an account's address books and calendars on real servers.
#include "sync/davclient.h"
#include "sync/discovery.h"
#include "sync/syncerror.h"
#include "tests/support/davserver.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;
using tlm::test::DavServer;

namespace {

QString describe(const QList<Collection>& collections) {
    QStringList lines;
    for (const Collection& c : collections)
        lines << c.url.path() + u' ' + c.name() + u' ' +
                     (c.kind == CollectionKind::AddressBook ? u"addressbook"_s : u"calendar"_s) +
                     u' ' + c.components.join(u',') + (c.syncCollection ? u" sync"_s : u""_s);
    return lines.join(u'\n');
}

Failure failureOf(const std::function<void()>& f, QString* message = nullptr) {
    try {
        f();
    } catch (const SyncError& e) {
        if (message)
            *message = e.message();
        return e.failure();
    }
    ADD_FAILURE() << "no SyncError";
    return Failure::Http;
}

} // namespace

TEST(Discovery, FindsTheUsersBooksAndCalendarsOnRadicale) {
    test::TestEnv env;
    DavServer server(DavServer::Kind::Radicale, env.root() + u"dav"_s);
    server.makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
    server.makeCollection(u"/u/journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
    server.makeCollection(u"/u/mixed/"_s, u"Termine"_s, {u"VEVENT"_s, u"VTODO"_s});

    DavClient client({u"u"_s, u"secret"_s, false});
    const QString expected = u"/u/book/ Adressbuch addressbook  sync\n"
                             u"/u/journal/ Anrufjournal calendar VJOURNAL sync\n"
                             u"/u/mixed/ Termine calendar VEVENT,VTODO sync"_s;
    EXPECT_EQ(describe(discover(client, server.url())), expected);
    // The principal's address leads to the same collections.
    EXPECT_EQ(describe(discover(client, server.url(u"/u/"_s))), expected);
    // A collection given outright is that collection alone.
    EXPECT_EQ(describe(discover(client, server.url(u"/u/journal"_s))),
              u"/u/journal/ Anrufjournal calendar VJOURNAL sync"_s);
    EXPECT_EQ(describeCollection(client, server.url(u"/u/book/"_s)).name(), u"Adressbuch"_s);
}

TEST(Discovery, FindsTheCollectionsOnXandikos) {
    test::TestEnv env;
    DavServer server(DavServer::Kind::Xandikos, env.root() + u"dav"_s);
    server.makeCollection(u"/u/contacts/kontakte/"_s, u"Kontakte"_s);
    // Xandikos keeps every component on a calendar, whatever MKCOL asked for.
    server.makeCollection(u"/u/calendars/journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
    server.makeCollection(u"/u/calendars/termine/"_s, QString(), {u"VEVENT"_s});
    DavClient client({u"u"_s, u"secret"_s, false});
    EXPECT_EQ(describe(discover(client, server.url())),
              u"/u/calendars/journal/ Anrufjournal calendar VEVENT,VTODO,VJOURNAL sync\n"
              u"/u/calendars/termine/ termine calendar VEVENT,VTODO,VJOURNAL sync\n"
              u"/u/contacts/kontakte/ Kontakte addressbook  sync"_s);
}

TEST(Discovery, RefusesWhatIsNoAccountOrNoTrustworthyServer) {
    test::TestEnv env;
    DavServer server(DavServer::Kind::Radicale, env.root() + u"dav"_s);
    server.makeCollection(u"/u/book/"_s, u"Adressbuch"_s);

    QString message;
    DavClient wrong({u"u"_s, u"falsch-123"_s, false});
    EXPECT_EQ(failureOf([&] { discover(wrong, server.url()); }, &message),
              Failure::Authentication);
    EXPECT_FALSE(message.contains(u"falsch-123"_s)) << message.toStdString();

    DavClient client({u"u"_s, u"secret"_s, false});
    EXPECT_EQ(failureOf([&] { describeCollection(client, server.url(u"/u/"_s)); }),
              Failure::Unsupported);
    EXPECT_EQ(failureOf([&] { discover(client, QUrl(u"http://dav.example.org/"_s)); }, &message),
              Failure::InsecureHttp);
    EXPECT_EQ(failureOf([&] { discover(client, QUrl(u"ftp://127.0.0.1/"_s)); }),
              Failure::Unsupported);

    server.stop();
    EXPECT_EQ(failureOf([&] { discover(client, server.url()); }), Failure::Unreachable);
}

TEST(Discovery, RefusesASelfSignedCertificate) {
    test::TestEnv env;
    DavServer::Options tls;
    tls.tls = true;
    DavServer server(DavServer::Kind::Radicale, env.root() + u"dav"_s, tls);
    server.makeCollection(u"/u/book/"_s, u"Adressbuch"_s);
    DavClient client({u"u"_s, u"secret"_s, false});
    EXPECT_EQ(failureOf([&] { discover(client, server.url()); }), Failure::Certificate);
}
