// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// tellmarin-pim: the commands, the sample address book, and bad input that
// must leave the store as it was.
#include "formats/json.h"
#include "pimtool/tool.h"
#include "store/pimstore.h"
#include "store/sqlite.h"
#include "store/storeimpl.h"

#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

#include <gtest/gtest.h>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace tlm::pim {
namespace {

QString sampleFile() {
    return QStringLiteral(TM_SAMPLE_CONTACTS);
}

struct ToolRun {
    int code = -1;
    QString out;
    QString err;
};

ToolRun pim(const QStringList& args) {
    ToolRun r;
    QTextStream out(&r.out);
    QTextStream err(&r.err);
    r.code = tool::run(args, out, err);
    return r;
}

void writeFile(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// The contact of the default contacts folder with that last name.
ItemRecord contactNamed(const Store& store, const QString& lastName) {
    for (const ItemRecord& item :
         store.items(store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId))
        if (item.properties.value(u"LastName"_s).toString() == lastName)
            return item;
    ADD_FAILURE() << "no contact " << lastName.toStdString();
    return {};
}

QString prop(const ItemRecord& item, const QString& name) {
    return item.properties.value(name).toString();
}

TEST(PimTool, SampleAddressBookImportsIntoAFreshStore) {
    test::TestEnv env;
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    const ToolRun r = pim({u"import-vcard"_s, sampleFile()});
    ASSERT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.err, QString()); // no warnings for the sample
    EXPECT_TRUE(r.out.startsWith(u"30 Kontakte eingelesen"_s));

    const Store store(env.pimPath(), Store::Create::Never);
    const QList<ItemRecord> contacts =
        store.items(store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId);
    ASSERT_EQ(contacts.size(), 30);
    // The number the main job calls with, in a written form of its own.
    EXPECT_EQ(prop(contactNamed(store, u"Becker"_s), u"BusinessTelephoneNumber"_s),
              u"+49 30 12345678"_s);
    // The same number in two fields of one contact.
    const ItemRecord hoffmann = contactNamed(store, u"Hoffmann"_s);
    EXPECT_EQ(prop(hoffmann, u"BusinessTelephoneNumber"_s),
              prop(hoffmann, u"PrimaryTelephoneNumber"_s));
    // A company with several people sharing its main number.
    int kontor = 0;
    for (const ItemRecord& c : contacts)
        kontor += prop(c, u"CompanyName"_s) == u"Hanseatisches Kontor GmbH"_s ? 1 : 0;
    EXPECT_EQ(kontor, 4);
    EXPECT_EQ(prop(contactNamed(store, u"Johannsen"_s), u"CompanyMainTelephoneNumber"_s),
              u"(040) 302010-0"_s);
    EXPECT_EQ(prop(contactNamed(store, u"Gruber"_s), u"BusinessAddressCountry"_s), u"Österreich"_s);
    EXPECT_EQ(prop(contactNamed(store, u"Meier"_s), u"BusinessTelephoneNumber"_s),
              u"+41 44 2123456"_s);
    EXPECT_EQ(contactNamed(store, u"Wolf"_s).body,
              u"Kennt uns über die Messe in Hannover.\r\nBevorzugt E-Mail."_s);
    EXPECT_EQ(prop(contactNamed(store, u"Lange"_s), u"BusinessTelephoneNumber"_s),
              u"+49-331-8765432-21"_s);
    const ItemRecord fischer = contactNamed(store, u"Fischer"_s);
    EXPECT_EQ(prop(fischer, u"MobileTelephoneNumber"_s), u"0151 23456789"_s);
}

TEST(PimTool, BadInputChangesNothingAndNamesFileAndLine) {
    test::TestEnv env;
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    ASSERT_EQ(pim({u"import-vcard"_s, sampleFile()}).code, 0);
    const QByteArray before = json::dump(Store(env.pimPath(), Store::Create::Never));

    // A good card, then a broken line in the second one.
    const QString vcf = env.root() + u"kaputt.vcf"_s;
    writeFile(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Neu;Nina;;;\r\nEND:VCARD\r\n"
                   "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Neu;Nils;;;\r\nTEL;TYPE=CELL 0170 1\r\n"
                   "END:VCARD\r\n");
    const ToolRun badVcard = pim({u"import-vcard"_s, vcf});
    EXPECT_EQ(badVcard.code, tool::Failure);
    EXPECT_TRUE(badVcard.err.contains(vcf + u":8: "_s)) << badVcard.err.toStdString();

    // A document that is no JSON, loaded over a store that has content, and
    // into a new store file that must not be left behind.
    const QString bad = env.root() + u"kaputt.json"_s;
    writeFile(bad, "{\n  \"format\": \"tellmarin-pim\",\n  \"version\": 1\n  \"stores\": []\n}\n");
    const ToolRun badJson = pim({u"load-json"_s, bad});
    EXPECT_EQ(badJson.code, tool::Failure);
    EXPECT_TRUE(badJson.err.contains(bad + u":4: "_s)) << badJson.err.toStdString();
    const QString fresh = env.root() + u"neu.sqlite"_s;
    EXPECT_EQ(pim({u"--store"_s, fresh, u"load-json"_s, bad}).code, tool::Failure);
    EXPECT_FALSE(QFileInfo::exists(fresh));

    // Items of the wrong folder kind, unknown folders, missing files.
    EXPECT_EQ(pim({u"import-vcard"_s, sampleFile(), u"--folder"_s, u"Kalender"_s}).code,
              tool::Failure);
    EXPECT_EQ(pim({u"import-vcard"_s, sampleFile(), u"--folder"_s, u"Gibtsnicht"_s}).code,
              tool::Failure);
    EXPECT_EQ(pim({u"import-vcard"_s, env.root() + u"fehlt.vcf"_s}).code, tool::Failure);

    EXPECT_EQ(json::dump(Store(env.pimPath(), Store::Create::Never)), before);
}

TEST(PimTool, DumpAndLoadThroughFilesAndExportImportVcard) {
    test::TestEnv env;
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    ASSERT_EQ(pim({u"import-vcard"_s, sampleFile()}).code, 0);
    ASSERT_EQ(pim({u"add-folder"_s, u"Kontakte\\Kopie"_s}).code, 0);
    const QString dumpFile = env.root() + u"abzug.json"_s;
    ASSERT_EQ(pim({u"dump-json"_s, dumpFile}).code, 0);
    const QString copy = env.root() + u"kopie.sqlite"_s;
    const ToolRun loaded = pim({u"--store"_s, copy, u"load-json"_s, dumpFile});
    ASSERT_EQ(loaded.code, 0) << loaded.err.toStdString();
    EXPECT_EQ(loaded.out, u"Abzug geladen: 8 Ordner, 30 Elemente\n"_s);
    EXPECT_EQ(pim({u"--store"_s, copy, u"dump-json"_s}).out.toUtf8(), test::readBytes(dumpFile));

    // vCard out of one folder and into another gives the same contacts.
    for (const QString& version : {u"3"_s, u"4"_s}) {
        const QString vcf = env.root() + u"kontakte"_s + version + u".vcf"_s;
        ASSERT_EQ(pim({u"export-vcard"_s, vcf, u"--vcard-version"_s, version}).code, 0);
        const QString folder = u"Kontakte\\V"_s + version;
        ASSERT_EQ(pim({u"add-folder"_s, folder}).code, 0);
        ASSERT_EQ(pim({u"import-vcard"_s, vcf, u"--folder"_s, folder}).code, 0);
        const Store store(env.pimPath(), Store::Create::Never);
        const QList<ItemRecord> original =
            store.items(store.defaultFolder(tlm::pim::defaultfolder::Contacts).entryId);
        const QList<ItemRecord> again =
            store.items(store.folderByPath(u"\\\\Persönliche Ordner\\"_s + folder).entryId);
        ASSERT_EQ(again.size(), original.size());
        for (qsizetype i = 0; i < original.size(); ++i) {
            QVariantMap a = original.at(i).properties;
            QVariantMap b = again.at(i).properties;
            for (QVariantMap* m : {&a, &b}) {
                m->remove(u"CreationTime"_s);
                m->remove(u"LastModificationTime"_s);
            }
            EXPECT_EQ(a, b) << i;
            EXPECT_EQ(original.at(i).body, again.at(i).body);
        }
    }
}

TEST(PimTool, FoldersListingAndOptions) {
    test::TestEnv env;
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    EXPECT_EQ(pim({u"create"_s}).code, tool::Failure); // never over an existing store
    const ToolRun nested =
        pim({u"add-folder"_s, u"\\\\Archiv\\2023\\Anrufe"_s, u"--kind"_s, u"journal"_s});
    ASSERT_EQ(nested.code, 0) << nested.err.toStdString();
    EXPECT_EQ(pim({u"add-folder"_s, u"\\\\Archiv\\2023\\Anrufe"_s}).code, tool::Failure);
    ASSERT_EQ(pim({u"add-folder"_s, u"Kontakte\\Kunden"_s}).code, 0);
    const ToolRun shared = pim(
        {u"add-folder"_s, u"\\\\Team\\Kontakte"_s, u"--read-only"_s, u"--kind"_s, u"contact"_s});
    ASSERT_EQ(shared.code, 0) << shared.err.toStdString();
    EXPECT_TRUE(shared.out.endsWith(u"\tschreibgeschützt\n"_s));
    EXPECT_TRUE(Store(env.pimPath()).folderByPath(u"\\\\Team\\Kontakte"_s).readOnly);

    const QStringList lines = pim({u"list"_s}).out.split(u'\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 11);
    EXPECT_TRUE(lines.at(0).startsWith(u"\\\\Persönliche Ordner\\Kontakte\tcontact\t0\t"_s));
    EXPECT_TRUE(lines.at(1).startsWith(u"\\\\Persönliche Ordner\\Kontakte\\Kunden\tcontact\t"_s));
    EXPECT_TRUE(std::any_of(lines.begin(), lines.end(), [](const QString& l) {
        return l.startsWith(u"\\\\Archiv\\2023\\Anrufe\tjournal\t0\t"_s);
    }));
    EXPECT_TRUE(lines.last().startsWith(u"\\\\Team\\Kontakte\tcontact\t0\t"_s));
    EXPECT_TRUE(lines.last().endsWith(u"\tschreibgeschützt"_s));

    EXPECT_EQ(pim({u"options"_s}).out, u"EditorType=4\nOutlookVersion=16.0.0.0\n"_s);
    EXPECT_EQ(pim({u"options"_s, u"--editor-type"_s, u"1"_s, u"--outlook-version=14.0.0.0"_s}).out,
              u"EditorType=1\nOutlookVersion=14.0.0.0\n"_s);
    EXPECT_EQ(pim({u"options"_s, u"--editor-type"_s, u"2"_s}).code, tool::Usage);
    EXPECT_EQ(Store(env.pimPath(), Store::Create::Never).editorType(), 1);
}

TEST(PimTool, UsageErrors) {
    test::TestEnv env;
    EXPECT_EQ(pim({}).code, tool::Usage);
    EXPECT_EQ(pim({u"frobnicate"_s}).code, tool::Usage);
    EXPECT_EQ(pim({u"list"_s, u"--folder"_s, u"Kontakte"_s}).code, tool::Usage);
    EXPECT_EQ(pim({u"import-vcard"_s}).code, tool::Usage);
    EXPECT_EQ(pim({u"dump-json"_s, u"--store"_s}).code, tool::Usage);
    const ToolRun help = pim({u"--help"_s});
    EXPECT_EQ(help.code, 0);
    EXPECT_TRUE(help.out.contains(u"import-vcard DATEI"_s));
    // Only create and load-json make a store.
    const QString vcf = env.root() + u"k.vcf"_s;
    writeFile(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Neu;Nina;;;\r\nEND:VCARD\r\n");
    for (const QStringList& args : {QStringList{u"list"_s},
                                    {u"inspectors"_s},
                                    {u"dump-json"_s},
                                    {u"options"_s},
                                    {u"add-folder"_s, u"Kontakte\\X"_s},
                                    {u"import-vcard"_s, vcf}}) {
        EXPECT_EQ(pim(args).code, tool::Failure) << args.join(u' ').toStdString();
        EXPECT_FALSE(QFileInfo::exists(env.pimPath())) << args.join(u' ').toStdString();
    }
}

// Every command but create and load-json refuses a file that is no store of
// this program, changing nothing: another program's database does not get
// the store's tables, and an empty file does not become half a store.
TEST(PimTool, FilesThatAreNoStoreStayAsTheyWere) {
    test::TestEnv env;
    ASSERT_EQ(pim({u"create"_s}).code, 0);
    const QString dumpFile = env.root() + u"abzug.json"_s;
    ASSERT_EQ(pim({u"dump-json"_s, dumpFile}).code, 0);
    const QString vcf = env.root() + u"k.vcf"_s;
    writeFile(vcf, "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Neu;Nina;;;\r\nEND:VCARD\r\n");
    const QString foreign = env.root() + u"fremd.sqlite"_s;
    {
        sql::Db db;
        db.open(foreign, true);
        db.exec("CREATE TABLE kunden(name TEXT); INSERT INTO kunden VALUES('Becker');");
    }
    const QString empty = env.root() + u"leer.sqlite"_s;
    writeFile(empty, "");
    const QList<QStringList> commands = {{u"list"_s},
                                         {u"inspectors"_s},
                                         {u"dump-json"_s},
                                         {u"options"_s},
                                         {u"add-folder"_s, u"Kontakte\\X"_s},
                                         {u"import-vcard"_s, vcf},
                                         {u"close"_s, u"00AA"_s},
                                         {u"export-vcard"_s, u"-"_s}};
    for (const QString& path : {foreign, empty}) {
        const QByteArray before = test::readBytes(path);
        for (const QStringList& args : commands) {
            const ToolRun r = pim(QStringList{u"--store"_s, path} + args);
            EXPECT_EQ(r.code, tool::Failure) << args.join(u' ').toStdString();
            EXPECT_TRUE(r.err.contains(u"ist kein PIM-Speicher von Tellmarin"_s))
                << r.err.toStdString();
        }
        EXPECT_EQ(test::readBytes(path), before);
    }
    const QByteArray foreignBytes = test::readBytes(foreign);
    EXPECT_EQ(pim({u"--store"_s, foreign, u"load-json"_s, dumpFile}).code, tool::Failure);
    EXPECT_EQ(pim({u"--store"_s, foreign, u"create"_s}).code, tool::Failure);
    EXPECT_EQ(test::readBytes(foreign), foreignBytes);
    // The empty file may be made a store by loading a dump into it.
    EXPECT_EQ(pim({u"--store"_s, empty, u"load-json"_s, dumpFile}).code, 0);
    EXPECT_EQ(pim({u"--store"_s, empty, u"list"_s}).code, 0);
}

} // namespace
} // namespace tlm::pim

namespace tlm::pim {
namespace {

// The windows the program left open, and closing them as a user would.
TEST(PimTool, InspectorsListedAndClosed) {
    test::TestEnv env;
    ItemRecord contact;
    ItemRecord draft;
    {
        Store store;
        contact.properties.insert(u"LastName"_s, u"Becker"_s);
        contact.entryId =
            store.addItem(store.defaultFolder(pim::defaultfolder::Contacts).entryId, contact);
        store.impl().setInspector(contact.entryId, u"Thomas Becker - Kontakt"_s,
                                  {true, true, 2, 10, 20, 300, 400});
        draft.properties.insert(u"Subject"_s, u"Rückruf"_s);
        draft.unsaved = true;
        draft.entryId =
            store.addItem(store.defaultFolder(pim::defaultfolder::Calendar).entryId, draft);
        store.impl().setInspector(draft.entryId, u"Rückruf - Termin"_s,
                                  {true, false, 0, 0, 0, 0, 0});
    }
    const ToolRun listed = pim({u"inspectors"_s});
    EXPECT_EQ(listed.code, 0);
    EXPECT_TRUE(listed.out.contains(contact.entryId +
                                    u"\tnormal aktiv\t10,20,300,400\tThomas Becker - Kontakt\n"_s));
    EXPECT_TRUE(listed.out.contains(draft.entryId + u"\tmaximiert\t0,0,0,0\tRückruf - Termin\n"_s));

    EXPECT_NE(pim({u"close"_s, draft.entryId, u"--save"_s, u"--discard"_s}).code, 0);
    EXPECT_EQ(pim({u"close"_s, draft.entryId, u"--save"_s}).out,
              u"gespeichert: "_s + draft.entryId + u'\n');
    EXPECT_EQ(pim({u"close"_s, contact.entryId}).code, 0);
    EXPECT_TRUE(pim({u"inspectors"_s}).out.isEmpty());
    const Store store;
    EXPECT_FALSE(store.item(draft.entryId).unsaved);
    EXPECT_NE(pim({u"close"_s, u"00FF"_s}).code, 0);
}

} // namespace
} // namespace tlm::pim
