// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Filters (Jet and DASL), Items.Find and Sort, and folder tables.
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/error.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::outlook;

namespace {

class PimFilters : public ::testing::Test {
protected:
    tlm::test::TestEnv env;
    tlm::pim::Store store{env.pimPath()}; // made here: attaching makes none
    ApplicationPtr app = attach();
    NamespacePtr ns = app->GetNamespace(u"MAPI"_s);
    FolderPtr contacts = ns->GetDefaultFolder(olFolderContacts);

    ItemPtr contact(const QString& first, const QString& last, const QString& company,
                    const QString& city = {}) {
        ItemPtr c = contacts->Items()->Add();
        c->set(u"FirstName"_s, first);
        c->set(u"LastName"_s, last);
        c->set(u"CompanyName"_s, company);
        c->set(u"BusinessAddressCity"_s, city);
        c->Save();
        return c;
    }

    QStringList lastNames(const QString& filter) {
        TablePtr t = contacts->GetTable(filter);
        QStringList out;
        while (!t->EndOfTable())
            out << t->GetNextRow()->Item(7).toString();
        return out;
    }

    QString filterError(const QString& filter) {
        try {
            contacts->GetTable(filter)->GetRowCount();
        } catch (const tlm::Error& e) {
            EXPECT_EQ(e.number(), tlm::pim::CannotParse);
            return e.description();
        }
        return u"<no error>"_s;
    }

