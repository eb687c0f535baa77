// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Items through the Outlook interface: properties, computed contact
// properties, user properties, links, saving, closing, deleting, windows,
// the rich body and the journal timer.
#include "outlook/application.h"
#include "outlook/document.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <functional>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::outlook;

namespace {

class PimItems : public ::testing::Test {
protected:
    tlm::test::TestEnv env;
    tlm::pim::Store store{env.pimPath()}; // made here: attaching makes none
    ApplicationPtr app = attach();
    NamespacePtr ns = app->GetNamespace(u"MAPI"_s);

    ItemPtr newContact(const QString& first, const QString& last, const QString& company = {}) {
        ItemPtr c = ns->GetDefaultFolder(olFolderContacts)->Items()->Add();
        c->set(u"FirstName"_s, first);
        c->set(u"LastName"_s, last);
        c->set(u"CompanyName"_s, company);
        c->Save();
        return c;
    }
};

TEST_F(PimItems, ComputedContactPropertiesFollowTheirParts) {
    ItemPtr c = newContact(u"Hans"_s, u"Meier"_s, u"Meier & Söhne GmbH"_s);
    EXPECT_EQ(c->Class(), olContact);
    EXPECT_EQ(c->text(u"FullName"_s), u"Hans Meier"_s);
    EXPECT_EQ(c->text(u"LastNameAndFirstName"_s), u"Meier, Hans"_s);
    EXPECT_EQ(c->text(u"FullNameAndCompany"_s), u"Hans Meier\r\nMeier & Söhne GmbH"_s);
    c->set(u"CompanyName"_s, QString());
    EXPECT_EQ(c->text(u"FullNameAndCompany"_s), u"Hans Meier"_s);
    c->set(u"FirstName"_s, QString());
    EXPECT_EQ(c->text(u"LastNameAndFirstName"_s), u"Meier"_s);

    // Composed addresses leave out empty parts and can be assigned whole.
    c->set(u"HomeAddressStreet"_s, u"Gartenweg 5"_s);
    c->set(u"HomeAddressCity"_s, u"Köln"_s);
    EXPECT_EQ(c->text(u"HomeAddress"_s), u"Gartenweg 5\r\nKöln"_s);
    c->set(u"HomeAddressPostalCode"_s, u"50667"_s);
    c->set(u"HomeAddressCountry"_s, u"Deutschland"_s);
    EXPECT_EQ(c->text(u"HomeAddress"_s), u"Gartenweg 5\r\n50667 Köln\r\nDeutschland"_s);
    c->set(u"OtherAddress"_s, u"Ringstr. 3\r\nA-1010 Wien\r\nÖsterreich"_s);
    EXPECT_EQ(c->text(u"OtherAddressPostalCode"_s), u"A-1010"_s);
    EXPECT_EQ(c->text(u"OtherAddressCity"_s), u"Wien"_s);
    EXPECT_EQ(c->text(u"OtherAddressCountry"_s), u"Österreich"_s);
    c->set(u"BusinessAddress"_s, u"Postfach 12\r\n80331 München"_s);
    EXPECT_EQ(c->text(u"BusinessAddressStreet"_s), u"Postfach 12"_s);
    EXPECT_EQ(c->text(u"BusinessAddressCountry"_s), QString());

    EXPECT_THROW(c->set(u"LastNameAndFirstName"_s, u"x"_s), tlm::Error);
    try {
        c->get(u"Location"_s); // an appointment property
        FAIL();
    } catch (const tlm::Error& e) {
        EXPECT_EQ(e.number(), 438);
    }
}

TEST_F(PimItems, PropertiesRoundTripThroughTheStore) {
    ItemPtr c = newContact(u"Eva"_s, u"Schulz"_s);
    const QString id = c->EntryID();
    c->set(u"CarTelephonenumber"_s, u"+49 171 555"_s);
    c->set(u"Journal"_s, true);
    c->set(u"User3"_s, u"Stammkunde"_s);
    c->set(u"SelectedMailingAddress"_s, 2);
    c->Save();
    EXPECT_EQ(c->EntryID(), id); // stable across saves

    ItemPtr again = attach()->GetNamespace(u"MAPI"_s)->GetItemFromID(id);
    EXPECT_EQ(again->text(u"CarTelephoneNumber"_s), u"+49 171 555"_s);
    EXPECT_TRUE(again->flag(u"Journal"_s));
    EXPECT_EQ(again->text(u"User3"_s), u"Stammkunde"_s);
    EXPECT_EQ(again->number(u"SelectedMailingAddress"_s), 2);
    EXPECT_EQ(again->text(u"HomeTelephoneNumber"_s), QString());
    EXPECT_EQ(again->Parent()->Name(), u"Kontakte"_s);
    EXPECT_EQ(ns->GetItemFromID(id, c->Parent()->StoreID())->EntryID(), id);

    try {
        ns->GetItemFromID(u"00DEADBEEF"_s);
        FAIL();
    } catch (const tlm::Error& e) {
        EXPECT_EQ(e.number(), tlm::pim::NotFound);
    }
    EXPECT_THROW(ns->GetItemFromID(QString()), tlm::Error);
    EXPECT_THROW(ns->GetItemFromID(id, u"0011"_s), tlm::Error);
    EXPECT_THROW(ns->GetFolderFromID(QString()), tlm::Error);
}

TEST_F(PimItems, NewItemsOfEachKindLandInTheirDefaultFolders) {
    ItemPtr mail = app->CreateItem(olMailItem);
    ItemPtr appointment = app->CreateItem(olAppointmentItem);
    ItemPtr task = app->CreateItem(olTaskItem);
    ItemPtr journal = app->CreateItem(olJournalItem);
    EXPECT_EQ(mail->Class(), olMail);
    EXPECT_EQ(appointment->Class(), olAppointment);
    EXPECT_EQ(task->Class(), olTask);
    EXPECT_EQ(journal->Class(), olJournal);
    EXPECT_TRUE(journal->EntryID().isEmpty()); // not saved yet
    EXPECT_THROW(app->CreateItem(7), tlm::Error);
    EXPECT_THROW(app->GetNamespace(u"IMAP"_s), tlm::Error);

    mail->set(u"To"_s, u"eva@example.de; hans@example.de"_s);
    ASSERT_EQ(mail->Recipients().size(), 2);
    EXPECT_EQ(mail->Recipients()[1].Name, u"hans@example.de"_s);
    mail->Save();
    EXPECT_EQ(mail->Parent()->Name(), u"Entwürfe"_s);

    appointment->set(u"Start"_s, u"05.12.2026 14:30"_s);
    appointment->set(u"Duration"_s, 45);
    EXPECT_EQ(appointment->date(u"End"_s), QDateTime(QDate(2026, 12, 5), QTime(15, 15)));
    appointment->set(u"ReminderSet"_s, false);
    appointment->set(u"Location"_s, u"Telefon/Remote"_s);
    appointment->Save();
    EXPECT_EQ(appointment->Parent()->Name(), u"Kalender"_s);
    EXPECT_EQ(ns->GetDefaultFolder(olFolderCalendar)->Items()->Count(), 1);

    task->set(u"DueDate"_s, QDate(2026, 12, 24));
    task->set(u"ReminderTime"_s, u"24.12.2026 09:00"_s);
    task->Save();
    EXPECT_EQ(ns->GetItemFromID(task->EntryID())->date(u"ReminderTime"_s),
              QDateTime(QDate(2026, 12, 24), QTime(9, 0)));
    EXPECT_THROW(task->set(u"DueDate"_s, u"morgen"_s), tlm::Error);
}

TEST_F(PimItems, UserPropertiesAndLinks) {
    ItemPtr contact = newContact(u"Eva"_s, u"Schulz"_s);
    ItemPtr journal = app->CreateItem(olJournalItem);
    auto props = journal->UserProperties();
    props->Add(u"CallNumber"_s, 1);
    props->setValue(u"CallNumber"_s, u"030123456"_s);
    props->Add(u"PCALLID"_s, 1);
    props->setValue(u"pcallid"_s, u"ABC-1"_s);
    props->Add(u"CallNumber"_s, 1); // already there: kept
    EXPECT_EQ(props->Count(), 2);
    EXPECT_EQ(props->Name(2), u"PCALLID"_s);
    EXPECT_THROW(props->Value(u"CID"_s), tlm::Error);
    EXPECT_THROW(props->setValue(u"CID"_s, u"x"_s), tlm::Error);

    ItemPtr unsaved = ns->GetDefaultFolder(olFolderContacts)->Items()->Add();
    EXPECT_THROW(journal->Links()->Add(unsaved), tlm::Error);
    EXPECT_THROW(journal->Links()->Add(journal), tlm::Error);
    journal->Links()->Add(contact);
    journal->Links()->Add(contact);
    journal->Save();

    ItemPtr again = ns->GetItemFromID(journal->EntryID());
    EXPECT_EQ(again->UserProperties()->Value(u"CallNumber"_s), u"030123456"_s);
    ASSERT_EQ(again->Links()->Count(), 1);
    EXPECT_EQ(again->Links()->Item(1)->text(u"LastName"_s), u"Schulz"_s);
}

TEST_F(PimItems, CloseModesDeleteAndWindows) {
    ItemPtr c = newContact(u"Eva"_s, u"Schulz"_s);
    InspectorPtr window = c->GetInspector();
    window->Display();
    window->setWindowState(olNormalWindow);
    window->setLeft(100);
    window->setTop(50);
    window->setWidth(640);
    window->setHeight(480);

    tlm::pim::Store raw;
    tlm::pim::InspectorState state = raw.item(c->EntryID()).inspector;
    EXPECT_TRUE(state.open);
    EXPECT_TRUE(state.active);
    EXPECT_EQ(state.left, 100);
    EXPECT_EQ(state.height, 480);

    // Another window becomes the active one.
    ItemPtr other = newContact(u"Max"_s, u"Muster"_s);
    other->GetInspector()->Activate();
    EXPECT_FALSE(raw.item(c->EntryID()).inspector.active);
    EXPECT_TRUE(raw.item(other->EntryID()).inspector.active);

    c->set(u"LastName"_s, u"Verworfen"_s);
    c->Close(olDiscard);
    EXPECT_FALSE(raw.item(c->EntryID()).inspector.open);
    EXPECT_EQ(ns->GetItemFromID(c->EntryID())->text(u"LastName"_s), u"Schulz"_s);
    EXPECT_EQ(c->text(u"LastName"_s), u"Schulz"_s);

    c->set(u"LastName"_s, u"Gespeichert"_s);
    c->Close(olPromptForSave); // answered with its default button, Yes
    EXPECT_EQ(ns->GetItemFromID(c->EntryID())->text(u"LastName"_s), u"Gespeichert"_s);

    other->Close(olSave);
    const QString id = other->EntryID();
    other->Delete();
    EXPECT_THROW(other->Save(), tlm::Error);
    ItemPtr moved = ns->GetItemFromID(id);
    EXPECT_EQ(moved->Parent()->Name(), u"Gelöschte Elemente"_s);
    EXPECT_EQ(ns->GetDefaultFolder(olFolderContacts)->Items()->Count(), 1);
    moved->Delete(); // from Gelöschte Elemente: gone for good
    EXPECT_THROW(ns->GetItemFromID(id), tlm::Error);
}

TEST_F(PimItems, RichBodyBecomesHtmlAndPlainBodyOnSave) {
    ItemPtr journal = app->CreateItem(olJournalItem);
    journal->setSubject(u"Anruf von "_s);
    InspectorPtr inspector = journal->GetInspector();
    EXPECT_EQ(inspector->EditorType(), olEditorWord);
    DocumentPtr doc = inspector->WordEditor();
    SelectionPtr sel = doc->Selection();
    sel->Move(wdStory, -1);
    sel->AddTabStop(57);
    sel->AddTabStop(113);
    sel->setFontName(u"Arial"_s);
    sel->setFontSize(10);
    sel->setFontBold(false);
    sel->TypeText(u"Rufnummer:\t"_s);
    doc->AddHyperlink(sel->Range(), u"tel://030123456"_s, {}, {}, u"030123456"_s);
    EXPECT_EQ(sel->MoveLeft(wdWord, 1, 1), 1);
    EXPECT_EQ(sel->Text(), u"030123456"_s); // the link is one word
    sel->setFontName(u"Arial"_s);
    sel->Move(wdLine, 1);
    sel->TypeParagraph();
    sel->TypeParagraph();
    sel->TypeText(u"Kunden-Nr.:\tK-17 <vip> & Co"_s);
    sel->TypeParagraph();
    journal->Save();

    ItemPtr saved = ns->GetItemFromID(journal->EntryID());
    EXPECT_EQ(saved->Body(), u"Rufnummer:\t030123456\r\n\r\nKunden-Nr.:\tK-17 <vip> & Co\r\n"_s);
    const QString html = saved->text(u"HTMLBody"_s);
    EXPECT_TRUE(html.contains(u"<a href=\"tel://030123456\">"_s)) << html.toStdString();
    EXPECT_TRUE(html.contains(u"font-family:'Arial';font-size:10.0pt"_s));
    EXPECT_TRUE(html.contains(u"tab-stops: left 57.0pt left 113.0pt"_s));
    EXPECT_TRUE(html.contains(u"K-17 &lt;vip&gt; &amp; Co"_s));

    // With the plain editor the body is written directly.
    tlm::pim::Store(env.pimPath()).setEditorType(1);
    ItemPtr plain = app->CreateItem(olJournalItem);
    EXPECT_EQ(plain->GetInspector()->EditorType(), olEditorText);
    plain->GetInspector()->WordEditor(); // taken but not used
    plain->setBody(plain->Body() + u"Rufnummer:\ttel://0301\r\n"_s);
    plain->Save();
    EXPECT_EQ(ns->GetItemFromID(plain->EntryID())->Body(), u"Rufnummer:\ttel://0301\r\n"_s);
}

TEST_F(PimItems, JournalTimerRunsAcrossConnections) {
    tlm::clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 30, 10)));
    ItemPtr journal = app->CreateItem(olJournalItem);
    journal->Starttimer();
    journal->Save();
    const QString id = journal->EntryID();
    EXPECT_EQ(journal->date(u"Start"_s), QDateTime(QDate(2026, 12, 5), QTime(14, 30, 10)));

    tlm::clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 37, 5)));
    ApplicationPtr later = attach(); // another connection, as a later process has
    ItemPtr same = later->GetNamespace(u"MAPI"_s)->GetItemFromID(id);
    same->StopTimer();
    EXPECT_EQ(same->number(u"Duration"_s), 6);
    same->StopTimer(); // stopping again changes nothing
    EXPECT_EQ(same->number(u"Duration"_s), 6);
    same->Save();
    EXPECT_EQ(ns->GetItemFromID(id)->date(u"End"_s),
              QDateTime(QDate(2026, 12, 5), QTime(14, 36, 10)));
    EXPECT_THROW(newContact(u"a"_s, u"b"_s)->Starttimer(), tlm::Error);
}

