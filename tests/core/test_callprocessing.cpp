// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The automatic processing of call events: the contact shown, the call
// journaled with its subject, user properties, link and body, the items
// completed, closed or deleted at the end of the call.
#include "tests/core/callfixture.h"

using namespace tlm;
using namespace tlm::outlook;
using namespace tlm::test;

namespace {
using CallProcessing = CallFixture;
} // namespace

TEST_F(CallProcessing, AnAnsweredCallLeavesAJournalEntryWithSubjectLinkAndPlainBody) {
    set(u"olUser1Print"_s, u"1"_s);
    set(u"olUser1"_s, u"Tarif"_s);
    set(u"olUser2Print"_s, u"1"_s);
    set(u"olUser2"_s, u"Web"_s);
    set(u"olUser2Link"_s, u"1"_s);
    set(u"olUser3"_s, u"Notiz"_s);
    set(u"JournalCategory"_s, u"1"_s);
    answeredCall();

    const pim::ItemRecord j = only(olFolderJournal);
    EXPECT_EQ(j.properties.value(u"Subject"_s).toString(),
              u"Anruf von Becker, Thomas (Geschäftlich 03012345678): "_s);
    EXPECT_EQ(j.body, u"Rufnummer:\ttel://03012345678\r\n"
                      u"\r\n"
                      u"Geschäftlich:\tHauptstr. 5, 10115 Berlin\r\n"
                      u"Kunden-Nr.:\tK-1001\r\n"
                      u"\r\n"
                      u"Tarif: \tPremium\r\n"
                      u"Web: \t\"https://becker.example\"\r\n"
                      u"\r\n"_s);
    EXPECT_EQ(userProperty(j, u"CallNumber"_s), becker);
    EXPECT_EQ(userProperty(j, u"PCALLID"_s), callId);
    EXPECT_TRUE(
        userProperty(j, u"Tellmar"_s).contains(QRegularExpression(u"^\\d+\\.\\d+\\.\\d{4}$"_s)));
    EXPECT_EQ(userProperty(j, u"CID"_s), beckerId);
    EXPECT_EQ(j.links, QStringList{beckerId});
    EXPECT_EQ(j.properties.value(u"Companies"_s).toString(), u"Becker Haustechnik"_s);
    EXPECT_EQ(j.properties.value(u"BillingInformation"_s).toString(), u"Stunden"_s);
    EXPECT_EQ(j.properties.value(u"Categories"_s).toString(), u"Kunde"_s);
    // the timer ran from connect (14:03:40) to finished (14:09:02)
    EXPECT_EQ(j.properties.value(u"Duration"_s).toInt(), 5);
    EXPECT_FALSE(j.timerStarted.isValid());
    EXPECT_EQ(fncIniRead(callFile(), u"Call"_s, u"Item-ID"_s), j.entryId);
    // JournalCallEnd 1: entry and contact closed at the end of the call
    EXPECT_FALSE(j.inspector.open);
    EXPECT_FALSE(store().item(beckerId).inspector.open);

    const QStringList log = callLog();
    for (const QString& line :
         {u"41000|CALLED: 03012345678"_s, u"41220|...anzeigen"_s, u"43000|CONNECT: 03012345678"_s,
          u"43230|Rufprotokollierung aktiv"_s,
          u"50020|Journal-Element im persönlichen Ordner erstellen"_s,
          u"50060|...EditorType: 1-Text"_s, u"50094|...Geschäftsadresse"_s, u"50112|...anzeigen"_s,
          u"45110|...Zeitgeber anhalten"_s, u"45220|...Outlook-Element(e) sofort schließen"_s,
          u"45300|...speichern/schließen"_s, u"45310|Kontakt-Element speichern/schließen"_s})
        EXPECT_TRUE(log.contains(line)) << line.toStdString();
    EXPECT_EQ(log.filter(u"*** Event-Ende"_s).size(), 3);
}

TEST_F(CallProcessing, TheMatchedFieldOfTheCalledEventChoosesAddressAndCaptionLater) {
    set(u"Callback"_s, u"0"_s);
    answeredCall(beckerHome);
    EXPECT_EQ(fncIniRead(callFile(), u"Call"_s, u"NumType"_s), u"2"_s);
    const pim::ItemRecord j = only(olFolderJournal);
    EXPECT_EQ(j.properties.value(u"Subject"_s).toString(),
              u"Anruf von Becker, Thomas (Privat 0308765432): "_s);
    EXPECT_EQ(j.body,
              u"\r\nPrivat:\tGartenweg 2, 14163 Berlin\r\nKunden-Nr.:\tK-1001\r\n\r\n\r\n"_s);
}

