// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The contact index: build, index log, lookup and the per-call file update.
#include "core/callfile.h"
#include "core/contactindex.h"
#include "core/run.h"
#include "numbers/indextable.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QFile>
#include <gtest/gtest.h>

using namespace tlm;
using namespace tlm::outlook;

namespace {
struct Contact {
    QString first, last, company;
    QList<std::pair<const char*, QString>> numbers;
    bool journal = false;
};

class ContactIndex : public ::testing::Test {
protected:
    test::TestEnv env;
    pim::Store store{env.pimPath()}; // made here: attaching makes none
    ApplicationPtr app = attach();
    NamespacePtr mapi = app->GetNamespace(QStringLiteral("MAPI"));
    FolderPtr contacts = mapi->GetDefaultFolder(olFolderContacts);

    void SetUp() override {
        clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 3, 27)));
        settingsstore::save(QStringLiteral("DefaultFolder"), QStringLiteral("1"));
    }

    QString add(const FolderPtr& folder, const Contact& c) {
        ItemPtr item = folder->Items()->Add();
        item->set(QStringLiteral("FirstName"), c.first);
        item->set(QStringLiteral("LastName"), c.last);
        item->set(QStringLiteral("CompanyName"), c.company);
        item->set(QStringLiteral("Journal"), c.journal);
        item->set(QStringLiteral("HomeAddressCity"), QStringLiteral("Köln"));
        item->set(QStringLiteral("BusinessAddressCity"), QStringLiteral("Bonn"));
        for (const auto& [field, number] : c.numbers)
            item->set(QString::fromLatin1(field), number);
        item->Save();
        return item->EntryID();
    }

    void configure(const QList<FolderPtr>& folders) {
        settingsstore::save(QStringLiteral("Folders"), QString::number(folders.size()));
        for (int i = 0; i < folders.size(); ++i) {
            const QString n = QString::number(i + 1);
            settingsstore::save(QStringLiteral("FolderID") + n,
                                folders[i] ? folders[i]->EntryID() + QLatin1Char('|') +
                                                 folders[i]->StoreID()
                                           : QStringLiteral("0000DEAD|0000BEEF"));
            settingsstore::save(QStringLiteral("Folder") + n,
                                folders[i] ? folders[i]->Name() : QStringLiteral("Weg"));
        }
    }

    std::unique_ptr<tlm::Run> newRun(const QString& number = QString()) {
        auto run = std::make_unique<tlm::Run>();
        run->env.workFolder = env.workFolder();
        run->env.indexFile = env.workFolder() + QStringLiteral("tlm20261205.idx");
        run->env.programVersion = QStringLiteral("1.0.0000");
        run->env.outlookVersionText =
            QStringLiteral("Outlook 2016/2019/2021 (64-bit)  Build: 16.0.0.0");
        run->params.values[P_NUMBER] = number;
        run->params.values[P_P_CALL_ID] = QStringLiteral("CALL0001-0001-X");
        run->application = app;
        run->mapi = mapi;
        return run;
    }

    std::string indexFile() const {
        return test::readBytes(env.workFolder() + QStringLiteral("tlm20261205.idx")).toStdString();
    }
    std::string indexLog() const {
        return test::maskDates(
                   test::readBytes(env.workFolder() + QStringLiteral("tlm20261205.log")))
            .toStdString();
    }
    std::string programLog() const {
        return test::maskDates(test::readBytes(env.workFolder() + QStringLiteral("Tellmarin.log")))
            .toStdString();
    }
};

std::string record(const char* number, const QString& id, int field, bool journal = false) {
    return "\"" + std::string(number) + "\",\"" + id.toStdString() + "\"," + std::to_string(field) +
           (journal ? ",-1\r\n" : ",0\r\n");
}
} // namespace