// A process that holds an item and saves it without touching its body keeps
// the body as it is stored by then (notes written into the item's window
// meanwhile); one that wrote the body saves its own.
TEST_F(PimItems, SavingKeepsABodyWrittenElsewhereMeanwhile) {
    ItemPtr journal = app->CreateItem(olJournalItem);
    journal->set(u"Body"_s, u"Anruf"_s);
    journal->Starttimer();
    journal->Save();
    const QString id = journal->EntryID();
    ItemPtr held = attach()->GetNamespace(u"MAPI"_s)->GetItemFromID(id);
    ItemPtr writer = attach()->GetNamespace(u"MAPI"_s)->GetItemFromID(id);
    writer->set(u"Body"_s, u"Anruf\r\nNotiz"_s);
    writer->Save();
    held->StopTimer();
    held->Save();
    ItemPtr now = ns->GetItemFromID(id);
    EXPECT_EQ(now->text(u"Body"_s), u"Anruf\r\nNotiz"_s);
    EXPECT_FALSE(now->text(u"Duration"_s).isEmpty());
    held->set(u"Body"_s, u"Neu"_s);
    held->Save();
    EXPECT_EQ(ns->GetItemFromID(id)->text(u"Body"_s), u"Neu"_s);
}

TEST_F(PimItems, ShownUnsavedItemsStayAsDraftsOutsideTheFolderOperations) {
    const auto callItems = [&](int folder) {
        FolderPtr f = ns->GetDefaultFolder(folder);
        TablePtr table = f->GetTable(u"[PCALLID] = '4711'"_s, 0);
        return std::pair{f->Items()->Count(), !table->EndOfTable()};
    };
    QString draftId;
    {
        ItemPtr appointment = app->CreateItem(olAppointmentItem);
        appointment->set(u"Subject"_s, u"Anruf von Eva"_s);
        appointment->UserProperties()->Add(u"PCALLID"_s, 1);
        appointment->UserProperties()->setValue(u"PCALLID"_s, u"4711"_s);
        appointment->Display();
        appointment->set(u"Location"_s, u"Telefon/Remote"_s); // after showing it
        EXPECT_TRUE(appointment->EntryID().isEmpty());
        EXPECT_EQ(ns->GetDefaultFolder(olFolderCalendar)->Items()->Find(u"[PCALLID] = '4711'"_s),
                  nullptr);
    } // the process lets go of it
    tlm::pim::Store raw;
    const QString calendar = raw.defaultFolder(olFolderCalendar).entryId;
    ASSERT_EQ(raw.drafts(calendar).size(), 1);
    const tlm::pim::ItemRecord draft = raw.drafts(calendar).first();
    draftId = draft.entryId;
    EXPECT_TRUE(draft.unsaved);
    EXPECT_TRUE(draft.inspector.open);
    EXPECT_EQ(draft.properties.value(u"Location"_s).toString(), u"Telefon/Remote"_s);
    EXPECT_EQ(callItems(olFolderCalendar), (std::pair{0, false}));

    // Saved later (as its window does), it becomes an ordinary item.
    ItemPtr again = attach()->GetNamespace(u"MAPI"_s)->GetItemFromID(draftId);
    EXPECT_TRUE(again->EntryID().isEmpty());
    again->Save();
    EXPECT_EQ(again->EntryID(), draftId);
    EXPECT_TRUE(raw.drafts(calendar).isEmpty());
    EXPECT_EQ(callItems(olFolderCalendar), (std::pair{1, true}));

    // A discarded draft is gone; a mail draft waits in "Entwürfe".
    ItemPtr task = app->CreateItem(olTaskItem);
    task->Display();
    task->Close(olDiscard);
    EXPECT_TRUE(raw.drafts(raw.defaultFolder(olFolderTasks).entryId).isEmpty());
    app->CreateItem(olMailItem)->Display();
    EXPECT_EQ(raw.drafts(raw.defaultFolder(olFolderDrafts).entryId).size(), 1);
}

