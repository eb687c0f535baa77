// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Another program reads and changes the call journal on the server:
// vdirsyncer (Debian) syncs the calendar into a folder of .ics files and
// back, and the program's own properties survive the round trip.
#include "store/pimstore.h"
#include "sync/accounts.h"
#include "sync/icalendar.h"
#include "tests/support/davserver.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;
using tlm::pim::Store;
using tlm::test::DavServer;

namespace {

const QDateTime CallStart = QDateTime(QDate(2026, 12, 7), QTime(10, 15), Qt::UTC);

class ForeignClient : public ::testing::Test {
protected:
    void SetUp() override {
        if (QStandardPaths::findExecutable(u"vdirsyncer"_s).isEmpty())
            GTEST_SKIP() << "vdirsyncer is not installed";
        server = std::make_unique<DavServer>(DavServer::Kind::Radicale, env.root() + u"dav"_s);
        server->makeCollection(u"/u/journal/"_s, u"Anrufjournal"_s, {u"VJOURNAL"_s});
        sync::addAccount(store, {server->url(), u"u"_s, u"secret"_s, u"Büro"_s, false});
        for (const pim::FolderInfo& f : store.folders())
            if (f.name == u"Anrufjournal"_s)
                journal = f.entryId;
        ASSERT_FALSE(journal.isEmpty());
        writeConfig();
        ASSERT_EQ(vdirsyncer(u"discover"_s), 0);
    }

    void writeConfig() {
        QDir().mkpath(files());
        QFile config(env.root() + u"vdirsyncer.conf"_s);
        ASSERT_TRUE(config.open(QIODevice::WriteOnly));
        config.write(u"[general]\nstatus_path = \"%1status/\"\n\n"
                     u"[pair journal]\na = \"journal_files\"\nb = \"journal_server\"\n"
                     u"collections = null\n\n"
                     u"[storage journal_files]\ntype = \"filesystem\"\npath = \"%2\"\n"
                     u"fileext = \".ics\"\n\n"
                     u"[storage journal_server]\ntype = \"caldav\"\nurl = \"%3\"\n"
                     u"username = \"u\"\npassword = \"secret\"\n"_s
                         .arg(env.root(), files(), server->url(u"/u/journal/"_s).toString())
                         .toUtf8());
    }

    QString files() const { return env.root() + u"files/"_s; }

    // Runs vdirsyncer with its questions answered yes; its exit status.
    int vdirsyncer(const QString& command) {
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(u"vdirsyncer"_s, {u"-c"_s, env.root() + u"vdirsyncer.conf"_s, command});
        p.write(QByteArray(20, 'y').replace("y", "y\n"));
        p.closeWriteChannel();
        p.waitForFinished(-1);
        const QByteArray output = p.readAll();
        if (p.exitCode() != 0)
            ADD_FAILURE() << "vdirsyncer " << command.toStdString() << ":\n" << output.constData();
        return p.exitCode();
    }

    // The one .ics file vdirsyncer keeps, with folded lines joined (the
    // file's lines end in LF alone).
    QString icsPath() const {
        const QStringList names = QDir(files()).entryList({u"*.ics"_s}, QDir::Files);
        return names.size() == 1 ? files() + names.first() : QString();
    }
    QString unfoldedIcs() const {
        return QString::fromUtf8(test::readBytes(icsPath()))
            .replace(u"\r\n"_s, u"\n"_s)
            .replace(u"\n "_s, QString());
    }

    QString addCallEntry() {
        pim::ItemRecord entry;
        entry.messageClass = u"IPM.Activity"_s;
        entry.properties = {{u"Subject"_s, u"Anruf von Thomas Becker"_s},
                            {u"Start"_s, CallStart.toLocalTime()},
                            {u"Duration"_s, 20}};
        entry.userProperties = {{u"CallNumber"_s, u"+49 30 1234567"_s},
                                {u"PCALLID"_s, u"5F3A9C21-0001-4B7E"_s}};
        entry.body = u"Rückruf erbeten, Angebot schicken"_s;
        return store.addItem(journal, entry);
    }

    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    Store store{env.pimPath()};
    QString journal;
};

} // namespace