TEST_F(ContactIndex, RecordsAndIndexLogByteForByte) {
    const QString a =
        add(contacts, {QStringLiteral("Anna"),
                       QStringLiteral("Arndt"),
                       QString(),
                       {{"RadioTelephoneNumber", QStringLiteral("0171 111")},
                        {"BusinessTelephoneNumber", QStringLiteral("+49 (30) 1234-567")},
                        {"CarTelephonenumber", QStringLiteral("030/999")}},
                       true});
    add(contacts, {QStringLiteral("Bea"), QStringLiteral("Ohne"), QString(), {}});
    const QString c = add(contacts, {QString(),
                                     QString(),
                                     QStringLiteral("Strich GmbH"),
                                     {{"HomeTelephoneNumber", QStringLiteral("-")}}});
    auto run = newRun();
    EXPECT_TRUE(subCreateFileIndex(*run, false));
    EXPECT_EQ(run->indexRecordsTotal, 4);
    EXPECT_EQ(indexFile(), record("0301234567", a, 1, true) + record("030999", a, 8, true) +
                               record("0171111", a, 12, true) + record("", c, 2));
    const std::string head = "Tellmarin - Version 1.0.0000\r\n";
    const std::string log = indexLog();
    const std::string folderBlock = "Kontakte\r\n"
                                    "  Ordnerpfad        : \\\\Persönliche Ordner\\Kontakte\r\n"
                                    "  Kontakteinträge   : 3\r\n"
                                    "  Rufnummerneinträge: 4\r\n"
                                    "  Stand             : <DATETIME>\r\n"
                                    "  EntryID: " +
                                    contacts->EntryID().toStdString() +
                                    "\r\n"
                                    "  StoreID: " +
                                    contacts->StoreID().toStdString() +
                                    "\r\n\r\n"
                                    "\r\nZusammenfassung\r\n"
                                    "  Kontakteinträge   : 3\r\n"
                                    "  Rufnummerneinträge: 4\r\n"
                                    "  Verarbeitungsdauer: 00:00 min:sek  (0 Sekunden)\r\n";
    EXPECT_EQ(log.substr(0, head.size()), head);
    EXPECT_NE(log.find("\r\n\r\nIndex generiert am <DATETIME>\r\n\r\n" + folderBlock),
              std::string::npos)
        << log;
    EXPECT_FALSE(settingsstore::get(QStringLiteral("DefaultFolderDate")).isEmpty());
}

// The lookup table is made with the index, replaced with it and removed
// wherever the index is removed; the index's bytes stay as they are.
TEST_F(ContactIndex, LookupTableComesAndGoesWithTheIndex) {
    const QString a = add(contacts, {QStringLiteral("Anna"),
                                     QStringLiteral("Arndt"),
                                     QString(),
                                     {{"BusinessTelephoneNumber", QStringLiteral("030 1234")},
                                      {"HomeTelephoneNumber", QStringLiteral("030 12345")}}});
    const QString index = env.workFolder() + QStringLiteral("tlm20261205.idx");
    const QString table = indexTablePath(index);
    const QString otherDay = env.workFolder() + QStringLiteral("tlm20261204.idx");
    for (const QString& path : {otherDay, indexTablePath(otherDay)}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"0301234\",\"alt\",1,0\r\n");
    }

    auto run = newRun();
    ASSERT_TRUE(subCreateFileIndex(*run, false));
    EXPECT_EQ(indexFile(), record("0301234", a, 1) + record("03012345", a, 2));
    EXPECT_FALSE(QFile::exists(otherDay));
    EXPECT_FALSE(QFile::exists(indexTablePath(otherDay)));
    EXPECT_FALSE(QFile::exists(table + QStringLiteral(".") +
                               QString::number(QCoreApplication::applicationPid()) +
                               QStringLiteral(".new")));
    const auto found = lookupInTable(index, QStringLiteral("0301234"));
    ASSERT_TRUE(found);
    ASSERT_EQ(found->size(), 1);
    EXPECT_EQ(found->first().entryId, a);

    // Rebuilt: the new table fits the new index.
    const QString b = add(contacts, {QStringLiteral("Bea"),
                                     QStringLiteral("Bach"),
                                     QString(),
                                     {{"MobileTelephoneNumber", QStringLiteral("0301234")}}});
    ASSERT_TRUE(subCreateFileIndex(*run, false));
    const auto again = lookupInTable(index, QStringLiteral("0301234"));
    ASSERT_TRUE(again);
    ASSERT_EQ(again->size(), 2);
    EXPECT_EQ(again->last().entryId, b);
    auto call = newRun(QStringLiteral("0301234"));
    subIndexLookup(*call);
    EXPECT_EQ(call->lookup.foundCount, 2);

    // A build that indexes no folder leaves neither.
    settingsstore::save(QStringLiteral("DefaultFolder"), QString());
    EXPECT_FALSE(subCreateFileIndex(*run, false));
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_FALSE(QFile::exists(table));
}

TEST_F(ContactIndex, FoldersInOrderAndAFolderConfiguredTwiceCountsTwice) {
    const QString a = add(contacts, {QStringLiteral("A"),
                                     QStringLiteral("Default"),
                                     QString(),
                                     {{"MobileTelephoneNumber", QStringLiteral("0171 1")}}});
    auto run = newRun();
    FolderPtr extra = mapi->GetDefaultFolder(olFolderContacts);
    configure({extra, extra});
    EXPECT_TRUE(subCreateFileIndex(*run, false));
    EXPECT_EQ(indexFile(), record("01711", a, 4) + record("01711", a, 4) + record("01711", a, 4));

    auto lookup = newRun(QStringLiteral("01711"));
    subIndexLookup(*lookup);
    EXPECT_EQ(lookup->lookup.foundCount, 3);
    EXPECT_EQ(lookup->lookup.found.size(), 3);
}

