// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The context-menu entries: the contact shown or the reconciliation window
// offered, the call filed as appointment, task, journal entry or e-mail, an
// item filed before shown again; and the working-day slots they use.
#include "core/environment.h"
#include "core/interactiveitems.h"
#include "core/workday.h"
#include "store/pimstore.h"
#include "tests/core/callfixture.h"

using namespace tlm;
using namespace tlm::outlook;
using namespace tlm::test;

namespace {
class Interactive : public CallFixture {
protected:
    // Runs a menu entry and returns the item it built or showed.
    ItemPtr entry(Event e, ItemPtr* contact = nullptr) {
        ItemPtr item;
        runEvent(e, [&](tlm::Run& run) {
            item = run.currentItem;
            if (contact)
                *contact = run.lookup.currentContact;
        });
        return item;
    }
    static Event menu(const QString& number, const QString& entry) {
        Event e{u"ctiwindow"_s, number};
        e.menu = entry;
        return e;
    }
    // A saved item of this call in a default folder, as an earlier run left it.
    QString fileItem(int itemType, const QString& id = callId) {
        ItemPtr item = attach()->CreateItem(itemType);
        item->UserProperties()->Add(u"PCALLID"_s, 1);
        item->UserProperties()->setValue(u"PCALLID"_s, id);
        item->setSubject(u"früher abgelegt"_s);
        item->Save();
        return item->EntryID();
    }
};

QDateTime moment(int y, int mo, int d, int h, int mi) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi));
}
} // namespace

TEST(WorkDay, NextSlotWithinTheWorkingDay) {
    const WorkDayOptions defaults;
    // Wednesday 2026-12-02
    EXPECT_EQ(fncNextWortAppointment(moment(2026, 12, 2, 10, 20), 1, defaults),
              moment(2026, 12, 2, 11, 0));
    EXPECT_EQ(fncNextWortAppointment(moment(2026, 12, 2, 16, 30), 1, defaults),
              moment(2026, 12, 2, 17, 0));
    EXPECT_EQ(fncNextWortAppointment(moment(2026, 12, 2, 6, 10), 1, defaults),
              moment(2026, 12, 2, 8, 0));
    // Friday evening gives Monday morning
    EXPECT_EQ(fncNextWortAppointment(moment(2026, 12, 4, 17, 5), 1, defaults),
              moment(2026, 12, 7, 8, 0));
    // Saturdays only (2); a value of only bit 1 leaves the slot of the day
    EXPECT_EQ(fncNextWortAppointment(moment(2026, 12, 2, 10, 20), 1, {480, 1020, 2}),
              moment(2026, 12, 5, 11, 0));
    EXPECT_EQ(fncNextWortAppointment(moment(2026, 12, 2, 10, 20), 1, {480, 1020, 1}),
              moment(2026, 12, 2, 11, 0));
    clock::setFixed(moment(2026, 12, 2, 9, 45));
    EXPECT_EQ(fncNextWortAppointment({}, 1, defaults), moment(2026, 12, 2, 10, 0));
    clock::setFixed(std::nullopt);
    EXPECT_EQ(fncReminderTime(defaults), u"08:00"_s);
    EXPECT_EQ(fncReminderTime({510, 1020, 124}), u"08:30"_s);
}

TEST(WorkDay, OutlooksCalendarOptionsWithTheirDefaults) {
    TestEnv env;
    Environment e;
    e.outlookMajor = 16;
    const QString key =
        u"[HKEY_CURRENT_USER\\SOFTWARE\\Microsoft\\Office\\16.0\\Outlook\\Options\\Calendar]\r\n"_s;
    env.writeRegistry(u"REGEDIT4\r\n\r\n"_s + key +
                      u"\"CalDefStart\"=dword:0000021c\r\n\"WorkDay\"=dword:0000007e\r\n"_s);
    WorkDayOptions o = readWorkDayOptions(e);
    EXPECT_EQ(std::tuple(o.dayStart, o.dayEnd, o.workDays), std::tuple(540, 1020, 126));
    for (const char* days : {"00000000", "000000ff"}) {
        env.writeRegistry(u"REGEDIT4\r\n\r\n"_s + key + u"\"WorkDay\"=dword:"_s +
                          QString::fromLatin1(days) + u"\r\n"_s);
        EXPECT_EQ(readWorkDayOptions(e).workDays, 124);
    }
}