    ItemPtr journalWith(const QString& callId) {
        ItemPtr j = app->CreateItem(olJournalItem);
        j->UserProperties()->Add(u"PCALLID"_s, 1);
        j->UserProperties()->setValue(u"PCALLID"_s, callId);
        j->setSubject(u"Anruf "_s + callId);
        j->Save();
        return j;
    }
};

TEST_F(PimFilters, JetComparisonsQuotesAndLogic) {
    contact(u"Hans"_s, u"Meier"_s, u"Meier GmbH"_s);
    contact(u"Eva"_s, u"O'Neill"_s, QString());
    contact(u"Anna"_s, u"Zander"_s, u"Zander \"Bau\" AG"_s);

    EXPECT_EQ(lastNames(u"[LastName] = 'meier'"_s), QStringList{u"Meier"_s});
    EXPECT_EQ(lastNames(u"[LastName]='O''Neill'"_s), QStringList{u"O'Neill"_s});
    EXPECT_EQ(lastNames(u"[CompanyName] = \"Zander \"\"Bau\"\" AG\""_s), QStringList{u"Zander"_s});
    EXPECT_EQ(lastNames(u"[LastName] <> 'Meier'"_s), (QStringList{u"O'Neill"_s, u"Zander"_s}));
    EXPECT_EQ(lastNames(u"[LastName] >= 'O'"_s), (QStringList{u"O'Neill"_s, u"Zander"_s}));
    EXPECT_EQ(lastNames(u"[LastName] < 'N'"_s), QStringList{u"Meier"_s});
    EXPECT_EQ(
        lastNames(u"([FirstName] = 'Hans' OR [FirstName] = 'Anna') AND [CompanyName] <> ''"_s),
        (QStringList{u"Meier"_s, u"Zander"_s}));
    EXPECT_EQ(lastNames(u"NOT [CompanyName] = ''"_s), (QStringList{u"Meier"_s, u"Zander"_s}));
    EXPECT_EQ(lastNames(u"[carTELEPHONEnumber] = ''"_s).size(), 3);
    EXPECT_EQ(lastNames(u""_s).size(), 3);
}

TEST_F(PimFilters, DaslLikeSearchOverNamesAndAddresses) {
    contact(u"Hans"_s, u"Meier"_s, u"Bäckerei Korn"_s, u"Berlin"_s);
    contact(u"Eva"_s, u"Kornfeld"_s, QString(), u"Köln"_s);
    contact(u"Anna"_s, u"D'Amato"_s, u"Pizzeria"_s);
    const QString all =
        u"@SQL=\"urn:schemas:contacts:workaddress\" LIKE '%%1%' OR "
        u"\"urn:schemas:contacts:homepostaladdress\" LIKE '%%1%' OR "
        u"\"urn:schemas:contacts:otherpostaladdress\" LIKE '%%1%' OR "
        u"\"urn:schemas:contacts:companyname\" LIKE '%%1%' OR "
        u"\"urn:schemas:contacts:o\" LIKE '%%1%' OR \"urn:schemas:contacts:sn\" LIKE '%%1%' OR "
        u"\"urn:schemas:contacts:givenName\" LIKE '%%1%' OR "
        u"\"urn:schemas:contacts:middlename\" LIKE '%%1%'"_s;
    EXPECT_EQ(lastNames(all.arg(u"korn"_s)), (QStringList{u"Meier"_s, u"Kornfeld"_s}));
    EXPECT_EQ(lastNames(all.arg(u"KÖLN"_s)), QStringList{u"Kornfeld"_s});
    EXPECT_EQ(lastNames(all.arg(u"D''Am"_s)), QStringList{u"D'Amato"_s});
    EXPECT_EQ(lastNames(all.arg(u"xyz"_s)), QStringList());
    EXPECT_EQ(lastNames(u"@SQL=\"urn:schemas:contacts:sn\" = 'meier'"_s), QStringList{u"Meier"_s});
    EXPECT_EQ(lastNames(u"@SQL=\"urn:schemas:contacts:sn\" LIKE 'Korn%'"_s),
              QStringList{u"Kornfeld"_s});
}

TEST_F(PimFilters, DatesNumbersAndFlags) {
    FolderPtr calendar = ns->GetDefaultFolder(olFolderCalendar);
    auto appointment = [&](const QString& start, const QString& end, int busy) {
        ItemPtr a = app->CreateItem(olAppointmentItem);
        a->set(u"Start"_s, start);
        a->set(u"End"_s, end);
        a->set(u"BusyStatus"_s, busy);
        a->Save();
    };
    appointment(u"05.12.2026 08:00"_s, u"05.12.2026 17:00"_s, 3); // out of office
    appointment(u"05.12.2026 14:00"_s, u"05.12.2026 15:00"_s, 2); // busy
    appointment(u"06.12.2026 08:00"_s, u"06.12.2026 17:00"_s, 3);
    auto count = [&](const QString& filter) { return calendar->GetTable(filter)->GetRowCount(); };
    const QString now = u"05.12.2026 14:30"_s;
    EXPECT_EQ(
        count(u"([Start]<='"_s + now + u"' AND [End]>='"_s + now + u"') AND [BusyStatus]>=3"_s), 1);
    EXPECT_EQ(count(u"[Start] <= '05.12.2026 14:30' AND [End] >= '05.12.2026 14:30'"_s), 2);
    EXPECT_EQ(count(u"[Start] >= '06.12.2026'"_s), 1);
    EXPECT_EQ(count(u"[BusyStatus] = 2"_s), 1);
    EXPECT_EQ(count(u"[IsRecurring] = False"_s), 3);

    ItemPtr c = contact(u"Hans"_s, u"Meier"_s, QString());
    c->set(u"Journal"_s, true);
    c->Save();
    contact(u"Eva"_s, u"Schulz"_s, QString());
    EXPECT_EQ(lastNames(u"[Journal] = True"_s), QStringList{u"Meier"_s});
    EXPECT_EQ(lastNames(u"[Journal] = 0"_s), QStringList{u"Schulz"_s});
}

TEST_F(PimFilters, BadFiltersSayWhere) {
    EXPECT_TRUE(filterError(u"[LastName] = 'Meier"_s).contains(u"Zeichen 14"_s));
    EXPECT_TRUE(filterError(u"[LastName] 'Meier'"_s).contains(u"Vergleichsoperator"_s));
    EXPECT_TRUE(filterError(u"[LastName] = 'a' AND"_s).contains(u"Ende der Bedingung"_s));
    EXPECT_TRUE(filterError(u"([LastName] = 'a'"_s).contains(u"\")\""_s));
    EXPECT_TRUE(filterError(u"LastName = 'a'"_s).contains(u"eckigen Klammern"_s));
    EXPECT_TRUE(filterError(u"[LastName] = 'a' [FirstName]"_s).contains(u"Zeichen 18"_s));
    EXPECT_TRUE(filterError(u"[CreationTime] > 'gestern'"_s).contains(u"Datum"_s));
    EXPECT_TRUE(filterError(u"@SQL=\"urn:schemas:contacts:shoesize\" LIKE '%a%'"_s)
                    .contains(u"shoesize"_s));
    EXPECT_TRUE(filterError(u"@SQL=\"urn:schemas:contacts:sn\" LIKE '%a"_s)
                    .contains(u"Anführungszeichen"_s));
    EXPECT_TRUE(filterError(u"@SQL=\"urn:schemas:contacts:sn\" LIKE 5"_s).contains(u"LIKE"_s));
    // Nesting that would exhaust the stack is refused, not followed.
    const QString deep = QString(5000, u'(') + u"[LastName] = 'a'"_s + QString(5000, u')');
    EXPECT_TRUE(filterError(deep).contains(u"höchstens 200 Ebenen"_s));
    QString chain = u"[LastName] = 'a'"_s;
    for (int i = 0; i < 300; ++i)
        chain += u" AND NOT [FirstName] = 'b'"_s;
    EXPECT_TRUE(filterError(chain).contains(u"höchstens 200 Ebenen"_s));
    QString wide = u"[LastName] = 'a'"_s;
    for (int i = 0; i < 150; ++i)
        wide += u" OR [FirstName] = 'b'"_s;
    EXPECT_NO_THROW(contacts->GetTable(wide)->GetRowCount());
}

TEST_F(PimFilters, FindByUserPropertyAndFindNext) {
    journalWith(u"CALL-1"_s);
    ItemPtr second = journalWith(u"CALL-2"_s);
    journalWith(u"CALL-2"_s);
    app->CreateItem(olJournalItem)->Save(); // no user property at all
    ItemsPtr items = ns->GetDefaultFolder(olFolderJournal)->Items();
    EXPECT_EQ(items->Count(), 4);
    ItemPtr found = items->Find(u"[PCALLID]='CALL-2'"_s);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found->EntryID(), second->EntryID());
    EXPECT_NE(items->FindNext(), nullptr);
    EXPECT_EQ(items->FindNext(), nullptr);
    EXPECT_EQ(items->Find(u"[PCALLID]='CALL-9'"_s), nullptr);
    EXPECT_EQ(items->Find(u"[NoSuchProperty]='x'"_s), nullptr);
    EXPECT_THROW(items->Find(u"[PCALLID]="_s), tlm::Error);
}