TEST_F(CallProcessing, WithoutAContactTheCtiClientsNamesAndAddressAreUsed) {
    set(u"OutJournal"_s, u"1"_s);
    struct Case {
        QString outbound;
        QStringList caller;
        QString subject;
    } cases[] = {
        {u"0"_s, {}, u"Anruf von 089123456: "_s},
        {u"1"_s, {u"Anna"_s}, u"Anruf bei Anna (089123456): "_s},
        {u"0"_s, {u""_s, u"Muster"_s}, u"Anruf von Muster,  (089123456): "_s},
        {u"0"_s, {u"Eva"_s, u"Muster"_s}, u"Anruf von Muster, Eva (089123456): "_s},
        {u"1"_s, {u""_s, u""_s, u"Muster AG"_s}, u"Anruf bei Muster AG (089123456): "_s},
    };
    int n = 0;
    for (const Case& c : cases) {
        const QString id = u"5F3A9C21-0002-000"_s + QString::number(++n);
        runEvent({u"connect"_s, u"089123456"_s, c.outbound, id, c.caller});
        const pim::ItemRecord r = store().item(fncIniRead(callFile(id), u"Call"_s, u"Item-ID"_s));
        EXPECT_EQ(r.properties.value(u"Subject"_s).toString(), c.subject);
        EXPECT_TRUE(r.links.isEmpty());
        EXPECT_EQ(userProperty(r, u"CID"_s), u"<none>"_s);
    }
    runEvent(
        {u"connect"_s,
         u"089123456"_s,
         u"0"_s,
         u"5F3A9C21-0003-0001"_s,
         {u"Eva"_s, u"Muster"_s, u""_s, u"Weg 1"_s, u"80331"_s, u"München"_s, u"Deutschland"_s}});
    const QString id = u"5F3A9C21-0003-0001"_s;
    const pim::ItemRecord r = store().item(fncIniRead(callFile(id), u"Call"_s, u"Item-ID"_s));
    EXPECT_EQ(r.body, u"Rufnummer:\ttel://089123456\r\n\r\nAdresse:\tWeg 1, 80331 München\r\n"_s);
    EXPECT_TRUE(logged(u"50103|...Adresse (1)"_s, id));
}

TEST_F(CallProcessing, TheRichBodyHasLinksTabStopsAndTheMailFont) {
    pim::Store(env.pimPath()).setEditorType(4);
    set(u"Maps"_s, u"1"_s);
    set(u"MailFont"_s, u"Arial"_s);
    set(u"olUser2Print"_s, u"1"_s);
    set(u"olUser2"_s, u"Web"_s);
    set(u"olUser2Link"_s, u"1"_s);
    runEvent({u"connect"_s});
    const pim::ItemRecord j = only(olFolderJournal);
    EXPECT_EQ(j.body, u"Rufnummer:\t03012345678\r\n"
                      u"\r\n"
                      u"Geschäftlich:\tHauptstr. 5, 10115 Berlin\r\n"
                      u"Kunden-Nr.:\tK-1001\r\n"
                      u"\r\n"
                      u"Web:\thttps://becker.example\r\n"
                      u"\r\n"_s);
    const QString& html = j.htmlBody;
    // 3 and 8 centimetres
    EXPECT_TRUE(html.contains(u"tab-stops: left 85.0pt left 227.0pt"_s)) << html.toStdString();
    EXPECT_TRUE(html.contains(u"<a href=\"tel://03012345678\">"_s));
    EXPECT_TRUE(html.contains(
        u"<a href=\"https://www.google.com/maps/place/Hauptstr%2E+5%2C+10115+Berlin\">"_s));
    EXPECT_TRUE(html.contains(u"<a href=\"https://becker.example\">"_s));
    EXPECT_TRUE(html.contains(u"font-family:'Arial';font-size:11.0pt"_s)) << html.toStdString();
    EXPECT_FALSE(html.contains(u"font-weight:bold"_s));
    EXPECT_TRUE(logged(u"50060|...EditorType: 4-WordEditor"_s));
}

