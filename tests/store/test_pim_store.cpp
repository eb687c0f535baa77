// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The raw store: folders, identifiers, records, transactions, options.
#include "outlook/application.h"
#include "platform/error.h"
#include "store/pimstore.h"
#include "store/sqlite.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::pim;

namespace {

bool isHexId(const QString& id) {
    static const QRegularExpression re(u"^[0-9A-F]{2,140}$"_s);
    return re.match(id).hasMatch();
}

TEST(PimStore, NewStoreHasTheGermanDefaultFolders) {
    tlm::test::TestEnv env;
    Store store;
    EXPECT_EQ(store.path(), env.pimPath());
    ASSERT_EQ(store.stores().size(), 1);
    EXPECT_EQ(store.stores()[0].name, u"Persönliche Ordner"_s);
    QStringList paths;
    for (const FolderInfo& f : store.folders())
        paths << f.folderPath;
    EXPECT_EQ(paths,
              (QStringList{
                  u"\\\\Persönliche Ordner\\Kontakte"_s, u"\\\\Persönliche Ordner\\Kalender"_s,
                  u"\\\\Persönliche Ordner\\Journal"_s, u"\\\\Persönliche Ordner\\Aufgaben"_s,
                  u"\\\\Persönliche Ordner\\Posteingang"_s, u"\\\\Persönliche Ordner\\Entwürfe"_s,
                  u"\\\\Persönliche Ordner\\Gelöschte Elemente"_s}));
    EXPECT_EQ(store.defaultFolder(tlm::pim::defaultfolder::Contacts).kind, FolderKind::Contact);
    EXPECT_EQ(store.defaultFolder(tlm::pim::defaultfolder::Journal).name, u"Journal"_s);
    EXPECT_EQ(store.defaultFolder(tlm::pim::defaultfolder::DeletedItems).name,
              u"Gelöschte Elemente"_s);
    EXPECT_EQ(store.option(OptionEditorType), u"4"_s);
    EXPECT_TRUE(store.outlookVersion().startsWith(u"16.0."_s));
    // Opening again neither duplicates nor changes anything.
    const QList<FolderInfo> before = store.folders();
    Store again;
    EXPECT_EQ(again.folders().size(), before.size());
    EXPECT_EQ(again.folders()[0].entryId, before[0].entryId);
}

TEST(PimStore, NestedFoldersAndSecondStoreHaveOutlookPaths) {
    tlm::test::TestEnv env;
    Store store;
    const FolderInfo contacts = store.defaultFolder(tlm::pim::defaultfolder::Contacts);
    const FolderInfo customers =
        store.addFolder(QString(), contacts.entryId, u"Kunden"_s, FolderKind::Contact);
    const FolderInfo north =
        store.addFolder(QString(), customers.entryId, u"Nord"_s, FolderKind::Contact);
    EXPECT_EQ(north.folderPath, u"\\\\Persönliche Ordner\\Kontakte\\Kunden\\Nord"_s);
    EXPECT_EQ(north.storeId, contacts.storeId);

    const StoreInfo archive = store.addStore(u"Archiv 2025"_s);
    const FolderInfo old =
        store.addFolder(archive.storeId, QString(), u"Kontakte"_s, FolderKind::Contact);
    EXPECT_EQ(old.folderPath, u"\\\\Archiv 2025\\Kontakte"_s);
    EXPECT_EQ(store.folderByPath(u"\\\\archiv 2025\\kontakte"_s).entryId, old.entryId);
    // The default folders stay those of the first store.
    EXPECT_EQ(store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId, contacts.entryId);

    // Identifiers: uppercase hex, at most 140 characters, unique across stores.
    QSet<QString> seen;
    for (const FolderInfo& f : store.folders()) {
        EXPECT_TRUE(isHexId(f.entryId)) << f.entryId.toStdString();
        EXPECT_TRUE(isHexId(f.storeId)) << f.storeId.toStdString();
        EXPECT_FALSE(seen.contains(f.entryId));
        seen.insert(f.entryId);
    }
    EXPECT_NE(old.storeId, contacts.storeId);

    EXPECT_THROW(store.addFolder(QString(), contacts.entryId, u"kunden"_s, FolderKind::Contact),
                 tlm::Error);
    EXPECT_THROW(store.addFolder(QString(), contacts.entryId, u"a\\b"_s, FolderKind::Contact),
                 tlm::Error);
    EXPECT_THROW(store.folderByPath(u"\\\\Persönliche Ordner\\Fehlt"_s), tlm::Error);
}

TEST(PimStore, RecordRoundTripKeepsTypesUserPropertiesLinksAndWindow) {
    tlm::test::TestEnv env;
    Store store;
    ItemRecord contact;
    contact.properties = {{u"firstname"_s, u"Jörg"_s},
                          {u"LastName"_s, u"Müller-Lüdenscheidt"_s},
                          {u"CarTelephonenumber"_s, u"0171 1234567"_s},
                          {u"Journal"_s, u"true"_s},
                          {u"Birthday"_s, u"1970-05-17"_s},
                          {u"BusinessAddress"_s, u"Hauptstr. 1\r\n10115 Berlin\r\nDeutschland"_s}};
    const QString contactId =
        store.addItem(store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId, contact);

    const ItemRecord c = store.item(contactId);
    EXPECT_EQ(c.messageClass, u"IPM.Contact"_s);
    EXPECT_EQ(c.properties.value(u"FirstName"_s).toString(), u"Jörg"_s);
    EXPECT_EQ(c.properties.value(u"CarTelephoneNumber"_s).toString(), u"0171 1234567"_s);
    EXPECT_EQ(c.properties.value(u"Journal"_s).typeId(), QMetaType::Bool);
    EXPECT_TRUE(c.properties.value(u"Journal"_s).toBool());
    EXPECT_EQ(c.properties.value(u"Birthday"_s).toDateTime().date(), QDate(1970, 5, 17));
    EXPECT_EQ(c.properties.value(u"BusinessAddressStreet"_s).toString(), u"Hauptstr. 1"_s);
    EXPECT_EQ(c.properties.value(u"BusinessAddressPostalCode"_s).toString(), u"10115"_s);
    EXPECT_EQ(c.properties.value(u"BusinessAddressCity"_s).toString(), u"Berlin"_s);
    EXPECT_EQ(c.properties.value(u"BusinessAddressCountry"_s).toString(), u"Deutschland"_s);
    EXPECT_FALSE(c.properties.contains(u"BusinessAddress"_s)); // computed, never stored
    EXPECT_TRUE(c.properties.value(u"CreationTime"_s).toDateTime().isValid());

    ItemRecord journal;
    journal.entryId = u"00AB12"_s;
    journal.folderId = store.defaultFolder(tlm::pim::defaultfolder::Journal).entryId;
    journal.properties = {{u"Subject"_s, u"Anruf von Jörg"_s}, {u"Duration"_s, 7}};
    journal.userProperties = {{u"PCALLID"_s, u"4711"_s}, {u"CallNumber"_s, u"030123"_s}};
    journal.links = {contactId};
    journal.body = u"Zeile 1\r\nZeile 2"_s;
    journal.htmlBody = u"<p>Zeile 1</p>"_s;
    journal.inspector = {true, true, 0, 10, 20, 300, 400};
    journal.timerStarted = QDateTime(QDate(2026, 12, 5), QTime(14, 30));
    store.insertItem(journal);

    const ItemRecord j = store.item(u"00AB12"_s);
    EXPECT_EQ(j.properties.value(u"Duration"_s).toInt(), 7);
    EXPECT_EQ(j.userProperties, journal.userProperties);
    EXPECT_EQ(j.links, journal.links);
    EXPECT_EQ(j.body, journal.body);
    EXPECT_EQ(j.htmlBody, journal.htmlBody);
    EXPECT_EQ(j.inspector, journal.inspector);
    EXPECT_EQ(j.timerStarted, journal.timerStarted);
    EXPECT_EQ(store.itemIds(journal.folderId), QStringList{u"00AB12"_s});

    EXPECT_THROW(store.insertItem(journal), tlm::Error); // EntryID taken
    journal.entryId = u"not-hex"_s;
    EXPECT_THROW(store.insertItem(journal), tlm::Error);
    EXPECT_THROW(store.item(u"0123"_s), tlm::Error);
}

TEST(PimStore, BadInputRaisesAndLeavesTheStoreUnchanged) {
    tlm::test::TestEnv env;
    Store store;
    const QString folder = store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId;
    ItemRecord bad;
    bad.properties = {{u"Shoesize"_s, u"44"_s}};
    try {
        store.addItem(folder, bad);
        FAIL() << "unknown property accepted";
    } catch (const tlm::Error& e) {
        EXPECT_EQ(e.number(), UnknownProperty);
        EXPECT_TRUE(e.description().contains(u"Shoesize"_s));
    }
    bad.properties = {{u"Journal"_s, u"vielleicht"_s}};
    EXPECT_THROW(store.addItem(folder, bad), tlm::Error);
    // A journal property on a contact is unknown there.
    bad.properties = {{u"Duration"_s, 3}};
    EXPECT_THROW(store.addItem(folder, bad), tlm::Error);

    ItemRecord good;
    good.properties = {{u"LastName"_s, u"Gut"_s}};
    EXPECT_THROW(store.transaction([&] {
        store.addItem(folder, good);
        store.addFolder(store.stores()[0].storeId, QString(), u"Neu"_s, FolderKind::Other);
        store.addItem(folder, bad);
    }),
                 tlm::Error);
    EXPECT_TRUE(store.itemIds(folder).isEmpty());
    EXPECT_EQ(store.folders().size(), 7);

    store.transaction([&] {
        store.addItem(folder, good);
        store.addItem(folder, good);
    });
    EXPECT_EQ(store.itemIds(folder).size(), 2);
}

TEST(PimStore, OptionsPersist) {
    tlm::test::TestEnv env;
    {
        Store store;
        store.setEditorType(1);
        store.setOutlookVersion(u"14.0.0.7015"_s);
        EXPECT_THROW(store.setEditorType(7), tlm::Error);
    }
    Store store;
    EXPECT_EQ(store.editorType(), 1);
    EXPECT_EQ(store.outlookVersion(), u"14.0.0.7015"_s);
    EXPECT_EQ(store.options().value(OptionEditorType), u"1"_s);
}

TEST(PimStore, EmptyStoreAndMissingOrBrokenFiles) {
    tlm::test::TestEnv env;
    const QString path = env.root() + u"sub/dir/empty.sqlite"_s;
    {
        Store empty(path, Store::Create::Empty);
        EXPECT_TRUE(empty.stores().isEmpty());
        EXPECT_TRUE(empty.folders().isEmpty());
        EXPECT_THROW(empty.defaultFolder(tlm::pim::defaultfolder::Contacts), tlm::Error);
        StoreInfo s{u"0011AA"_s, u"Persönliche Ordner"_s};
        empty.insertStore(s);
        FolderInfo f;
        f.entryId = u"00FF"_s;
        f.storeId = s.storeId;
        f.name = u"Kontakte"_s;
        f.kind = FolderKind::Contact;
        f.defaultFor = tlm::pim::defaultfolder::Contacts;
        empty.insertFolder(f);
        EXPECT_EQ(empty.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId, u"00FF"_s);
    }
    try {
        Store missing(env.root() + u"missing.sqlite"_s, Store::Create::Never);
        FAIL();
    } catch (const tlm::Error& e) {
        EXPECT_EQ(e.number(), 53);
    }
    QFile junk(env.root() + u"junk.sqlite"_s);
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(4096, 'x'));
    junk.close();
    EXPECT_THROW(Store(junk.fileName()), tlm::Error);
}

