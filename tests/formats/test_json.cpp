// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The JSON form of the whole store: a dump loaded into a new store dumps the
// same bytes; bad documents name file and line and change nothing.
#include "formats/json.h"
#include "formats/jsonpieces.h"
#include "store/pimstore.h"

#include "platform/error.h"
#include "tests/support/testenv.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::pim {
namespace {

// A store with a bit of everything: contacts, a journal entry with user
// properties, a link, both bodies, an open window and a running timer, a
// task, a mail draft, a nested folder and a second store with a read-only
// folder, and changed options.
void fill(Store& store) {
    ItemRecord contact;
    contact.properties = {{u"FirstName"_s, u"Anna"_s},
                          {u"LastName"_s, u"Schneider"_s},
                          {u"BusinessTelephoneNumber"_s, u"+49 (30) 1234-567"_s},
                          {u"Journal"_s, true},
                          {u"Birthday"_s, QDateTime(QDate(1980, 2, 29), QTime(0, 0))}};
    contact.body = u"Notiz mit \"Anführungszeichen\"\r\nund Umlauten äöü"_s;
    const QString contactId =
        store.addItem(store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId, contact);

    ItemRecord journal;
    journal.messageClass = u"IPM.Activity"_s;
    journal.properties = {{u"Subject"_s, u"Anruf von Anna Schneider"_s},
                          {u"Start"_s, QDateTime(QDate(2024, 5, 2), QTime(10, 15, 0, 250))},
                          {u"Duration"_s, 12},
                          {u"Type"_s, u"Telefonanruf"_s}};
    journal.userProperties = {{u"PCALLID"_s, u"4711-0815"_s}, {u"CallNumber"_s, u"03012345678"_s}};
    journal.links = {contactId};
    journal.body = u"Text"_s;
    journal.htmlBody = u"<html><body><b>Text</b></body></html>"_s;
    journal.inspector = {true, true, 2, 100, 200, 640, 480};
    journal.timerStarted = QDateTime(QDate(2024, 5, 2), QTime(10, 15, 0));
    store.addItem(store.defaultFolder(tlm::pim::defaultfolder::Journal).entryId, journal);

    ItemRecord task;
    task.properties = {{u"Subject"_s, u"Rückruf"_s}, {u"ReminderSet"_s, true}};
    store.addItem(store.defaultFolder(tlm::pim::defaultfolder::Tasks).entryId, task);

    const FolderInfo sub =
        store.addFolder(QString(), store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId,
                        u"Kunden"_s, FolderKind::Contact);
    store.addItem(sub.entryId, ItemRecord{});
    const StoreInfo archive = store.addStore(u"Archiv"_s);
    store.addFolder(archive.storeId, QString(), u"Alt"_s, FolderKind::Calendar, true);

    ItemRecord draft;
    draft.properties = {{u"Subject"_s, u"Ihr Anruf"_s}};
    draft.unsaved = true;
    store.addItem(store.defaultFolder(tlm::pim::defaultfolder::Drafts).entryId, draft);
    store.setEditorType(1);
    store.setOutlookVersion(u"15.0.0.0"_s);
}

QString loadError(Store& store, const QByteArray& data) {
    try {
        json::load(store, data, u"abzug.json"_s);
    } catch (const Error& e) {
        return e.description();
    }
    return {};
}

TEST(PimJson, DumpLoadedIntoNewStoreDumpsTheSameBytes) {
    test::TestEnv env;
    Store first(env.root() + u"a.sqlite"_s);
    fill(first);
    const QByteArray dump = json::dump(first);

    Store second(env.root() + u"b.sqlite"_s, Store::Create::Empty);
    json::load(second, dump, u"abzug.json"_s);
    EXPECT_EQ(json::dump(second), dump);

    // What was loaded is really there, not only echoed.
    const FolderInfo journalFolder = second.defaultFolder(tlm::pim::defaultfolder::Journal);
    const QList<ItemRecord> items = second.items(journalFolder.entryId);
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items.first().userProperties.first().value, u"4711-0815"_s);
    EXPECT_TRUE(items.first().inspector.active);
    EXPECT_EQ(items.first().timerStarted, QDateTime(QDate(2024, 5, 2), QTime(10, 15)));
    EXPECT_EQ(items.first().properties.value(u"Start"_s).toDateTime().time().msec(), 250);
    EXPECT_EQ(second.editorType(), 1);
    EXPECT_EQ(second.folderByPath(u"\\\\Archiv\\Alt"_s).kind, FolderKind::Calendar);
    EXPECT_TRUE(second.folderByPath(u"\\\\Archiv\\Alt"_s).readOnly);
    const QString drafts = second.defaultFolder(tlm::pim::defaultfolder::Drafts).entryId;
    EXPECT_TRUE(second.items(drafts).isEmpty());
    ASSERT_EQ(second.drafts(drafts).size(), 1);
    EXPECT_TRUE(second.drafts(drafts).first().unsaved);
}

