// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Call events of the real program on folders synced with a real server: the
// caller is found among the server's contacts as the last sync left them,
// and the call's journal entry, appointment or task reaches the server in a
// form another client reads (Python's standard library here).
#include "platform/settingsstore.h"
#include "sync/accounts.h"
#include "tests/support/serveraccount.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <QSettings>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using tlm::pim::Store;
using tlm::test::DavServer;

namespace {

// A component as read_dav.py hands it over.
class Component {
public:
    explicit Component(QJsonObject json = {}) : m_json(std::move(json)) {}
    QString name() const { return m_json[u"name"_s].toString(); }
    QString value(const QString& property) const { return values(property).value(0, u"<none>"_s); }
    QStringList values(const QString& property) const {
        QStringList out;
        for (const QJsonValue& p : m_json[u"properties"_s].toArray())
            if (p[u"name"_s].toString() == property)
                out << p[u"value"_s].toString();
        return out;
    }
    QString param(const QString& property, const QString& param) const {
        for (const QJsonValue& p : m_json[u"properties"_s].toArray())
            if (p[u"name"_s].toString() == property)
                return p[u"params"_s][param].toString();
        return u"<none>"_s;
    }
    // An Outlook property or user property carried in an X- property.
    QString tellmarin(const QString& xname, const QString& name) const {
        for (const QJsonValue& p : m_json[u"properties"_s].toArray())
            if (p[u"name"_s].toString() == xname &&
                p[u"params"_s][u"X-TELLMARIN-NAME"_s].toString() == name)
                return p[u"value"_s].toString();
        return u"<none>"_s;
    }
    QString userProperty(const QString& name) const {
        return tellmarin(u"X-TELLMARIN-USERPROPERTY"_s, name);
    }
    QList<Component> components(const QString& kind) const {
        QList<Component> out;
        for (const QJsonValue& c : m_json[u"components"_s].toArray())
            if (c[u"name"_s].toString() == kind)
                out << Component(c.toObject());
        return out;
    }

private:
    QJsonObject m_json;
};

QString utc(const QDateTime& t) {
    return t.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"_s);
}

// One desktop: its own store, settings and work folder, which the program
// and the sync find through the environment.
class Desktop {
public:
    explicit Desktop(const QString& root) : m_root(root) {
        for (const char* sub : {"temp/Tellmarin", "config/Orvensoft", "data"})
            QDir().mkpath(root + QString::fromLatin1(sub));
        enter();
        m_store = std::make_unique<Store>(root + u"data/pim.sqlite"_s);
    }
    void enter() const {
        qputenv("TEMP", (m_root + u"temp"_s).toUtf8());
        qputenv("TMPDIR", (m_root + u"temp"_s).toUtf8());
        qputenv("XDG_CONFIG_HOME", (m_root + u"config"_s).toUtf8());
        qputenv("TELLMARIN_PIM", (m_root + u"data/pim.sqlite"_s).toUtf8());
    }
    Store& store() const { return *m_store; }
    QString workFolder() const { return m_root + u"temp/Tellmarin/"_s; }

    // Settings of a user who indexes the server's address book and
    // journals calls into the server's journal.
    void useServerFolders(const QString& book, const QString& journal) const {
        enter();
        for (const auto& [k, v] :
             {std::pair{u"Debug"_s, u"1"_s},
              {u"DefaultFolder"_s, u"0"_s},
              {u"Folders"_s, u"1"_s},
              {u"FolderID1"_s, test::folderReference(test::boundFolder(store(), book))},
              {u"Refresh"_s, u"4"_s}, // only a rebuild on demand: the index stays as built
              {u"InContact"_s, u"1"_s},
              {u"InJournal"_s, u"1"_s},
              {u"JournalCallEnd"_s, u"1"_s},
              {u"FolderJournal"_s,
               test::folderReference(test::boundFolder(store(), journal, u"VJOURNAL"_s))}})
            settingsstore::save(k, v);
    }