TEST_F(Interactive, EntryOneShowsTheContactOrOffersTheReconciliationWindow) {
    ItemPtr contact;
    entry(menu(becker, u"1"_s), &contact);
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->EntryID(), beckerId);
    EXPECT_TRUE(store().item(beckerId).inspector.open);
    EXPECT_TRUE(logged(u"31000|Kontextmenü-Eintrag 1 - Outlook-Kontakt anzeigen"_s));

    // unknown caller: the question is answered No (its default)
    bool opened = false;
    setCallDialogs({.contactReconciliation = [&](tlm::Run&) { return opened = true; }});
    const QString id = u"5F3A9C21-0009-0001"_s;
    Event unknown = menu(u"089123"_s, u"1"_s);
    unknown.id = id;
    runEvent(unknown);
    EXPECT_FALSE(opened);
    EXPECT_TRUE(logged(u"31980|...vom Bentzer abgebrochen - keine Auswahl getroffen"_s, id));
    EXPECT_EQ(callLog(id).filter(u"31990|*** Event-Ende"_s).size(), 1);
}

TEST_F(Interactive, EntryTwoFilesTheCallAsAnAppointmentWithItsDuration) {
    Event e = menu(becker, u"2"_s);
    e.duration = u"3903"_s;
    ItemPtr a = entry(e);
    ASSERT_TRUE(a);
    EXPECT_EQ(a->Class(), olAppointment);
    EXPECT_TRUE(a->EntryID().isEmpty()); // left for the user to save
    EXPECT_EQ(a->Subject(), u"Anruf von Becker, Thomas (Geschäftlich 03012345678): "_s);
    EXPECT_EQ(a->date(u"Start"_s), moment(2026, 12, 5, 14, 3));
    EXPECT_EQ(a->date(u"End"_s), QDateTime(QDate(2026, 12, 5), QTime(15, 8, 23)));
    EXPECT_EQ(a->text(u"Location"_s), u"Telefon/Remote"_s);
    EXPECT_FALSE(a->flag(u"ReminderSet"_s));
    EXPECT_EQ(a->UserProperties()->Value(u"PCALLID"_s), callId);
    EXPECT_TRUE(logged(u"32000|Kontextmenü-Eintrag 2 - ...als Termin"_s));

    // an unanswered call: "versuchter", start and end equal, no duration line
    Event missed = menu(u"089123"_s, u"2"_s);
    missed.state = u"absence"_s;
    missed.id = u"5F3A9C21-0009-0002"_s;
    ItemPtr m = entry(missed);
    EXPECT_EQ(m->Subject(), u"versuchter Anruf von 089123: "_s);
    EXPECT_EQ(m->date(u"Start"_s), m->date(u"End"_s));
}

TEST_F(Interactive, TheDurationLineOpensThePlainBody) {
    Event e = menu(becker, u"2"_s);
    e.duration = u"3903"_s;
    EXPECT_TRUE(entry(e)->Body().startsWith(
        u"Gesprächsdauer:\t1 Stunde 5 Minuten 3 Sekunden\r\nRufnummer:\ttel://03012345678\r\n\r\n"_s));
}

TEST_F(Interactive, AFiledItemIsShownAgainButANewAppointmentIsAlwaysNew) {
    const QString filed = fileItem(olAppointmentItem);
    ItemPtr shown = entry(menu(becker, u"2"_s));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->EntryID(), filed);
    EXPECT_TRUE(store().item(filed).inspector.open);
    EXPECT_TRUE(logged(u"30030|...gefunden und anzeigen"_s));

    ItemPtr fresh = entry(menu(becker, u"3"_s));
    ASSERT_TRUE(fresh);
    EXPECT_TRUE(fresh->EntryID().isEmpty());
    EXPECT_FALSE(fresh->UserProperties()->Contains(u"PCALLID"_s));
    // the follow-up takes the contact's address as its place
    EXPECT_EQ(fresh->text(u"Location"_s), u"Hauptstr. 5, 10115 Berlin"_s);
    EXPECT_EQ(fresh->date(u"Start"_s).time().minute(), 0);

    // an empty call id finds nothing, not even an item filed without one
    fileItem(olTaskItem, QString());
    Event anonymous = menu(becker, u"4"_s);
    anonymous.id.clear();
    ItemPtr task = entry(anonymous);
    ASSERT_TRUE(task);
    EXPECT_TRUE(task->EntryID().isEmpty());
}

TEST_F(Interactive, TheTaskIsDueTwoDaysLaterWithAReminderTheDayBefore) {
    set(u"Callback"_s, u"0"_s);
    Event e = menu(becker, u"4"_s);
    e.duration = u"0"_s;
    ItemPtr t = entry(e);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->Class(), olTask);
    EXPECT_EQ(t->date(u"StartDate"_s).date(), QDate(2026, 12, 5));
    EXPECT_EQ(t->date(u"DueDate"_s).date(), QDate(2026, 12, 7));
    EXPECT_TRUE(t->flag(u"ReminderSet"_s));
    EXPECT_EQ(t->date(u"ReminderTime"_s), moment(2026, 12, 6, 8, 0));
    // without Callback the body starts with the address line
    EXPECT_TRUE(t->Body().startsWith(u"Geschäftlich:\tHauptstr. 5, 10115 Berlin\r\n"_s));
    EXPECT_TRUE(logged(u"34101|...evtl. vorhandenes Aufgaben-Element ermitteln..."_s));

    // filed before: shown again, nothing new
    const QString filed = fileItem(olTaskItem);
    EXPECT_EQ(entry(e)->EntryID(), filed);
}

