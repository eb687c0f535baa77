// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Journal entries, appointments and tasks to iCalendar and back.
#include "sync/icalendar.h"
#include "sync/syncerror.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm;
using namespace tlm::sync;

namespace {

QDateTime at(const QString& iso) {
    return QDateTime::fromString(iso, Qt::ISODate);
}

// Contacts are "E1".. in the store and "uid-1".. on the server.
const ical::ContactRefs Refs{
    [](const QString& id) { return id.startsWith(u'E') ? u"uid-"_s + id.mid(1) : id; },
    [](const QString& uid) { return uid.startsWith(u"uid-"_s) ? u'E' + uid.mid(4) : uid; }};

pim::ItemRecord journalEntry() {
    pim::ItemRecord r;
    r.messageClass = u"IPM.Activity"_s;
    r.properties = {{u"Subject"_s, u"Anruf von Becker, Thomas; Rückruf"_s},
                    {u"Start"_s, at(u"2026-12-07T10:15:00"_s)},
                    {u"End"_s, at(u"2026-12-07T10:35:00"_s)},
                    {u"Duration"_s, 20},
                    {u"Type"_s, u"Telefonanruf"_s},
                    {u"Categories"_s, u"Kunden, Wichtig"_s},
                    {u"CreationTime"_s, at(u"2026-12-07T10:15:03"_s)},
                    {u"LastModificationTime"_s, at(u"2026-12-07T10:35:09"_s)}};
    r.userProperties = {{u"CallNumber"_s, u"+49 30 1234567"_s},
                        {u"PCALLID"_s, u"5F3A9C21-0001-4B7E"_s},
                        {u"CID"_s, u"E7"_s}};
    r.links = {u"E7"_s, u"E9"_s};
    r.body = u"Zeile 1\r\nZeile 2; mit, Zeichen \\ und \"Anführung\""_s;
    return r;
}

QString describe(const QVariantMap& properties) {
    QStringList lines;
    for (auto it = properties.cbegin(); it != properties.cend(); ++it)
        lines << it.key() + u'=' + QString::fromLatin1(it.value().typeName()) + u':' +
                     (it.value().typeId() == QMetaType::QDateTime
                          ? it.value().toDateTime().toUTC().toString(Qt::ISODate)
                          : it.value().toString());
    return lines.join(u'\n');
}

void expectSameItem(const pim::ItemRecord& a, const pim::ItemRecord& b) {
    EXPECT_EQ(a.messageClass, b.messageClass);
    EXPECT_EQ(describe(a.properties), describe(b.properties));
    EXPECT_EQ(a.userProperties, b.userProperties);
    EXPECT_EQ(a.links, b.links);
    EXPECT_EQ(a.body, b.body);
}

} // namespace

TEST(ICalendar, AJournalEntryTravelsWholeAsVjournal) {
    const pim::ItemRecord entry = journalEntry();
    const QByteArray text = ical::write(entry, u"uid-call-1"_s, {}, Refs);
    const QString s = QString::fromUtf8(text).replace(u"\r\n "_s, QString()); // unfolded
    EXPECT_TRUE(s.contains(u"BEGIN:VJOURNAL"_s));
    EXPECT_TRUE(s.contains(u"SUMMARY:Anruf von Becker\\, Thomas\\; Rückruf"_s)) << s.toStdString();
    EXPECT_TRUE(s.contains(u"DTSTART:"_s));
    EXPECT_TRUE(
        s.contains(u"X-TELLMARIN-PROPERTY;X-TELLMARIN-NAME=Duration;X-TELLMARIN-TYPE=INTEGER:20"_s))
        << s.toStdString();
    EXPECT_TRUE(s.contains(u"X-TELLMARIN-NAME=PCALLID:5F3A9C21-0001-4B7E"_s));
    // Contact references carry the contact's UID on the server.
    EXPECT_TRUE(s.contains(u"X-TELLMARIN-NAME=CID:uid-7"_s)) << s.toStdString();
    EXPECT_TRUE(s.contains(u"X-TELLMARIN-LINK:uid-9"_s));
    EXPECT_FALSE(s.contains(u"E7"_s));

    const ical::ReadItem back = ical::read(text, Refs);
    EXPECT_EQ(back.uid, u"uid-call-1"_s);
    expectSameItem(back.record, entry);
}