    struct Event {
        QString event; // or the menu's origin ("ctiwindow")
        QString number;
        QString id;
        QTime at;
        QString menu = u"0"_s;
        QString duration = u"0"_s;
    };
    void run(const Event& e) const {
        enter();
        const QString today = QDate::currentDate().toString(u"yyyy-MM-dd"_s);
        QStringList args{e.number,   e.number, u"21"_s, u"Zentrale"_s,
                         e.menu,     e.event,  u"0"_s,  today + u" 14:03:20"_s,
                         e.duration, u"1"_s,   e.id,    u"U1"_s};
        args.resize(19);
        QProcess p;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"TELLMARIN_AUTOANSWER"_s, u"1"_s);
        environment.insert(u"TELLMARIN_NOW"_s, today + u'T' + e.at.toString(u"HH:mm:ss"_s));
        p.setProcessEnvironment(environment);
        p.start(QCoreApplication::applicationDirPath() + u"/tellmarin"_s, args);
        ASSERT_TRUE(p.waitForFinished(-1));
        EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().toStdString();
    }
    void answeredCall(const QString& number, const QString& id) const {
        run({u"called"_s, number, id, QTime(14, 3, 27)});
        run({u"connect"_s, number, id, QTime(14, 3, 40)});
        run({u"finished"_s, number, id, QTime(14, 9, 2)});
    }
    // The EntryID of the contact the call's events found, empty for none.
    QString foundContact(const QString& id) const {
        return QSettings(workFolder() + id + u".call"_s, QSettings::IniFormat)
            .value(u"Contact/Contact-ID"_s)
            .toString();
    }
    QString callLog(const QString& id) const {
        return QString::fromUtf8(test::readBytes(workFolder() + id + u".log"_s));
    }
    void sync() const {
        enter();
        test::syncOk(store());
    }

private:
    QString m_root;
    std::unique_ptr<Store> m_store;
};

QList<pim::ItemRecord> itemsOf(const Store& store, const pim::FolderInfo& folder) {
    return store.items(folder.entryId);
}

class ServerCalls : public ::testing::TestWithParam<DavServer::Kind> {
protected:
    void SetUp() override {
        server = std::make_unique<DavServer>(GetParam(), env.root() + u"dav"_s);
        test::makeOffice(*server, home);
    }
    void addAccount(const Desktop& desk) {
        desk.enter();
        test::addServerAccount(desk.store(), *server);
        desk.useServerFolders(home + u"book/"_s, home + u"journal/"_s);
    }
    QString contactId(const Desktop& desk, const QString& last) const {
        for (const pim::ItemRecord& r :
             itemsOf(desk.store(), test::boundFolder(desk.store(), home + u"book/"_s)))
            if (r.properties.value(u"LastName"_s) == last)
                return r.entryId;
        return {};
    }
    // Each resource of a collection as another client reads it: the card,
    // or the calendar object's first component.
    QList<Component> readCollection(const QString& path) const {
        QList<Component> out;
        for (const QString& href : server->list(path)) {
            QProcess p;
            p.start(u"/usr/bin/python3"_s,
                    {QStringLiteral(TM_READ_DAV), server->url(href).toString(),
                     server->options().user, server->options().password});
            EXPECT_TRUE(p.waitForFinished(-1));
            const QJsonObject json = QJsonDocument::fromJson(p.readAllStandardOutput()).object();
            EXPECT_EQ(json[u"status"_s].toInt(), 200) << p.readAllStandardError().toStdString();
            const Component top(json[u"components"_s][0].toObject());
            if (top.name() != u"VCALENDAR"_s) {
                out << top;
                continue;
            }
            for (const char* kind : {"VJOURNAL", "VEVENT", "VTODO"})
                out << top.components(QString::fromLatin1(kind));
        }
        return out;
    }

    test::TestEnv env;
    std::unique_ptr<DavServer> server;
    QString home = test::homeOf(GetParam());
};

} // namespace