// The store opens only files that are stores of this program: another
// program's database and an empty file are refused and stay as they were.
class PimStoreFile : public ::testing::Test {
protected:
    tlm::test::TestEnv env;

    QString foreignDatabase() const {
        const QString path = env.root() + u"fremd.sqlite"_s;
        tlm::pim::sql::Db db;
        db.open(path, true);
        db.exec("CREATE TABLE kunden(name TEXT); INSERT INTO kunden VALUES('Becker');");
        return path;
    }
    static qint64 pragma(const QString& path, const char* name) {
        tlm::pim::sql::Db db;
        db.open(path, false);
        tlm::pim::sql::Stmt q(db, name);
        q.step();
        return q.number(0);
    }
};

TEST_F(PimStoreFile, ForeignAndEmptyFilesAreRefusedUnchanged) {
    const QString empty = env.root() + u"leer.sqlite"_s;
    QFile(empty).open(QIODevice::WriteOnly);
    for (const QString& path : {foreignDatabase(), empty}) {
        const QByteArray before = tlm::test::readBytes(path);
        try {
            Store store(path, Store::Create::Never);
            ADD_FAILURE() << path.toStdString();
        } catch (const tlm::Error& e) {
            EXPECT_EQ(e.number(), StoreUnavailable);
            EXPECT_TRUE(e.description().contains(u"ist kein PIM-Speicher von Tellmarin"_s));
        }
        EXPECT_EQ(tlm::test::readBytes(path), before);
        EXPECT_FALSE(QFile::exists(path + u"-wal"_s));
    }
    // Making a store refuses another program's database too.
    EXPECT_THROW(Store(foreignDatabase(), Store::Create::WithDefaults), tlm::Error);
    EXPECT_EQ(pragma(env.root() + u"fremd.sqlite"_s,
                     "SELECT count(*) FROM sqlite_master WHERE name = 'items'"),
              0);
    // An empty file can be made a store on purpose.
    EXPECT_EQ(Store(empty, Store::Create::WithDefaults).folders().size(), 7);
}