TEST_F(CallProcessing, CalendarModeMakesAnAppointmentAtTheCallTime) {
    set(u"ModeCalendarJournal"_s, u"Calendar"_s);
    answeredCall();
    EXPECT_TRUE(folderItems(olFolderJournal).isEmpty());
    const pim::ItemRecord a = only(olFolderCalendar);
    EXPECT_EQ(a.properties.value(u"Subject"_s).toString(),
              u"Anruf von Becker, Thomas (Geschäftlich 03012345678): "_s);
    EXPECT_EQ(a.properties.value(u"Location"_s).toString(), u"Telefon/Remote"_s);
    EXPECT_FALSE(a.properties.value(u"ReminderSet"_s).toBool());
    EXPECT_EQ(a.properties.value(u"Start"_s).toDateTime(),
              QDateTime(QDate(2026, 12, 5), QTime(14, 3)));
    EXPECT_EQ(a.properties.value(u"End"_s).toDateTime(), QDateTime(day, QTime(14, 9, 2)));
    EXPECT_TRUE(logged(u"50020|Termin-Element im persönlichen Ordner erstellen"_s));
    EXPECT_TRUE(logged(u"45120|...Endzeit setzen"_s));
}

TEST_F(CallProcessing, ShowAndJournalRulesByDirectionInternalCallsAndContactFlag) {
    struct Case {
        QString number, outbound;
        QList<std::pair<QString, QString>> settings;
        bool shown, journaled;
        QString line;
    } cases[] = {
        {becker, u"0"_s, {}, true, true, u"43230|Rufprotokollierung aktiv"_s},
        {becker, u"1"_s, {}, false, false, u"50010|Ausgehender Ruf: keine Protokollierung"_s},
        {becker, u"2"_s, {{u"InContact"_s, u"0"_s}}, true, true, u"43220|...anzeigen"_s},
        {becker,
         u"0"_s,
         {{u"JournalContact"_s, u"1"_s}},
         true,
         false,
         u"43240|Rufprotokollierung nicht gewünscht"_s},
        {u"089123"_s, u"1"_s, {}, false, false, u"43320|Rufprotokollierung nicht gewünscht"_s},
        {u"#21"_s, u"0"_s, {}, false, false, u"43321|Rufprotokollierung nicht gewünscht"_s},
        {u"#21"_s,
         u"0"_s,
         {{u"Internal"_s, u"1"_s}},
         false,
         true,
         u"43310|Rufprotokollierung aktiv"_s},
        {u"089123"_s, u"x"_s, {}, false, false, u"43320|Rufprotokollierung nicht gewünscht"_s},
    };
    int n = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(n);
        for (const auto& [k, v] : c.settings)
            set(k, v);
        const QString id = u"5F3A9C21-0004-000"_s + QString::number(++n);
        runEvent({u"connect"_s, c.number, c.outbound, id});
        EXPECT_EQ(store().item(beckerId).inspector.open, c.shown);
        EXPECT_EQ(fncIniRead(callFile(id), u"Call"_s, u"Item-ID"_s).isEmpty(), !c.journaled);
        EXPECT_TRUE(logged(c.line, id)) << callLog(id).join(u'\n').toStdString();
        ignoreErrors([&] { attach()->GetNamespace(u"MAPI"_s)->GetItemFromID(beckerId)->Close(1); });
        for (const auto& [k, v] : c.settings)
            set(k, k == u"InContact"_s ? u"1"_s : u"0"_s);
    }
}

TEST_F(CallProcessing, CalledBusyRecordsTheContactButShowsNothing) {
    runEvent({u"calledbusy"_s});
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Contact-ID"_s), beckerId);
    EXPECT_FALSE(store().item(beckerId).inspector.open);
    bool asked = false;
    setCallDialogs({.contactChoice = [&](tlm::Run&) {
        asked = true;
        return ContactChoice{};
    }});
    runEvent({u"calledbusy"_s, wagner, u"0"_s, u"5F3A9C21-0005-0001"_s});
    EXPECT_FALSE(asked);
    EXPECT_TRUE(logged(u"41300|Es gibt mehrere Outlook-Kontakte unter der Rufnummer"_s,
                       u"5F3A9C21-0005-0001"_s));
}

TEST_F(CallProcessing, TheContactIsPlacedAtItsPosition) {
    set(u"DisplayPosContact"_s, u"2"_s);
    runEvent({u"called"_s});
    const pim::InspectorState s = store().item(beckerId).inspector;
    const screens::Rect area = screens::workArea();
    EXPECT_TRUE(s.open);
    EXPECT_TRUE(s.active);
    EXPECT_EQ(s.windowState, 0);
    EXPECT_EQ(std::tuple(s.left, s.top, s.width, s.height),
              std::tuple(0, 0, area.width, area.height));
}