TEST_F(ContactIndex, UnreachableConfiguredFolderStopsTheConfiguredFolders) {
    add(contacts, {QStringLiteral("A"),
                   QStringLiteral("Default"),
                   QString(),
                   {{"MobileTelephoneNumber", QStringLiteral("0171 1")}}});
    configure({nullptr, contacts});
    auto run = newRun();
    run->log.setStep(0);
    EXPECT_TRUE(subCreateFileIndex(*run, false)); // the default folder was indexed
    EXPECT_EQ(run->indexRecordsTotal, 1);
    EXPECT_NE(programLog().find(
                  "<DATETIME> mdlMain.subCreateFileIndex_60201: Auf den Kontakteordner 'Weg' "
                  "konnte nicht zugegriffen werden.(Err -2147221502..."),
              std::string::npos)
        << programLog();

    settingsstore::save(QStringLiteral("DefaultFolder"), QString());
    EXPECT_FALSE(subCreateFileIndex(*run, false));
    EXPECT_FALSE(QFile::exists(env.workFolder() + QStringLiteral("tlm20261205.idx")));
}

TEST_F(ContactIndex, LookupListsEveryMatchingFieldWithItsLayout) {
    settingsstore::save(QStringLiteral("ViewCompanyname"), QStringLiteral("1"));
    const QString a = add(contacts, {QStringLiteral("Max"),
                                     QStringLiteral("Muster"),
                                     QStringLiteral("Muster AG"),
                                     {{"BusinessTelephoneNumber", QStringLiteral("0221 12")},
                                      {"HomeTelephoneNumber", QStringLiteral("0221/12")}},
                                     true});
    const QString b = add(contacts, {QString(),
                                     QString(),
                                     QStringLiteral("Nur Firma"),
                                     {{"OtherTelephoneNumber", QStringLiteral("022112")}}});
    const QString x = add(contacts, {QStringLiteral("X"),
                                     QStringLiteral("Y"),
                                     QString(),
                                     {{"BusinessTelephoneNumber", QStringLiteral("0049 221 12")}}});
    auto build = newRun();
    ASSERT_TRUE(subCreateFileIndex(*build, false));

    auto run = newRun(QStringLiteral("022112"));
    subIndexLookup(*run);
    const Lookup& found = run->lookup;
    EXPECT_EQ(found.foundCount, 3);
    EXPECT_EQ(found.matchedField, 10);
    EXPECT_EQ(found.currentContact->EntryID(), b);
    ASSERT_EQ(found.found.size(), 3);
    const auto expectFound = [&](int i, const QString& display, int field, bool journal,
                                 const QString& entryId) {
        EXPECT_EQ(found.found[i].display, display) << i;
        EXPECT_EQ(found.found[i].field, field) << i;
        EXPECT_EQ(found.found[i].journal, journal) << i;
        EXPECT_EQ(found.found[i].entryId, entryId) << i;
    };
    expectFound(0, QStringLiteral("Muster, Max (Muster AG)"), 1, true, a);
    expectFound(1, QStringLiteral("Muster, Max (Muster AG)"), 2, true, a);
    expectFound(2, QStringLiteral("Nur Firma"), 10, false, b);

    // the per-call file takes the contact of a home number with its home address
    run->lookup.currentContact = mapi->GetItemFromID(a);
    run->lookup.matchedField = 2;
    subUpdateCallFileContact(*run);
    const QString file = callFilePath(*run);
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Contact-ID")), a);
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Adr_City")),
              QStringLiteral("Köln"));
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Company")), QString());
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Call"), QStringLiteral("NumType")),
              QStringLiteral("2"));
    run->lookup.matchedField = 1;
    subUpdateCallFileContact(*run);
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Adr_City")),
              QStringLiteral("Bonn"));
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Company")),
              QStringLiteral("Muster AG"));

    // a number in another form finds only the contact stored in that form
    auto other = newRun(QStringLiteral("004922112"));
    subIndexLookup(*other);
    EXPECT_EQ(other->lookup.foundCount, 1);
    EXPECT_EQ(other->lookup.currentContact->EntryID(), x);
    // a contact that no longer opens is skipped
    pim::Store(env.pimPath(), pim::Store::Create::Never).removeItem(b);
    auto afterDelete = newRun(QStringLiteral("022112"));
    subIndexLookup(*afterDelete);
    EXPECT_EQ(afterDelete->lookup.foundCount, 2);
}