TEST(PimJson, DumpHasTheDocumentedShape) {
    test::TestEnv env;
    Store store(env.pimPath());
    fill(store);
    const QByteArray dump = json::dump(store);
    // Written item by item, yet byte for byte as QJsonDocument indents it.
    EXPECT_EQ(QJsonDocument::fromJson(dump).toJson(QJsonDocument::Indented), dump);
    const QJsonObject root = QJsonDocument::fromJson(dump).object();
    EXPECT_EQ(root.value(u"format"_s).toString(), u"tellmarin-pim"_s);
    EXPECT_EQ(root.value(u"version"_s).toInt(), 1);
    EXPECT_EQ(root.value(u"options"_s).toObject().value(u"EditorType"_s).toString(), u"1"_s);
    const QJsonObject contacts = root.value(u"folders"_s).toArray().first().toObject();
    EXPECT_EQ(contacts.value(u"path"_s).toString(), u"\\\\Persönliche Ordner\\Kontakte"_s);
    EXPECT_EQ(contacts.value(u"kind"_s).toString(), u"contact"_s);
    EXPECT_EQ(contacts.value(u"default"_s).toInt(), 10);
    const QJsonObject anna = contacts.value(u"items"_s).toArray().first().toObject();
    EXPECT_EQ(anna.value(u"class"_s).toString(), u"IPM.Contact"_s);
    const QJsonObject props = anna.value(u"properties"_s).toObject();
    EXPECT_EQ(props.value(u"Journal"_s), QJsonValue(true));
    EXPECT_EQ(props.value(u"Birthday"_s).toString(), u"1980-02-29T00:00:00"_s);
    EXPECT_FALSE(props.contains(u"FullName"_s)); // computed, never stored
    EXPECT_FALSE(anna.contains(u"inspector"_s)); // defaults are left out
    EXPECT_FALSE(anna.contains(u"unsaved"_s));
    EXPECT_FALSE(contacts.contains(u"readOnly"_s));
    for (const QJsonValue& f : root.value(u"folders"_s).toArray()) {
        const QJsonObject folder = f.toObject();
        if (folder.value(u"name"_s) == u"Entwürfe"_s) {
            EXPECT_EQ(folder.value(u"items"_s)[0][u"unsaved"_s], QJsonValue(true));
        }
        if (folder.value(u"name"_s) == u"Alt"_s) {
            EXPECT_EQ(folder.value(u"readOnly"_s), QJsonValue(true));
        }
    }
}

