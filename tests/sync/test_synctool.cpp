// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// tellmarin-pim's server commands as a user or a script runs them, against
// real servers, with a call run by the tellmarin executable in between.
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/davserver.h"
#include "tests/support/serveraccount.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QSet>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using tlm::test::DavServer;

namespace {

const QString Password = u"Geh3im-Wort"_s;

struct ToolRun {
    int code = -1;
    QString out, err;
};

QString binary(const QString& name) {
    return QCoreApplication::applicationDirPath() + u'/' + name;
}

// The children keep passwords in the 0600 file of the test's configuration
// folder, never in a Secret Service of the session that runs the tests.
QProcessEnvironment childEnvironment(const test::TestEnv& env) {
    QProcessEnvironment e = QProcessEnvironment::systemEnvironment();
    e.remove(u"DBUS_SESSION_BUS_ADDRESS"_s);
    e.insert(u"XDG_RUNTIME_DIR"_s, env.root());
    e.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    e.insert(u"TELLMARIN_AUTOANSWER"_s, u"1"_s);
    return e;
}

ToolRun runTool(const test::TestEnv& env, const QStringList& args, const QByteArray& input = {}) {
    QProcess p;
    p.setProcessEnvironment(childEnvironment(env));
    p.start(binary(u"tellmarin-pim"_s), args);
    p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

// An answered call as the CTI client reports it: the events "called",
// "connect" and "finished", each starting tellmarin with 19 arguments.
void answeredCall(const test::TestEnv& env, const QString& number, const QString& callId) {
    for (const QString& event : {u"called"_s, u"connect"_s, u"finished"_s}) {
        QStringList args = {number,  number, u"21"_s, u"Zentrale"_s,
                            u"0"_s,  event,  u"0"_s,  u"2026-12-07 10:00:00"_s,
                            u"95"_s, u"1"_s, callId,  u"U1"_s};
        args.resize(19);
        QProcess p;
        p.setProcessEnvironment(childEnvironment(env));
        p.start(binary(u"tellmarin"_s), args);
        p.waitForFinished(-1);
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << qPrintable(event);
    }
}

QByteArray card(const QString& uid, const QString& last, const QString& phone) {
    return "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:" + uid.toUtf8() + "\r\nN:" + last.toUtf8() +
           ";Thomas;;;\r\nFN:Thomas " + last.toUtf8() + "\r\nTEL;TYPE=WORK:" + phone.toUtf8() +
           "\r\nEND:VCARD\r\n";
}

QString writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    return path;
}

QJsonObject folderOf(const QJsonDocument& dump, const QString& name) {
    for (const QJsonValue& f : dump.object().value(u"folders"_s).toArray())
        if (f.toObject().value(u"name"_s).toString() == name)
            return f.toObject();
    ADD_FAILURE() << "no folder " << name.toStdString();
    return {};
}

QString userProperty(const QJsonObject& item, const QString& name) {
    for (const QJsonValue& p : item.value(u"userProperties"_s).toArray())
        if (p.toObject().value(u"name"_s).toString() == name)
            return p.toObject().value(u"value"_s).toString();
    return {};
}

// A text property of an unfolded iCalendar object, unescaped.
QString textProperty(const QString& ics, const QString& name) {
    for (const QString& line : ics.split(u"\r\n"_s))
        if (line.startsWith(name + u':'))
            return line.mid(name.size() + 1)
                .replace(u"\\,"_s, u","_s)
                .replace(u"\\;"_s, u";"_s)
                .replace(u"\\n"_s, u"\n"_s)
                .replace(u"\\\\"_s, u"\\"_s);
    return {};
}

class SyncTool : public ::testing::Test {
protected:
    void startServer(DavServer::Kind kind) {
        DavServer::Options options;
        options.password = Password;
        server = std::make_unique<DavServer>(kind, env.root() + u"dav"_s, options);
        // Xandikos keeps collections in the home sets it makes itself.
        home = test::homeOf(kind);
        server->makeCollection(home + u"book/"_s, u"Adressbuch"_s);
        server->makeCollection(home + u"journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
        passwordFile = writeFile(env.root() + u"pw"_s, Password.toUtf8() + '\n');
    }
    ToolRun pim(const QStringList& args, const QByteArray& input = {}) const {
        const ToolRun r = runTool(env, args, input);
        EXPECT_FALSE(r.out.contains(Password) || r.err.contains(Password));
        return r;
    }
    ToolRun addAccount(const QStringList& more = {}) const {
        return pim(QStringList{u"add-account"_s, server->url().toString(), u"--user"_s, u"u"_s,
                               u"--password-file"_s, passwordFile} +
                   more);
    }
    QByteArray dump() const {
        const ToolRun r = pim({u"dump-json"_s});
        EXPECT_EQ(r.code, 0) << r.err.toStdString();
        EXPECT_FALSE(r.out.contains(Password));
        return r.out.toUtf8();
    }
    QByteArray passwords() const {
        return test::readBytes(env.configFolder() + u"Tellmarin-Passwoerter.json"_s);
    }

    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    QString home;
    QString passwordFile;
};

class SyncToolOnServer : public SyncTool, public ::testing::WithParamInterface<DavServer::Kind> {};

} // namespace

// The set-up a user or a script makes: an account with an address book and
// a journal calendar; a call finds the server's contact and its journal
// entry reaches the server. Removing the account leaves the server alone.
TEST_P(SyncToolOnServer, AnAccountServesTheCallAndTheCallJournalReachesTheServer) {
    startServer(GetParam());
    ASSERT_EQ(server->put(home + u"book/becker.vcf"_s,
                          card(u"becker-1"_s, u"Becker"_s, u"+49 30 1234567"_s), "text/vcard"),
              201);
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    const ToolRun added = addAccount({u"--name"_s, u"Büro"_s});
    ASSERT_EQ(added.code, 0) << added.err.toStdString();
    const ToolRun synced = pim({u"sync"_s});
    ASSERT_EQ(synced.code, 0) << synced.err.toStdString();
    EXPECT_TRUE(synced.out.contains(u"\\\\Büro\\Adressbuch: vom Server 0 neu"_s))
        << synced.out.toStdString();

    // Xandikos offers every component on a calendar: the journal folder is
    // named apart from the calendar's own.
    const QString journalName =
        GetParam() == DavServer::Kind::Radicale ? u"Anrufjournal"_s : u"Anrufjournal (Journal)"_s;
    const QJsonDocument before = QJsonDocument::fromJson(dump());
    const QJsonObject book = folderOf(before, u"Adressbuch"_s);
    const QJsonObject journal = folderOf(before, journalName);
    EXPECT_EQ(book.value(u"kind"_s).toString(), u"contact"_s);
    EXPECT_EQ(journal.value(u"kind"_s).toString(), u"journal"_s);
    const QJsonArray contacts = book.value(u"items"_s).toArray();
    ASSERT_EQ(contacts.size(), 1);
    const QString contactId = contacts[0].toObject().value(u"EntryID"_s).toString();
    EXPECT_FALSE(passwords().isEmpty());

    const auto reference = [](const QJsonObject& folder) -> QString {
        return folder.value(u"EntryID"_s).toString() + u'|' + folder.value(u"StoreID"_s).toString();
    };
    for (const auto& [key, value] : {std::pair{u"Folders"_s, u"1"_s},
                                     {u"FolderID1"_s, reference(book)},
                                     {u"FolderJournal"_s, reference(journal)},
                                     {u"InJournal"_s, u"1"_s}})
        settingsstore::save(key, value);
    answeredCall(env, u"0301234567"_s, u"SYNC-CALL-1"_s);

    const auto journalEntries = [&] {
        return folderOf(QJsonDocument::fromJson(dump()), journalName).value(u"items"_s).toArray();
    };
    const QJsonArray entries = journalEntries();
    ASSERT_EQ(entries.size(), 1);
    const QJsonObject entry = entries[0].toObject();
    EXPECT_EQ(userProperty(entry, u"CID"_s), contactId); // the caller was found
    const QString subject = entry.value(u"properties"_s).toObject().value(u"Subject"_s).toString();
    ASSERT_FALSE(subject.isEmpty());

    const ToolRun pushed = pim({u"sync"_s});
    ASSERT_EQ(pushed.code, 0) << pushed.err.toStdString();
    const QStringList onServer = server->list(home + u"journal/"_s);
    ASSERT_EQ(onServer.size(), 1);
    const QString ics = QString::fromUtf8(server->get(onServer[0])).replace(u"\r\n "_s, QString());
    EXPECT_TRUE(ics.contains(u"BEGIN:VJOURNAL"_s)) << ics.toStdString();
    EXPECT_EQ(textProperty(ics, u"SUMMARY"_s), subject) << ics.toStdString();
    EXPECT_EQ(textProperty(ics, u"X-TELLMARIN-USERPROPERTY;X-TELLMARIN-NAME=PCALLID"_s),
              u"SYNC-CALL-1"_s);

    // The contact's number changed on the server: after a sync the next
    // call finds it under the new one.
    ASSERT_EQ(server->put(home + u"book/becker.vcf"_s,
                          card(u"becker-1"_s, u"Becker"_s, u"+49 30 7654321"_s), "text/vcard") /
                  100,
              2);
    ASSERT_EQ(pim({u"sync"_s}).code, 0);
    answeredCall(env, u"0307654321"_s, u"SYNC-CALL-2"_s);
    const QJsonArray both = journalEntries();
    ASSERT_EQ(both.size(), 2);
    for (const QJsonValue& e : both)
        EXPECT_EQ(userProperty(e.toObject(), u"CID"_s), contactId);

    const ToolRun listed = pim({u"accounts"_s});
    EXPECT_TRUE(listed.out.startsWith(u"Büro\t"_s + server->url().toString() +
                                      u"\tu\t\\\\Büro\tabgeglichen "_s))
        << listed.out.toStdString();

    // Removed here: the store, its bindings and its password go; the server
    // keeps everything.
    const ToolRun removed = pim({u"remove-account"_s, u"Büro"_s});
    ASSERT_EQ(removed.code, 0) << removed.err.toStdString();
    EXPECT_TRUE(pim({u"accounts"_s}).out.isEmpty());
    const QByteArray after = dump();
    EXPECT_FALSE(after.contains("Büro")) << after.constData();
    EXPECT_FALSE(after.contains("\"sync\"")) << after.constData();
    EXPECT_FALSE(passwords().contains("Büro"));
    EXPECT_EQ(server->list(home + u"journal/"_s).size(), 1);
    EXPECT_EQ(server->list(home + u"book/"_s).size(), 1);
}

INSTANTIATE_TEST_SUITE_P(Servers, SyncToolOnServer,
                         ::testing::Values(DavServer::Kind::Radicale, DavServer::Kind::Xandikos),
                         test::serverName);

// What cannot work is refused with its reason, and leaves the store as it
// was: no account, no password.
TEST_F(SyncTool, RefusedAccountsLeaveNothingBehind) {
    startServer(DavServer::Kind::Radicale);
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    const QByteArray unchanged = dump();
    const auto refused = [&](const ToolRun& r, const QString& reason) {
        EXPECT_EQ(r.code, 1);
        EXPECT_TRUE(r.err.contains(reason)) << r.err.toStdString();
        EXPECT_EQ(dump(), unchanged);
        EXPECT_TRUE(pim({u"accounts"_s}).out.isEmpty());
        EXPECT_FALSE(passwords().contains("u@127.0.0.1"));
    };

    writeFile(passwordFile, "falsch\n");
    refused(addAccount(), u"abgelehnt (Benutzer oder Passwort falsch)"_s);
    refused(
        pim({u"add-account"_s, server->url().toString(), u"--user"_s, u"u"_s}, QByteArray("\n")),
        u"Kein Passwort eingegeben."_s);
    writeFile(passwordFile, "");
    refused(addAccount(), u"Die Datei mit dem Passwort ist leer"_s);
    refused(pim({u"add-account"_s, u"http://192.0.2.7/"_s, u"--user"_s, u"u"_s},
                Password.toUtf8() + '\n'),
            u"Unverschlüsseltes HTTP zu 192.0.2.7 wird nicht verwendet"_s);

    DavServer::Options tls;
    tls.tls = true;
    const DavServer selfSigned(DavServer::Kind::Radicale, env.root() + u"tls"_s, tls);
    refused(pim({u"add-account"_s, selfSigned.url().toString(), u"--user"_s, u"u"_s}, "secret\n"),
            u"Dem Zertifikat des Servers 127.0.0.1 wird nicht vertraut"_s);

    // A server away during a sync: the reason, and the account shows it.
    writeFile(passwordFile, Password.toUtf8() + "\r\n");
    ASSERT_EQ(addAccount().code, 0);
    server->stop();
    const ToolRun away = pim({u"sync"_s});
    EXPECT_EQ(away.code, 1);
    EXPECT_FALSE(away.err.isEmpty());
    EXPECT_TRUE(pim({u"accounts"_s}).out.contains(u"\tFehler: "_s));
}

// A sync killed at a few points of a few hundred moves in both directions:
// the next sync finishes the work, with nothing lost and nothing twice.
TEST_F(SyncTool, AKilledSyncIsFinishedByTheNextOne) {
    startServer(DavServer::Kind::Radicale);
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    ASSERT_EQ(addAccount({u"--name"_s, u"Büro"_s}).code, 0);
    constexpr int Each = 150;
    for (int i = 0; i < Each; ++i)
        ASSERT_EQ(server->put(home + u"book/s"_s + QString::number(i) + u".vcf"_s,
                              card(u"server-"_s + QString::number(i), u"S"_s + QString::number(i),
                                   u"030 "_s + QString::number(200000 + i)),
                              "text/vcard"),
                  201);
    {
        pim::Store store(env.pimPath(), pim::Store::Create::Never);
        const QString book = store.folderByPath(u"\\\\Büro\\Adressbuch"_s).entryId;
        store.transaction([&] {
            for (int i = 0; i < Each; ++i) {
                pim::ItemRecord c;
                c.messageClass = u"IPM.Contact"_s;
                c.properties.insert(u"LastName"_s, QString(u"L"_s + QString::number(i)));
                c.properties.insert(u"BusinessTelephoneNumber"_s,
                                    QString(u"040 "_s + QString::number(300000 + i)));
                store.addItem(book, c);
            }
        });
    }

    for (const int delayMs : {150, 400, 900, 1600}) {
        QProcess killed;
        killed.setProcessEnvironment(childEnvironment(env));
        killed.start(binary(u"tellmarin-pim"_s), {u"sync"_s});
        ASSERT_TRUE(killed.waitForStarted());
        QThread::msleep(static_cast<unsigned long>(delayMs));
        killed.kill();
        killed.waitForFinished(-1);
    }
    ASSERT_EQ(pim({u"sync"_s}).code, 0);
    const ToolRun settled = pim({u"sync"_s});
    ASSERT_EQ(settled.code, 0) << settled.err.toStdString();
    const QStringList lines = settled.out.split(u'\n', Qt::SkipEmptyParts);
    EXPECT_EQ(lines.size(), 2);
    for (const QString& line : lines)
        EXPECT_TRUE(line.endsWith(u": vom Server 0 neu, 0 geändert, 0 gelöscht; zum Server 0 neu, "
                                  u"0 geändert, 0 gelöscht; 0 Konflikte"_s))
            << line.toStdString();

    const pim::Store store(env.pimPath(), pim::Store::Create::Never);
    QSet<QString> names;
    const QList<pim::ItemRecord> local =
        store.items(store.folderByPath(u"\\\\Büro\\Adressbuch"_s).entryId);
    for (const pim::ItemRecord& c : local)
        names.insert(c.properties.value(u"LastName"_s).toString());
    EXPECT_EQ(local.size(), 2 * Each);
    EXPECT_EQ(names.size(), 2 * Each);
    const QStringList remote = server->list(home + u"book/"_s);
    EXPECT_EQ(remote.size(), 2 * Each);
    EXPECT_EQ(QSet<QString>(remote.begin(), remote.end()).size(), 2 * Each);
}