TEST(ICalendar, AppointmentsAndTasksKeepTimesRemindersAndStatus) {
    pim::ItemRecord appointment;
    appointment.messageClass = u"IPM.Appointment"_s;
    appointment.properties = {{u"Subject"_s, u"Rückruf Kontor GmbH"_s},
                              {u"Start"_s, at(u"2026-12-08T09:00:00"_s)},
                              {u"End"_s, at(u"2026-12-08T09:30:00"_s)},
                              {u"Location"_s, u"Büro"_s},
                              {u"AllDayEvent"_s, false},
                              {u"ReminderSet"_s, true},
                              {u"ReminderMinutesBeforeStart"_s, 15},
                              {u"BusyStatus"_s, 2}};
    const QByteArray event = ical::write(appointment, u"a1"_s, {}, Refs);
    EXPECT_TRUE(event.contains("BEGIN:VALARM")) << event.constData();
    EXPECT_TRUE(event.contains("TRIGGER:-PT15M")) << event.constData();
    expectSameItem(ical::read(event, Refs).record, appointment);

    pim::ItemRecord task;
    task.messageClass = u"IPM.Task"_s;
    for (int status : {0, 1, 2, 3, 4}) {
        task.properties = {{u"Subject"_s, u"Angebot schicken"_s},
                           {u"StartDate"_s, at(u"2026-12-07T00:00:00"_s)},
                           {u"DueDate"_s, at(u"2026-12-09T00:00:00"_s)},
                           {u"Status"_s, status},
                           {u"Complete"_s, status == 2},
                           {u"PercentComplete"_s, status == 2 ? 100 : 0},
                           {u"ReminderSet"_s, true},
                           {u"ReminderTime"_s, at(u"2026-12-09T08:00:00"_s)}};
        const QByteArray todo = ical::write(task, u"t1"_s, {}, Refs);
        EXPECT_TRUE(todo.contains("BEGIN:VTODO"));
        expectSameItem(ical::read(todo, Refs).record, task);
    }
}

TEST(ICalendar, WritingOverTheServersVersionKeepsWhatOthersAdded) {
    const QByteArray theirs =
        "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Other//EN\r\n"
        "BEGIN:VTIMEZONE\r\nTZID:Europe/Berlin\r\nBEGIN:STANDARD\r\nDTSTART:19701025T030000\r\n"
        "TZOFFSETFROM:+0200\r\nTZOFFSETTO:+0100\r\nEND:STANDARD\r\nEND:VTIMEZONE\r\n"
        "BEGIN:VEVENT\r\nUID:x1\r\nDTSTAMP:20261201T000000Z\r\n"
        "DTSTART;TZID=Europe/Berlin:20261208T090000\r\nDURATION:PT45M\r\n"
        "SUMMARY:Alt\r\nATTENDEE;CN=Anna:mailto:anna@example.org\r\n"
        "X-OTHER-APP:behalten\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
    const ical::ReadItem read = ical::read(theirs, Refs);
    EXPECT_EQ(read.record.properties.value(u"Start"_s).toDateTime().toUTC(),
              at(u"2026-12-08T08:00:00Z"_s));
    EXPECT_EQ(read.record.properties.value(u"End"_s).toDateTime().toUTC(),
              at(u"2026-12-08T08:45:00Z"_s));

    pim::ItemRecord changed = read.record;
    changed.properties[u"Subject"_s] = u"Neu"_s;
    const QString mine = QString::fromUtf8(ical::write(changed, read.uid, theirs, Refs));
    EXPECT_TRUE(mine.contains(u"ATTENDEE;CN=Anna:mailto:anna@example.org"_s)) << mine.toStdString();
    EXPECT_TRUE(mine.contains(u"X-OTHER-APP:behalten"_s));
    EXPECT_TRUE(mine.contains(u"SUMMARY:Neu"_s));
    EXPECT_FALSE(mine.contains(u"SUMMARY:Alt"_s));
    EXPECT_FALSE(mine.contains(u"DURATION"_s)); // replaced by the item's end
    EXPECT_EQ(mine.count(u"UID:"_s), 1);
}

TEST(ICalendar, RefusesWhatIsNoCalendarItem) {
    for (const QByteArray& bad :
         {QByteArray("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:X\r\nEND:VCARD\r\n"), QByteArray("<html>"),
          QByteArray("BEGIN:VCALENDAR\r\nBEGIN:VFREEBUSY\r\nEND:VFREEBUSY\r\nEND:VCALENDAR\r\n"),
          QByteArray()}) {
        try {
            ical::read(bad, Refs);
            ADD_FAILURE() << "accepted: " << bad.constData();
        } catch (const SyncError& e) {
            EXPECT_EQ(e.failure(), Failure::BadAnswer);
        }
    }
}