TEST(PimJson, BadDocumentsNameTheLineAndChangeNothing) {
    test::TestEnv env;
    Store source(env.root() + u"a.sqlite"_s);
    fill(source);
    const QByteArray dump = json::dump(source);
    Store target(env.root() + u"b.sqlite"_s, Store::Create::Empty);

    // A syntax error: the comma after a property is missing.
    QByteArray broken = dump;
    const qsizetype at = broken.indexOf("\"FirstName\": \"Anna\",");
    broken.remove(at + qsizetype(qstrlen("\"FirstName\": \"Anna\"")), 1);
    const int syntaxLine = int(broken.left(at).count('\n')) + 2;
    EXPECT_TRUE(loadError(target, broken)
                    .startsWith(u"abzug.json:"_s + QString::number(syntaxLine) + u": "_s));

    // A property that items of that class do not have, late in the document:
    // nothing before it may remain.
    QByteArray unknown = dump;
    const qsizetype subject = unknown.indexOf("\"Subject\": \"Rückruf\"");
    unknown.replace(subject, 9, "\"Gehalt\"");
    const int unknownLine = int(unknown.left(subject).count('\n')) + 1;
    const QString message = loadError(target, unknown);
    EXPECT_TRUE(message.startsWith(u"abzug.json:"_s + QString::number(unknownLine) + u": "_s))
        << message.toStdString();
    EXPECT_TRUE(message.contains(u"Gehalt"_s));

    // A value the store cannot take (a date that is none).
    QByteArray badDate = dump;
    badDate.replace("\"1980-02-29T00:00:00\"", "\"im Februar\"");
    const int dateLine = int(badDate.left(badDate.indexOf("im Februar")).count('\n')) + 1;
    EXPECT_TRUE(loadError(target, badDate)
                    .startsWith(u"abzug.json:"_s + QString::number(dateLine) + u": "_s));

    // A duplicate EntryID fails in the store, after other items went in.
    QByteArray duplicate = dump;
    const QJsonObject root = QJsonDocument::fromJson(dump).object();
    const QString firstItem = root.value(u"folders"_s)[0][u"items"_s][0][u"EntryID"_s].toString();
    QString taskItem;
    for (const QJsonValue folder : root.value(u"folders"_s).toArray())
        if (folder[u"kind"_s].toString() == u"task"_s)
            taskItem = folder[u"items"_s][0][u"EntryID"_s].toString();
    ASSERT_FALSE(taskItem.isEmpty());
    duplicate.replace(taskItem.toUtf8(), firstItem.toUtf8());
    EXPECT_TRUE(loadError(target, duplicate).startsWith(u"abzug.json:"_s));

    EXPECT_TRUE(loadError(target, "[]").startsWith(u"abzug.json:1: "_s));
    EXPECT_TRUE(target.stores().isEmpty());
    EXPECT_TRUE(target.folders().isEmpty());

    // A store that already holds something is not loaded into.
    EXPECT_FALSE(loadError(source, dump).isEmpty());
    EXPECT_EQ(json::dump(source), dump);
}

TEST(PimJson, MistypedValuesAndBadFolderIdentitiesAreRefused) {
    test::TestEnv env;
    Store source(env.root() + u"a.sqlite"_s);
    fill(source);
    const QByteArray dump = json::dump(source);
    const QJsonObject root = QJsonDocument::fromJson(dump).object();
    const QString contactsId = root.value(u"folders"_s)[0][u"EntryID"_s].toString();
    struct Case {
        QByteArray from, to, path;
    } cases[] = {
        {"\"FirstName\": \"Anna\"", "\"FirstName\": 17", "properties.FirstName"},
        {"\"FirstName\": \"Anna\"", "\"FirstName\": true", "properties.FirstName"},
        {"\"Journal\": true", "\"Journal\": 1", "properties.Journal"},
        {"\"Duration\": 12", "\"Duration\": \"12\"", "properties.Duration"},
        {"\"default\": 13", "\"default\": 12", ".default"},
        {"\"default\": 13", "\"default\": 10", ".default"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.to.toStdString());
        QByteArray bad = dump;
        ASSERT_TRUE(bad.contains(c.from));
        bad.replace(c.from, c.to);
        Store target(env.root() + u"b.sqlite"_s, Store::Create::Empty);
        const QString message = loadError(target, bad);
        const int line = int(bad.left(bad.lastIndexOf(c.to)).count('\n')) + 1;
        EXPECT_TRUE(message.startsWith(u"abzug.json:"_s + QString::number(line) + u": "_s))
            << message.toStdString();
        EXPECT_TRUE(message.contains(QString::fromLatin1(c.path))) << message.toStdString();
        EXPECT_TRUE(target.stores().isEmpty());
    }
    // an item that takes a folder's EntryID
    QByteArray clash = dump;
    const QString taskItem = [&] {
        for (const QJsonValue folder : root.value(u"folders"_s).toArray())
            if (folder[u"kind"_s].toString() == u"task"_s)
                return folder[u"items"_s][0][u"EntryID"_s].toString();
        return QString();
    }();
    clash.replace(taskItem.toUtf8(), contactsId.toUtf8());
    Store target(env.root() + u"c.sqlite"_s, Store::Create::Empty);
    const QString message = loadError(target, clash);
    EXPECT_TRUE(message.contains(u"items[0].EntryID: die EntryID eines Ordners"_s))
        << message.toStdString();
    EXPECT_TRUE(target.folders().isEmpty());
}