TEST_F(PimItems, ItemsOfAReadOnlyFolderCanBeReadButNotChanged) {
    tlm::pim::Store raw;
    const tlm::pim::FolderInfo shared = raw.addFolder(
        raw.stores().first().storeId, QString(), u"Team"_s, tlm::pim::FolderKind::Contact, true);
    tlm::pim::ItemRecord record;
    record.properties = {{u"LastName"_s, u"Schulz"_s}};
    const QString id = raw.addItem(shared.entryId, record);

    ItemPtr contact = ns->GetItemFromID(id);
    EXPECT_EQ(contact->text(u"LastName"_s), u"Schulz"_s);
    contact->set(u"LastName"_s, u"Meier"_s);
    for (const auto& write :
         {std::function<void()>([&] { contact->Save(); }),
          std::function<void()>([&] { contact->Delete(); }), std::function<void()>([&] {
              ns->GetFolderFromID(shared.entryId, shared.storeId)->Items()->Add()->Save();
          })}) {
        try {
            write();
            ADD_FAILURE() << "a write went through";
        } catch (const tlm::Error& e) {
            EXPECT_EQ(e.number(), tlm::pim::NoPermission);
        }
    }
    EXPECT_EQ(raw.item(id).properties.value(u"LastName"_s).toString(), u"Schulz"_s);
    EXPECT_EQ(raw.itemIds(shared.entryId).size(), 1);
}