TEST_F(ForeignClient, ReadsOurJournalEntryWithItsOwnProperties) {
    addCallEntry();
    ASSERT_TRUE(syncAccounts(store).ok());
    ASSERT_EQ(vdirsyncer(u"sync"_s), 0);
    ASSERT_FALSE(icsPath().isEmpty()) << "not exactly one .ics file";

    const QString ics = unfoldedIcs();
    const QStringList lines = ics.split(u'\n');
    EXPECT_TRUE(lines.contains(u"BEGIN:VJOURNAL"_s)) << ics.toStdString();
    EXPECT_TRUE(lines.contains(u"SUMMARY:Anruf von Thomas Becker"_s));
    EXPECT_TRUE(lines.contains(u"DESCRIPTION:Rückruf erbeten\\, Angebot schicken"_s));
    EXPECT_TRUE(lines.contains(u"DTSTART:20261207T101500Z"_s));
    EXPECT_TRUE(ics.contains(u"X-TELLMARIN-USERPROPERTY;X-TELLMARIN-NAME=PCALLID:5F3A9C21-0001-4B7E"_s));
    EXPECT_TRUE(ics.contains(u"X-TELLMARIN-USERPROPERTY;X-TELLMARIN-NAME=CallNumber:+49 30 1234567"_s));

    // Read back as the sync reads it: the same entry.
    const ical::ReadItem read = ical::read(test::readBytes(icsPath()), {});
    EXPECT_EQ(read.record.properties.value(u"Subject"_s), u"Anruf von Thomas Becker"_s);
    EXPECT_EQ(read.record.properties.value(u"Start"_s).toDateTime(), CallStart);
    EXPECT_EQ(read.record.properties.value(u"Duration"_s).toInt(), 20);
    EXPECT_EQ(read.record.userProperties, store.items(journal).first().userProperties);
}

TEST_F(ForeignClient, ItsChangeComesBackWithOurPropertiesKept) {
    const QString entryId = addCallEntry();
    ASSERT_TRUE(syncAccounts(store).ok());
    ASSERT_EQ(vdirsyncer(u"sync"_s), 0);
    ASSERT_FALSE(icsPath().isEmpty());

    // The other program changes the subject and adds a property of its own.
    QByteArray ics = test::readBytes(icsPath());
    ics.replace("SUMMARY:Anruf von Thomas Becker", "SUMMARY:Anruf von Thomas Becker (erledigt)");
    ics.replace("END:VJOURNAL", "X-OTHER-APP:behalten\r\nEND:VJOURNAL");
    QFile file(icsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(ics);
    file.close();
    ASSERT_EQ(vdirsyncer(u"sync"_s), 0);

    const SyncRun run = syncAccounts(store);
    ASSERT_TRUE(run.ok()) << run.errors.join(u'\n').toStdString();
    ASSERT_EQ(run.folders.size(), 1);
    EXPECT_EQ(run.folders[0].pulledChanged, 1);
    const pim::ItemRecord entry = store.item(entryId);
    EXPECT_EQ(entry.properties.value(u"Subject"_s), u"Anruf von Thomas Becker (erledigt)"_s);
    EXPECT_EQ(entry.properties.value(u"Duration"_s).toInt(), 20);
    EXPECT_EQ(entry.body, u"Rückruf erbeten, Angebot schicken"_s);
    const QList<pim::UserProperty> expected{{u"CallNumber"_s, u"+49 30 1234567"_s},
                                            {u"PCALLID"_s, u"5F3A9C21-0001-4B7E"_s}};
    EXPECT_EQ(entry.userProperties, expected);

    // A change of ours afterwards keeps the other program's property.
    pim::ItemRecord changed = entry;
    changed.body += u"\r\nAngebot verschickt"_s;
    store.updateItem(changed);
    ASSERT_TRUE(syncAccounts(store).ok());
    ASSERT_EQ(vdirsyncer(u"sync"_s), 0);
    const QString after = unfoldedIcs();
    EXPECT_TRUE(after.contains(u"X-OTHER-APP:behalten"_s)) << after.toStdString();
    EXPECT_TRUE(after.contains(u"Angebot verschickt"_s));
    EXPECT_TRUE(after.contains(u"X-TELLMARIN-USERPROPERTY;X-TELLMARIN-NAME=PCALLID:5F3A9C21-0001-4B7E"_s));
}