TEST_F(Interactive, TheJournalEntryCoversTheCall) {
    Event e = menu(u"089123"_s, u"5"_s);
    e.duration = u"125"_s;
    ItemPtr j = entry(e);
    ASSERT_TRUE(j);
    EXPECT_EQ(j->Class(), olJournal);
    EXPECT_EQ(j->date(u"Start"_s).secsTo(j->date(u"End"_s)), 125);
    EXPECT_TRUE(logged(u"35140|...Gesprächsdauer (1)"_s));
    EXPECT_TRUE(j->Body().startsWith(u"Gesprächsdauer:\t2 Minuten 5 Sekunden\r\n"_s));
}

TEST_F(Interactive, TheMailIsAddressedAndTitledAfterTheCall) {
    ItemPtr contact = attach()->GetNamespace(u"MAPI"_s)->GetItemFromID(beckerId);
    contact->set(u"Email1Address"_s, u"t.becker@example.de"_s);
    contact->Save();

    Event fromContact{u"contact"_s, becker};
    fromContact.menu = u"6"_s;
    ItemPtr m = entry(fromContact);
    ASSERT_TRUE(m);
    EXPECT_EQ(m->text(u"To"_s), u"t.becker@example.de"_s);
    EXPECT_EQ(m->Subject(), u"Telefonat..."_s);
    EXPECT_EQ(m->UserProperties()->Value(u"CID"_s), beckerId);
    EXPECT_EQ(m->text(u"Categories"_s), u"Kunde"_s);
    EXPECT_EQ(m->Body(), u"Rufnummer:\ttel://03012345678\r\n\r\n"_s);

    set(u"Mailaddressee"_s, u"zentrale@example.de"_s);
    set(u"Callback"_s, u"0"_s); // the mail's number line does not ask
    Event missed{u"callerlog"_s, u"089123"_s};
    missed.menu = u"6"_s;
    missed.state = u"absence"_s;
    missed.id = u"5F3A9C21-0009-0003"_s;
    m = entry(missed);
    EXPECT_EQ(m->text(u"To"_s), u"zentrale@example.de"_s);
    EXPECT_EQ(m->Subject(), u"versuchter Anruf am 05.12.2026 um 14:03 Uhr"_s);
    EXPECT_EQ(m->Body(), u"Rufnummer:\ttel://089123\r\n\r\n"_s);
}

TEST_F(Interactive, SeveralContactsAreChosenInTheChoiceWindow) {
    int asked = 0;
    setCallDialogs({.contactChoice = [&](tlm::Run& run) {
        ++asked;
        return ContactChoice{ContactChoice::Kind::Chosen, klausId,
                             run.mapi->GetItemFromID(klausId), run.lookup.matchedField, true};
    }});
    ItemPtr contact;
    entry(menu(wagner, u"1"_s), &contact);
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(contact);
    EXPECT_EQ(contact->EntryID(), klausId);

    EXPECT_TRUE(logged(u"30200|...Outlook-Kontakt: Klaus Wagner"_s));
}

TEST(CallIdFilter, AQuoteCannotChangeTheFiltersMeaning) {
    TestEnv env;
    EXPECT_EQ(callIdFilter(u"a'b"_s), u"[PCALLID]='a''b'"_s);
    { const pim::Store made(env.pimPath()); }
    ApplicationPtr app = attach();
    FolderPtr tasks = app->GetNamespace(u"MAPI"_s)->GetDefaultFolder(olFolderTasks);
    for (const QString& id : {u"x' OR '1'='1"_s, u"other"_s}) {
        ItemPtr t = tasks->Items()->Add();
        t->UserProperties()->Add(u"PCALLID"_s, 1);
        t->UserProperties()->setValue(u"PCALLID"_s, id);
        t->Save();
    }
    ItemPtr found = tasks->Items()->Find(callIdFilter(u"x' OR '1'='1"_s));
    ASSERT_TRUE(found);
    EXPECT_EQ(found->UserProperties()->Value(u"PCALLID"_s), u"x' OR '1'='1"_s);
    EXPECT_FALSE(tasks->Items()->Find(callIdFilter(u"y' OR '1'='1"_s)));
}