TEST_F(PimFilters, ItemsByPositionAndSort) {
    contact(u"Hans"_s, u"Öztürk"_s, QString());
    contact(u"Eva"_s, u"Adler"_s, QString());
    contact(u"Max"_s, u"Zander"_s, QString());
    ItemsPtr items = contacts->Items();
    EXPECT_EQ(items->Item(1)->text(u"LastName"_s), u"Öztürk"_s);
    items->Sort(u"[LastName]"_s);
    EXPECT_EQ(items->Item(1)->text(u"LastName"_s), u"Adler"_s);
    EXPECT_EQ(items->Item(2)->text(u"LastName"_s), u"Öztürk"_s); // Ö sorts with O
    items->Sort(u"LastName"_s, true);
    EXPECT_EQ(items->Item(1)->text(u"LastName"_s), u"Zander"_s);
    EXPECT_THROW(items->Item(0), tlm::Error);
    EXPECT_THROW(items->Item(4), tlm::Error);
    EXPECT_THROW(items->Sort(u"Shoesize"_s), tlm::Error);
}

TEST_F(PimFilters, ContactTableColumnsAsTheIndexReadsThem) {
    ItemPtr c = contact(u"Hans"_s, u"Meier"_s, u"Meier GmbH"_s);
    c->set(u"Journal"_s, true);
    c->set(u"BusinessTelephoneNumber"_s, u"030 1234567"_s);
    c->set(u"CarTelephoneNumber"_s, u"0171 555"_s);
    c->set(u"RadioTelephoneNumber"_s, u"0160 999"_s);
    c->Save();
    contact(u"Eva"_s, u"Adler"_s, QString());

    TablePtr table = contacts->GetTable();
    const QStringList phones = {u"BusinessTelephoneNumber"_s,  u"HomeTelephoneNumber"_s,
                                u"Home2TelephoneNumber"_s,     u"MobileTelephoneNumber"_s,
                                u"Business2TelephoneNumber"_s, u"CompanyMainTelephoneNumber"_s,
                                u"CallbackTelephoneNumber"_s,  u"CarTelephonenumber"_s,
                                u"AssistantTelephoneNumber"_s, u"OtherTelephoneNumber"_s,
                                u"PrimaryTelephoneNumber"_s,   u"RadioTelephoneNumber"_s};
    table->Columns()->Add(u"Journal"_s);
    for (const QString& p : phones)
        table->Columns()->Add(p);
    EXPECT_EQ(table->Columns()->Count(), 21);
    EXPECT_EQ(table->Columns()->Name(4), u"LastModificationTime"_s);
    EXPECT_EQ(table->Columns()->Name(17), u"CarTelephoneNumber"_s);
    EXPECT_THROW(table->Columns()->Add(u"Shoesize"_s), tlm::Error);
    EXPECT_EQ(table->GetRowCount(), 2);

    table->MoveToStart();
    RowPtr row = table->GetNextRow();
    EXPECT_EQ(row->Item(1).toString(), c->EntryID());
    EXPECT_EQ(row->Item(2).toString(), QString());
    EXPECT_TRUE(row->Item(4).toDateTime().isValid());
    EXPECT_EQ(row->Item(5).toString(), u"IPM.Contact"_s);
    EXPECT_EQ(row->Item(6).toString(), u"Hans"_s);
    EXPECT_EQ(row->Item(7).toString(), u"Meier"_s);
    EXPECT_EQ(row->Item(8).toString(), u"Meier GmbH"_s);
    EXPECT_TRUE(row->Item(9).toBool());
    EXPECT_EQ(row->Item(10).toString(), u"030 1234567"_s);
    EXPECT_EQ(row->Item(11).toString(), QString());
    EXPECT_EQ(row->Item(17).toString(), u"0171 555"_s);
    EXPECT_EQ(row->Item(21).toString(), u"0160 999"_s);
    EXPECT_EQ(row->Item(u"carTelephoneNumber"_s).toString(), u"0171 555"_s);
    EXPECT_THROW(row->Item(22), tlm::Error);
    EXPECT_FALSE(table->EndOfTable());
    EXPECT_FALSE(table->GetNextRow()->Item(9).toBool());
    EXPECT_TRUE(table->EndOfTable());
    EXPECT_THROW(table->GetNextRow(), tlm::Error);
    table->MoveToStart();
    EXPECT_FALSE(table->EndOfTable());

    // A table read row by row (without a row count first) gives the same
    // rows; asking for the count midway keeps the position.
    TablePtr streamed = contacts->GetTable();
    EXPECT_EQ(streamed->GetNextRow()->Item(1).toString(), c->EntryID());
    EXPECT_EQ(streamed->GetRowCount(), 2);
    EXPECT_EQ(streamed->GetNextRow()->Item(7).toString(), u"Adler"_s);
    EXPECT_TRUE(streamed->EndOfTable());
    TablePtr filtered = contacts->GetTable(u"[LastName] = 'Adler'"_s);
    EXPECT_FALSE(filtered->EndOfTable());
    filtered->GetNextRow();
    EXPECT_TRUE(filtered->EndOfTable());
    filtered->MoveToStart();
    EXPECT_FALSE(filtered->EndOfTable());

    TablePtr calendar = ns->GetDefaultFolder(olFolderCalendar)->GetTable();
    EXPECT_EQ(calendar->Columns()->Name(6), u"Start"_s);
    EXPECT_EQ(calendar->Columns()->Name(8), u"IsRecurring"_s);
}

TEST_F(PimFilters, TableSortByComputedProperty) {
    contact(u"Hans"_s, u"Meier"_s, u"Zeta"_s);
    contact(u"Anna"_s, u"Schulz"_s, QString());
    contact(QString(), QString(), u"Alpha AG"_s);
    TablePtr table = contacts->GetTable(u"[LastName] <> 'Schulz'"_s);
    table->Sort(u"[FullNameAndCompany]"_s);
    QStringList order;
    while (!table->EndOfTable()) {
        RowPtr r = table->GetNextRow();
        order << r->Item(8).toString();
    }
    EXPECT_EQ(order, (QStringList{u"Alpha AG"_s, u"Zeta"_s}));
}

} // namespace