TEST_F(CallProcessing, FinishedStoresAtLeastOneMinuteAndFollowsJournalCallEnd) {
    set(u"JournalCallEnd"_s, u"2"_s);
    runEvent({u"connect"_s});
    at(14, 3, 50);
    runEvent({u"finished"_s});
    pim::ItemRecord j = only(olFolderJournal);
    EXPECT_EQ(j.properties.value(u"Duration"_s).toInt(), 1);
    EXPECT_TRUE(j.inspector.open); // left open
    EXPECT_TRUE(logged(u"45230|...Outlook-Element(e) geöffnet lassen"_s));

    // 0: the end-of-call window decides
    set(u"JournalCallEnd"_s, u"0"_s);
    int asked = 0;
    setCallDialogs({.callEnd = [&](const tlm::Run&) {
        ++asked;
        return CallEndAnswer::CloseItems;
    }});
    runEvent({u"finished"_s});
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(only(olFolderJournal).inspector.open);

    // ... but only when a contact and an item are known
    const QString id = u"5F3A9C21-0006-0001"_s;
    runEvent({u"connect"_s, u"089123"_s, u"0"_s, id});
    runEvent({u"finished"_s, u"089123"_s, u"0"_s, id});
    EXPECT_EQ(asked, 1);
    EXPECT_FALSE(logged(u"45210|...Gesprächsende-Dialog anzeigen"_s, id));
}

TEST_F(CallProcessing, PickupAndDisconnectDeleteTheCallsItem) {
    for (const QString& event : {u"pickup"_s, u"disconnect"_s}) {
        const QString id = u"5F3A9C21-0007-"_s + event;
        runEvent({u"connect"_s, becker, u"0"_s, id});
        const QString item = fncIniRead(callFile(id), u"Call"_s, u"Item-ID"_s);
        ASSERT_FALSE(item.isEmpty());
        runEvent({event, becker, u"0"_s, id});
        EXPECT_TRUE(fncIniRead(callFile(id), u"Call"_s, u"Item-ID"_s).isEmpty());
        EXPECT_NE(store().item(item).folderId, store().defaultFolder(olFolderJournal).entryId);
        EXPECT_FALSE(store().item(beckerId).inspector.open);
        runEvent({u"finished"_s, becker, u"0"_s, id});
        EXPECT_TRUE(callLog(id).filter(u"45100|"_s).isEmpty());
    }
    EXPECT_TRUE(logged(u"42110|Journal-Element löschen"_s, u"5F3A9C21-0007-pickup"_s));
    EXPECT_TRUE(logged(u"42100|Outlook-Kontakt schließen"_s, u"5F3A9C21-0007-pickup"_s));
    EXPECT_TRUE(logged(u"44020|...Journal-Element löschen"_s, u"5F3A9C21-0007-disconnect"_s));
}

TEST_F(CallProcessing, AConnectDuringTheChoiceWindowIsCaughtUpWithTheChosenContact) {
    // The window's run: a connect of the same call arrives while it is open
    // and stops at start-up; then the user chooses Petra Wagner.
    setCallDialogs({.contactChoice = [&](tlm::Run& run) {
        const QString file = callFilePath(run);
        processlock::Holder lock(choiceLockPath(run));
        subIniWrite(file, u"Program"_s, u"ContactChoiceDialogue"_s, u"x"_s);
        at(14, 3, 40);
        runEvent({u"connect"_s, wagner});
        subIniWrite(file, u"Program"_s, u"ContactChoiceDialogue"_s, QString());
        const ContactChoice petra{ContactChoice::Kind::Chosen, petraId,
                                  run.mapi->GetItemFromID(petraId), 2, true};
        subUpdateCallFileContact(run, petra.contact, petra.field);
        return petra;
    }});
    runEvent({u"called"_s, wagner});
    EXPECT_TRUE(fncIniRead(callFile(), u"Timestamps"_s, u"Connect"_s).size() > 0);
    EXPECT_TRUE(logged(u"41400|...Zwischenzeitliches CONNECT-Event wird nachgeholt"_s));
    EXPECT_TRUE(logged(u"41330|...Outlook-Kontakt anzeigen"_s));
    const pim::ItemRecord j = only(olFolderJournal);
    EXPECT_EQ(j.properties.value(u"Subject"_s).toString(),
              u"Anruf von Wagner, Petra (Privat 0221987654): "_s);
    EXPECT_EQ(j.links, QStringList{petraId});
    EXPECT_TRUE(store().item(petraId).inspector.open);
    EXPECT_FALSE(store().item(klausId).inspector.open);

    // cancelled: nothing shown, nothing journaled
    setCallDialogs({.contactChoice = [](tlm::Run&) {
        return ContactChoice{ContactChoice::Kind::Cancelled};
    }});
    const QString id = u"5F3A9C21-0008-0001"_s;
    runEvent({u"called"_s, wagner, u"0"_s, id});
    EXPECT_TRUE(logged(u"41340|...Outlook-Kontaktauswahldialog wurde abgebrochen"_s, id));
}