// The document is read in blocks, value by value: faults between the values
// (a missing comma between items, a cut-off end, a member twice, garbage
// after the end, a value too large to hold) name their line as well.
TEST(PimJson, FaultsBetweenValuesNameTheirLine) {
    test::TestEnv env;
    Store source(env.root() + u"a.sqlite"_s);
    fill(source);
    const QByteArray dump = json::dump(source);
    const auto lineAt = [](const QByteArray& text, qsizetype at) -> QString {
        return u"abzug.json:"_s + QString::number(text.left(at).count('\n') + 1) + u": "_s;
    };
    Store target(env.root() + u"b.sqlite"_s, Store::Create::Empty);

    QByteArray noComma = dump;
    const qsizetype between = noComma.indexOf("},\n", noComma.indexOf("\"items\""));
    noComma.remove(between + 1, 1);
    const qsizetype next = noComma.indexOf('{', between + 1);
    EXPECT_TRUE(loadError(target, noComma).startsWith(lineAt(noComma, next)))
        << loadError(target, noComma).toStdString();

    const QByteArray cut = dump.left(dump.indexOf("\"Rückruf\""));
    EXPECT_TRUE(loadError(target, cut).contains(u"kein gültiges JSON"_s));

    QByteArray twice = dump;
    twice.replace("\"version\": 1", "\"version\": 1,\n    \"format\": \"x\"");
    EXPECT_TRUE(loadError(target, twice).startsWith(lineAt(twice, twice.indexOf("\"x\""))));

    for (const QByteArray& after : {QByteArray("\n\n]"), QByteArray("\n\n\0", 3)}) {
        const QByteArray garbage = dump + after;
        EXPECT_TRUE(loadError(target, garbage).startsWith(lineAt(garbage, garbage.size() - 1)));
    }

    QByteArray huge = dump;
    const QByteArray body = "\"body\": \"" + QByteArray(json::MaxPieceSize + 1, 'x') + '"';
    huge.replace("\"body\": \"Text\"", body);
    EXPECT_TRUE(loadError(target, huge).contains(u"ein Wert über 16 MiB"_s));

    QJsonObject root = QJsonDocument::fromJson(dump).object();
    QJsonArray folders = root.value(u"folders"_s).toArray();
    QJsonObject first = folders.first().toObject();
    first.insert(u"items"_s, 5);
    folders.replace(0, first);
    root.insert(u"folders"_s, folders);
    const QByteArray notAList = QJsonDocument(root).toJson();
    EXPECT_TRUE(loadError(target, notAList).contains(u"folders[0].items: eine Liste erwartet"_s))
        << loadError(target, notAList).toStdString();

    EXPECT_TRUE(target.stores().isEmpty());
}

TEST(PimJson, LineOfFindsNestedValuesAndFallsBackToTheParent) {
    const QByteArray text = "{\n"
                            "  \"a\": [\n"
                            "    {\"b\": 1},\n"
                            "    {\n"
                            "      \"b\": \"x\\\"y\",\n"
                            "      \"c\": {\"d\": [1, 2]}\n"
                            "    }\n"
                            "  ]\n"
                            "}\n";
    EXPECT_EQ(json::lineOf(text, QString()), 1);
    EXPECT_EQ(json::lineOf(text, u"a"_s), 2);
    EXPECT_EQ(json::lineOf(text, u"a[0].b"_s), 3);
    EXPECT_EQ(json::lineOf(text, u"a[1]"_s), 4);
    EXPECT_EQ(json::lineOf(text, u"a[1].b"_s), 5);
    EXPECT_EQ(json::lineOf(text, u"a[1].c.d[1]"_s), 6);
    EXPECT_EQ(json::lineOf(text, u"a[1].missing"_s), 4);
    EXPECT_EQ(json::lineOf(text, u"a[7]"_s), 2);
}

} // namespace
} // namespace tlm::pim