TEST_F(PimStoreFile, StoreOfAnEarlierVersionOpensAndIsMarked) {
    { Store made(env.pimPath()); }
    const qint64 mark = pragma(env.pimPath(), "PRAGMA application_id");
    EXPECT_NE(mark, 0);
    {
        tlm::pim::sql::Db db;
        db.open(env.pimPath(), false);
        db.exec("PRAGMA application_id = 0; PRAGMA user_version = 1");
    }
    EXPECT_EQ(Store(env.pimPath(), Store::Create::Never).folders().size(), 7);
    EXPECT_EQ(pragma(env.pimPath(), "PRAGMA application_id"), mark);
    EXPECT_EQ(pragma(env.pimPath(), "PRAGMA user_version"), 3);
}

TEST_F(PimStoreFile, AttachingToNoStoreIsOutlookOutOfReach) {
    for (const QString& path : {foreignDatabase(), QString(env.root() + u"fehlt.sqlite"_s)}) {
        try {
            tlm::outlook::attach(path);
            ADD_FAILURE() << path.toStdString();
        } catch (const tlm::Error& e) {
            EXPECT_EQ(e.number(), tlm::err::CannotCreateObject);
        }
    }
    EXPECT_FALSE(QFile::exists(env.root() + u"fehlt.sqlite"_s));
}

} // namespace