TEST_P(ServerCalls, TheNextCallFindsTheServersContactsAsTheLastSyncLeftThem) {
    Desktop desk(env.root() + u"desk/"_s);
    addAccount(desk);
    const QString becker = contactId(desk, u"Becker"_s);
    ASSERT_FALSE(becker.isEmpty());
    desk.run({u"called"_s, u"0301234567"_s, u"CALL-1"_s, QTime(9, 0, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-1"_s), becker);
    const QString index =
        desk.workFolder() + u"tlm"_s + QDate::currentDate().toString(u"yyyyMMdd"_s) + u".idx"_s;
    EXPECT_TRUE(QFile::exists(index + u".tab"_s)); // the lookup table beside it

    // Added and changed on the server: the index built by the first call
    // is not rebuilt by time (Refresh 4), only because the sync changed it.
    ASSERT_EQ(server->put(home + u"book/kraus.vcf"_s,
                          test::vcard(u"kraus-1"_s, u"Kraus"_s, u"+49 40 555"_s), "text/vcard"),
              201);
    ASSERT_EQ(server->put(home + u"book/becker.vcf"_s,
                          test::vcard(u"becker-1"_s, u"Becker"_s, u"+49 30 7654321"_s),
                          "text/vcard") /
                  100,
              2);
    desk.sync();
    EXPECT_FALSE(QFile::exists(index)); // thrown away with its table
    EXPECT_FALSE(QFile::exists(index + u".tab"_s));
    desk.run({u"called"_s, u"040555"_s, u"CALL-2"_s, QTime(9, 1, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-2"_s), contactId(desk, u"Kraus"_s));
    desk.run({u"called"_s, u"0307654321"_s, u"CALL-3"_s, QTime(9, 2, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-3"_s), becker);
    desk.run({u"called"_s, u"0301234567"_s, u"CALL-4"_s, QTime(9, 3, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-4"_s), QString());

    // Deleted on the server.
    ASSERT_EQ(server->remove(home + u"book/kraus.vcf"_s) / 100, 2);
    desk.sync();
    desk.run({u"called"_s, u"040555"_s, u"CALL-5"_s, QTime(9, 4, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-5"_s), QString());
}

TEST_P(ServerCalls, AnAnsweredCallIsOnTheServerAsAJournalEntryAnotherClientReads) {
    Desktop desk(env.root() + u"desk/"_s);
    addAccount(desk);
    const QString id = u"5F3A9C21-0001-4B7E"_s;
    desk.run({u"called"_s, u"0301234567"_s, id, QTime(14, 3, 27)});
    desk.run({u"connect"_s, u"0301234567"_s, id, QTime(14, 3, 40)});
    // Synced while the call lasts (the viewer syncs soon after a change);
    // another program changes the entry on the server meanwhile, first only
    // by a property of its own, then by one of the entry's.
    desk.sync();
    const pim::FolderInfo journal =
        test::boundFolder(desk.store(), home + u"journal/"_s, u"VJOURNAL"_s);
    const QStringList hrefs = server->list(home + u"journal/"_s);
    ASSERT_EQ(hrefs.size(), 1);
    const auto changeOnServer = [&](const QByteArray& lines) {
        const QByteArray before = server->get(hrefs[0]);
        ASSERT_TRUE(before.contains("END:VJOURNAL"));
        ASSERT_EQ(server->put(hrefs[0],
                              QByteArray(before).replace("END:VJOURNAL",
                                                         QByteArray(lines + "END:VJOURNAL")),
                              "text/calendar") /
                      100,
                  2);
        desk.sync();
    };
    const pim::ItemRecord started = itemsOf(desk.store(), journal).value(0);
    changeOnServer("COMMENT:Rückruf vereinbart\r\n");
    const pim::ItemRecord untouched = itemsOf(desk.store(), journal).value(0);
    EXPECT_EQ(untouched.properties.value(u"Subject"_s).toString(),
              started.properties.value(u"Subject"_s).toString());
    EXPECT_EQ(untouched.htmlBody, started.htmlBody);
    changeOnServer("CATEGORIES:Rückruf\r\n");
    desk.run({u"finished"_s, u"0301234567"_s, id, QTime(14, 9, 2)});
    const QList<pim::ItemRecord> local = itemsOf(desk.store(), journal);
    ASSERT_EQ(local.size(), 1);
    const pim::ItemRecord& j = local[0];
    // The timer ran on through the syncs: 14:03:40 to 14:09:02.
    EXPECT_EQ(j.properties.value(u"Duration"_s).toInt(), 5);
    EXPECT_EQ(j.properties.value(u"Categories"_s), u"Rückruf"_s);
    desk.sync();

    const QList<Component> onServer = readCollection(home + u"journal/"_s);
    ASSERT_EQ(onServer.size(), 1);
    const Component& v = onServer[0];
    EXPECT_EQ(v.name(), u"VJOURNAL"_s);
    // The subject's trailing blank does not survive the server's change:
    // libical drops trailing blanks of the values it reads.
    EXPECT_EQ(v.value(u"SUMMARY"_s), u"Anruf von Becker, Thomas (Geschäftlich 0301234567):"_s);
    EXPECT_EQ(v.value(u"SUMMARY"_s), j.properties.value(u"Subject"_s).toString());
    EXPECT_EQ(v.value(u"CATEGORIES"_s), u"Rückruf"_s);
    EXPECT_EQ(v.value(u"DESCRIPTION"_s), QString(j.body).replace(u"\r\n"_s, u"\n"_s));
    EXPECT_TRUE(v.value(u"DESCRIPTION"_s).startsWith(u"Rufnummer:\t0301234567\n"_s));
    EXPECT_EQ(v.value(u"DTSTART"_s), utc(j.properties.value(u"Start"_s).toDateTime()));
    EXPECT_EQ(v.tellmarin(u"X-TELLMARIN-PROPERTY"_s, u"Duration"_s), u"5"_s);
    EXPECT_EQ(v.userProperty(u"CallNumber"_s), u"0301234567"_s);
    EXPECT_EQ(v.userProperty(u"PCALLID"_s), id);
    EXPECT_TRUE(
        v.userProperty(u"Tellmar"_s).contains(QRegularExpression(u"^\\d+\\.\\d+\\.\\d{4}$"_s)));
    // The contact as the server knows it, not as this desktop's store does.
    EXPECT_EQ(v.userProperty(u"CID"_s), u"becker-1"_s);
    EXPECT_EQ(v.values(u"X-TELLMARIN-LINK"_s), QStringList{u"becker-1"_s});
    EXPECT_FALSE(v.value(u"UID"_s).isEmpty());
    EXPECT_EQ(v.value(u"COMMENT"_s), u"Rückruf vereinbart"_s);

    // Settled: the next sync moves nothing either way.
    desk.enter();
    const sync::SyncRun again = sync::syncAccounts(desk.store());
    ASSERT_TRUE(again.ok());
    for (const sync::FolderReport& r : again.folders)
        EXPECT_EQ(r.pulledNew + r.pulledChanged + r.pushedNew + r.pushedChanged, 0)
            << r.line().toStdString();
}

TEST_P(ServerCalls, CalendarModeAndTheMenuEntriesGiveEventsAndTasksOnTheServer) {
    server->makeCollection(home + u"termine/"_s, u"Anruftermine"_s, {u"VEVENT"_s});
    Desktop desk(env.root() + u"desk/"_s);
    addAccount(desk);
    Store& store = desk.store();
    // The menu entries file into the default calendar and task folder: the
    // user binds those to calendars of their own.
    server->makeCollection(home + u"kalender/"_s, u"Kalender"_s, {u"VEVENT"_s});
    server->makeCollection(home + u"aufgaben/"_s, u"Aufgaben"_s, {u"VTODO"_s});
    const pim::FolderInfo calendar = store.defaultFolder(pim::defaultfolder::Calendar);
    const pim::FolderInfo tasks = store.defaultFolder(pim::defaultfolder::Tasks);
    sync::bind(store, calendar.folderPath, server->url(home + u"kalender/"_s), u"Büro"_s);
    sync::bind(store, tasks.folderPath, server->url(home + u"aufgaben/"_s), u"Büro"_s);
    const pim::FolderInfo calls = test::boundFolder(store, home + u"termine/"_s, u"VEVENT"_s);
    settingsstore::save(u"ModeCalendarJournal"_s, u"Calendar"_s);
    settingsstore::save(u"FolderCalendar"_s, test::folderReference(calls));

    desk.answeredCall(u"0301234567"_s, u"CALL-1"_s);
    desk.run({u"ctiwindow"_s, u"0301234567"_s, u"CALL-2"_s, QTime(15, 0, 0), u"2"_s, u"322"_s});
    desk.run({u"ctiwindow"_s, u"0301234567"_s, u"CALL-2"_s, QTime(15, 1, 0), u"4"_s, u"322"_s});
    ASSERT_EQ(store.drafts(calendar.entryId).size(), 1);
    ASSERT_EQ(store.drafts(tasks.entryId).size(), 1);
    desk.sync();
    // Items shown but not saved stay here.
    EXPECT_TRUE(server->list(home + u"kalender/"_s).isEmpty());
    EXPECT_TRUE(server->list(home + u"aufgaben/"_s).isEmpty());
    QList<Component> events = readCollection(home + u"termine/"_s);
    ASSERT_EQ(events.size(), 1);
    EXPECT_EQ(events[0].name(), u"VEVENT"_s);
    EXPECT_EQ(events[0].value(u"SUMMARY"_s),
              u"Anruf von Becker, Thomas (Geschäftlich 0301234567): "_s);
    EXPECT_EQ(events[0].value(u"LOCATION"_s), u"Telefon/Remote"_s);
    EXPECT_EQ(events[0].userProperty(u"PCALLID"_s), u"CALL-1"_s);
    EXPECT_EQ(events[0].userProperty(u"CID"_s), u"becker-1"_s);
    EXPECT_TRUE(events[0].components(u"VALARM"_s).isEmpty()); // no reminder for a call

    // The user saves the menu entries' items and sets a reminder on the
    // call's appointment.
    store.saveDraft(store.drafts(calendar.entryId)[0].entryId);
    store.saveDraft(store.drafts(tasks.entryId)[0].entryId);
    pim::ItemRecord appointment = itemsOf(store, calls)[0];
    appointment.properties[u"ReminderSet"_s] = true;
    appointment.properties[u"ReminderMinutesBeforeStart"_s] = 15;
    store.updateItem(appointment);
    desk.sync();

    events = readCollection(home + u"termine/"_s);
    ASSERT_EQ(events.size(), 1);
    const QList<Component> alarms = events[0].components(u"VALARM"_s);
    ASSERT_EQ(alarms.size(), 1);
    EXPECT_EQ(alarms[0].value(u"TRIGGER"_s), u"-PT15M"_s);
    EXPECT_EQ(alarms[0].value(u"ACTION"_s), u"DISPLAY"_s);

    const QList<Component> filed = readCollection(home + u"kalender/"_s);
    ASSERT_EQ(filed.size(), 1);
    EXPECT_EQ(filed[0].name(), u"VEVENT"_s);
    EXPECT_EQ(filed[0].userProperty(u"PCALLID"_s), u"CALL-2"_s);
    EXPECT_EQ(filed[0].value(u"LOCATION"_s), u"Telefon/Remote"_s);
    EXPECT_TRUE(filed[0].value(u"DESCRIPTION"_s).startsWith(u"Gesprächsdauer:\t"_s));
    const pim::ItemRecord filedHere = itemsOf(store, calendar)[0];
    EXPECT_EQ(filed[0].value(u"DTSTART"_s),
              utc(filedHere.properties.value(u"Start"_s).toDateTime()));
    EXPECT_EQ(filed[0].value(u"DTEND"_s), utc(filedHere.properties.value(u"End"_s).toDateTime()));

    const QList<Component> todos = readCollection(home + u"aufgaben/"_s);
    ASSERT_EQ(todos.size(), 1);
    EXPECT_EQ(todos[0].name(), u"VTODO"_s);
    EXPECT_EQ(todos[0].userProperty(u"PCALLID"_s), u"CALL-2"_s);
    const pim::ItemRecord task = itemsOf(store, tasks)[0];
    EXPECT_EQ(todos[0].value(u"DUE"_s),
              task.properties.value(u"DueDate"_s).toDate().toString(u"yyyyMMdd"_s));
    const QList<Component> reminder = todos[0].components(u"VALARM"_s);
    ASSERT_EQ(reminder.size(), 1);
    EXPECT_EQ(reminder[0].value(u"TRIGGER"_s),
              utc(task.properties.value(u"ReminderTime"_s).toDateTime()));
}

// Two desktops on one address book and journal.
TEST_P(ServerCalls, WhatOneDesktopAddsTheOtherFindsAndEachCallIsJournaledOnce) {
    Desktop a(env.root() + u"a/"_s), b(env.root() + u"b/"_s);
    addAccount(a);
    addAccount(b);
    const pim::FolderInfo bookA = test::boundFolder(a.store(), home + u"book/"_s);
    pim::ItemRecord adler;
    adler.messageClass = u"IPM.Contact"_s;
    adler.properties = {{u"FirstName"_s, u"Anna"_s},
                        {u"LastName"_s, u"Adler"_s},
                        {u"BusinessTelephoneNumber"_s, u"+49 30 111"_s}};
    const QString adlerOnA = a.store().addItem(bookA.entryId, adler);
    // A journals a call of the new contact before its first sync; both
    // desktops journal a call of Becker.
    a.answeredCall(u"030111"_s, u"CALL-1"_s);
    EXPECT_EQ(a.foundContact(u"CALL-1"_s), adlerOnA);
    a.answeredCall(u"0301234567"_s, u"CALL-2"_s);
    b.answeredCall(u"0301234567"_s, u"CALL-2"_s);
    for (int round = 0; round < 2; ++round) {
        a.sync();
        b.sync();
    }

    b.run({u"called"_s, u"030111"_s, u"CALL-3"_s, QTime(15, 0, 0)});
    const QString adlerOnB = contactId(b, u"Adler"_s);
    ASSERT_FALSE(adlerOnB.isEmpty());
    EXPECT_EQ(b.foundContact(u"CALL-3"_s), adlerOnB);

    // Each desktop's entry once on the server and on both desktops.
    const QList<Component> onServer = readCollection(home + u"journal/"_s);
    EXPECT_EQ(onServer.size(), 3);
    QString adlerUid;
    for (const Component& card : readCollection(home + u"book/"_s))
        if (card.value(u"N"_s).startsWith(u"Adler;"_s))
            adlerUid = card.value(u"UID"_s);
    ASSERT_FALSE(adlerUid.isEmpty());
    for (const Component& v : onServer) {
        if (v.userProperty(u"PCALLID"_s) == u"CALL-1"_s) {
            EXPECT_EQ(v.userProperty(u"CID"_s), adlerUid);
        }
    }
    for (const Desktop* d : {&a, &b}) {
        const QList<pim::ItemRecord> entries =
            itemsOf(d->store(), test::boundFolder(d->store(), home + u"journal/"_s, u"VJOURNAL"_s));
        EXPECT_EQ(entries.size(), 3);
        // Links and CID name each desktop's own copy of the contact.
        const QString own = d == &a ? adlerOnA : adlerOnB;
        for (const pim::ItemRecord& e : entries) {
            if (e.userProperties.contains(pim::UserProperty{u"PCALLID"_s, u"CALL-1"_s})) {
                EXPECT_EQ(e.links, QStringList{own});
            }
        }
    }

    // The entry "...als Journaleintrag" of B finds A's entry of the call by
    // its PCALLID instead of filing a second one.
    b.run({u"ctiwindow"_s, u"030111"_s, u"CALL-1"_s, QTime(15, 5, 0), u"5"_s});
    EXPECT_TRUE(b.callLog(u"CALL-1"_s).contains(u"...gefunden und anzeigen"_s));
    const pim::FolderInfo journalB =
        test::boundFolder(b.store(), home + u"journal/"_s, u"VJOURNAL"_s);
    EXPECT_TRUE(b.store().drafts(journalB.entryId).isEmpty());
    EXPECT_TRUE(
        b.store().drafts(b.store().defaultFolder(pim::defaultfolder::Journal).entryId).isEmpty());
    b.sync();
    a.sync();
    EXPECT_EQ(server->list(home + u"journal/"_s).size(), 3);
    EXPECT_EQ(server->list(home + u"book/"_s).size(), 2);
}

// With the company search on, the company numbers beside the index go with
// it when a sync changed contacts, and the next call finds the new company.
TEST_P(ServerCalls, ASyncThatChangedContactsDiscardsTheCompanyNumbersWithTheIndex) {
    Desktop desk(env.root() + u"desk/"_s);
    addAccount(desk);
    settingsstore::save(u"CompanyFallback"_s, u"1"_s);
    desk.run({u"called"_s, u"04077712"_s, u"CALL-1"_s, QTime(9, 0, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-1"_s), QString());
    const QString companies =
        desk.workFolder() + u"tlm"_s + QDate::currentDate().toString(u"yyyyMMdd"_s) + u".zen"_s;
    EXPECT_TRUE(QFile::exists(companies));

    ASSERT_EQ(server->put(home + u"book/kontor.vcf"_s,
                          test::vcard(u"kontor-1"_s, u"Kontor"_s, u"+49 40 777-0"_s),
                          "text/vcard"),
              201);
    desk.sync();
    EXPECT_FALSE(QFile::exists(companies));
    desk.run({u"called"_s, u"04077712"_s, u"CALL-2"_s, QTime(9, 1, 0)});
    EXPECT_EQ(desk.foundContact(u"CALL-2"_s), contactId(desk, u"Kontor"_s));
}

INSTANTIATE_TEST_SUITE_P(Servers, ServerCalls,
                         ::testing::Values(DavServer::Kind::Radicale, DavServer::Kind::Xandikos),
                         test::serverName);