TEST_F(PimItems, FoldersAndDialogsAnsweredAtOnce) {
    FolderPtr contacts = ns->GetDefaultFolder(olFolderContacts);
    EXPECT_EQ(contacts->DefaultItemType(), olContactItem);
    EXPECT_EQ(contacts->DefaultMessageClass(), u"IPM.Contact"_s);
    EXPECT_EQ(ns->GetDefaultFolder(olFolderJournal)->DefaultItemType(), olJournalItem);
    EXPECT_EQ(ns->GetDefaultFolder(olFolderCalendar)->DefaultItemType(), olAppointmentItem);
    EXPECT_EQ(contacts->FolderPath(), u"\\\\Persönliche Ordner\\Kontakte"_s);
    FolderPtr same = ns->GetFolderFromID(contacts->EntryID(), contacts->StoreID());
    EXPECT_EQ(same->Name(), u"Kontakte"_s);
    EXPECT_THROW(ns->GetFolderFromID(contacts->EntryID(), u"00AA"_s), tlm::Error);
    EXPECT_THROW(ns->GetDefaultFolder(99), tlm::Error);
    EXPECT_EQ(ns->PickFolder(), nullptr);
    SelectNamesDialogPtr names = ns->GetSelectNamesDialog();
    names->setShowOnlyInitialAddressList(true);
    EXPECT_FALSE(names->Display());
    EXPECT_TRUE(names->Recipients().isEmpty());
}

TEST(PimAttach, UnreachableStoreGives429) {
    tlm::test::TestEnv env;
    QDir().mkpath(env.root() + u"folder.sqlite"_s); // a folder where the file should be
    { const tlm::pim::Store made(env.pimPath()); }
    try {
        attach(env.root() + u"folder.sqlite"_s);
        FAIL();
    } catch (const tlm::Error& e) {
        EXPECT_EQ(e.number(), 429);
    }
    EXPECT_EQ(attach()->Version(), u"16.0.0.0"_s);
}

} // namespace
