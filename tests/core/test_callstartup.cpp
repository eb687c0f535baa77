// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up steps of a call event: index, per-call file, overlap, Outlook
// and its folders, absence check; and a whole call of three events.
#include "core/callfile.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/processlock.h"
#include "platform/settingsstore.h"
#include "platform/texts.h"
#include "store/pimstore.h"
#include "store/sqlite.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

using namespace tlm;
using namespace tlm::outlook;

namespace {
const QString callId = QStringLiteral("5F3A9C21-0001-4B7E");

class CallStartup : public ::testing::Test {
protected:
    test::TestEnv env;

    // Today, so that the index file's own modification time lies on the same day.
    const QDate day = QDate::currentDate();
    QDateTime at(int h, int m, int s) const { return QDateTime(day, QTime(h, m, s)); }
    QString stamp(int h, int m, int s) const { return texts::dateTime(at(h, m, s)); }
    QString indexFile() const {
        return env.workFolder() + QStringLiteral("tlm") + day.toString(QStringLiteral("yyyyMMdd")) +
               QStringLiteral(".idx");
    }

    void SetUp() override {
        clock::setFixed(at(14, 3, 27));
        settingsstore::save(QStringLiteral("Debug"), QStringLiteral("1"));
        settingsstore::save(QStringLiteral("DefaultFolder"), QStringLiteral("1"));
        { const pim::Store made(env.pimPath()); }
        ApplicationPtr app = attach();
        ItemPtr c = app->GetNamespace(QStringLiteral("MAPI"))
                        ->GetDefaultFolder(olFolderContacts)
                        ->Items()
                        ->Add();
        c->set(QStringLiteral("FirstName"), QStringLiteral("Thomas"));
        c->set(QStringLiteral("LastName"), QStringLiteral("Becker"));
        c->set(QStringLiteral("BusinessTelephoneNumber"), QStringLiteral("+49 30 12345678"));
        c->Save();
    }

    static QString commandLine(const QString& event, const QString& menu = QStringLiteral("0"),
                               const QString& id = callId) {
        return QStringLiteral("03012345678 03012345678 21 Zentrale ") + menu + QLatin1Char(' ') +
               event + QStringLiteral(" 0 \"2026-12-05 14:03:20\" 12 1 ") + id +
               QStringLiteral(" U1 \"\" \"\" \"\" \"\" \"\" \"\" \"\"");
    }

    QStringList logTexts(const QString& name) const {
        const QString text = QString::fromUtf8(test::readBytes(env.workFolder() + name));
        QStringList lines;
        for (const QString& l : text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts))
            lines << l.mid(22); // without date, time and " * "
        return lines;
    }
    QStringList programLog() const { return logTexts(QStringLiteral("Tellmarin.log")); }
    QString callFile() const { return env.workFolder() + callId + QStringLiteral(".call"); }

    void runEvent(const QString& cmd) {
        tlm::Run run;
        Main(run, cmd);
    }
};

QStringList startingWith(const QStringList& lines, const QString& prefix) {
    QStringList found;
    for (const QString& l : lines)
        if (l.mid(9).startsWith(prefix))
            found << l.mid(9);
    return found;
}
} // namespace

TEST_F(CallStartup, AWholeCallLeavesOneCallFileTheIndexAndTheLogsInOrder) {
    runEvent(commandLine(QStringLiteral("called")));
    clock::setFixed(at(14, 3, 40));
    runEvent(commandLine(QStringLiteral("connect")));
    clock::setFixed(at(14, 9, 2));
    runEvent(commandLine(QStringLiteral("finished")));

    EXPECT_TRUE(QFile::exists(indexFile()));
    QString indexLog = indexFile();
    indexLog.replace(QStringLiteral(".idx"), QStringLiteral(".log"));
    EXPECT_TRUE(QFile::exists(indexLog));
    const QString file = callFile();
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Timestamps"), QStringLiteral("called")),
              stamp(14, 3, 27));
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Timestamps"), QStringLiteral("connect")),
              stamp(14, 3, 40));
    EXPECT_EQ(fncIniRead(file, QStringLiteral("Timestamps"), QStringLiteral("finished")),
              stamp(14, 9, 2));
    EXPECT_FALSE(
        fncIniRead(file, QStringLiteral("Contact"), QStringLiteral("Contact-ID")).isEmpty());

    // every run logs its start-up steps in order; only the first builds the index
    const QStringList steps = startingWith(programLog(), QStringLiteral("* "));
    QStringList numbered;
    for (const QString& l : programLog())
        if (l.size() > 12 && l.at(11) == QLatin1Char('/') && l.mid(12, 2) == QStringLiteral("15"))
            numbered << l.mid(9, 2).trimmed();
    const QStringList oneRun = {QStringLiteral("1"),  QStringLiteral("3"),  QStringLiteral("4"),
                                QStringLiteral("5"),  QStringLiteral("7"),  QStringLiteral("8"),
                                QStringLiteral("10"), QStringLiteral("11"), QStringLiteral("12"),
                                QStringLiteral("13"), QStringLiteral("14"), QStringLiteral("15")};
    EXPECT_EQ(numbered, oneRun + oneRun + oneRun);
    const QStringList log = programLog();
    EXPECT_EQ(log.filter(QStringLiteral("10/15 - Indexdatei neu aufbauen")).size(), 1);
    EXPECT_EQ(log.filter(QStringLiteral("10/15 - Indexdatei vorhanden (")).size(), 2);
    EXPECT_EQ(
        log.filter(QStringLiteral("11/15 - CALL-Datei erstellen: 5F3A9C21-0001-4B7E.call")).size(),
        1);
    EXPECT_EQ(log.filter(QStringLiteral("11/15 - CALL-Datei aktualisieren")).size(), 2);
    const QStringList callLog = logTexts(callId + QStringLiteral(".log"));
    EXPECT_TRUE(callLog.contains(QStringLiteral("41200  * Outlook-Kontakt: Thomas Becker")));
}

TEST_F(CallStartup, AnOpenChoiceWindowStopsLaterEventsAfterTheirTimeStamp) {
    runEvent(commandLine(QStringLiteral("called")));
    // The window's process holds the call's lock while the window is open.
    processlock::Holder window(env.workFolder() + callId + QStringLiteral(".lock"));
    ASSERT_TRUE(window.held());
    subIniWrite(callFile(), QStringLiteral("Program"), QStringLiteral("ContactChoiceDialogue"),
                QStringLiteral("05.12.2026 14:03:28"));
    runEvent(commandLine(QStringLiteral("connect")));
    EXPECT_FALSE(
        fncIniRead(callFile(), QStringLiteral("Timestamps"), QStringLiteral("connect")).isEmpty());
    const QStringList log = programLog();
    EXPECT_EQ(log.last(), QStringLiteral("11200  * 12/15 - Event-Überlappung: Kontaktauswahldialog "
                                         "ist geöffnet > Programmabbruch"));
}

TEST_F(CallStartup, AMarkWithoutALiveWindowIsRemovedAndTheEventGoesOn) {
    runEvent(commandLine(QStringLiteral("called")));
    subIniWrite(callFile(), QStringLiteral("Program"), QStringLiteral("ContactChoiceDialogue"),
                QStringLiteral("05.12.2026 14:03:28"));
    runEvent(commandLine(QStringLiteral("connect")));
    EXPECT_TRUE(
        fncIniRead(callFile(), QStringLiteral("Program"), QStringLiteral("ContactChoiceDialogue"))
            .isEmpty());
    const QStringList log = programLog();
    EXPECT_TRUE(log.contains(QStringLiteral("11202  * 12/15 - Event-Überlappung: verwaister "
                                            "Kontaktauswahldialog-Eintrag entfernt")));
    EXPECT_TRUE(log.contains(QStringLiteral("11300  * 13/15 - Outlook-Objekt-Instanziierung "
                                            "erfolgreich")));
}

TEST_F(CallStartup, AbsenceAppointmentSuppressesCallStateEventsOnly) {
    settingsstore::save(QStringLiteral("BusyStatus"), QStringLiteral("1"));
    ApplicationPtr app = attach();
    ItemPtr away = app->GetNamespace(QStringLiteral("MAPI"))
                       ->GetDefaultFolder(olFolderCalendar)
                       ->Items()
                       ->Add();
    away->set(QStringLiteral("Subject"), QStringLiteral("Urlaub an der Ostsee mit der Familie"));
    away->set(QStringLiteral("Start"), at(0, 0, 0).addDays(-4));
    away->set(QStringLiteral("End"), at(0, 0, 0).addDays(3));
    away->set(QStringLiteral("BusyStatus"), 3);
    away->Save();

    runEvent(commandLine(QStringLiteral("called")));
    QStringList log = programLog();
    ASSERT_GE(log.size(), 4);
    EXPECT_EQ(
        log.mid(log.size() - 4),
        (QStringList{
            QStringLiteral("11500  * 15/15 - Abwesenheitsüberprüfung durchführen"),
            QStringLiteral("11510  * 1 Termin gefunden:"),
            QStringLiteral("11510  * Urlaub an der Ostsee mit : ") +
                texts::dateTime(at(0, 0, 0).addDays(-4)) + QStringLiteral(" - ") +
                texts::dateTime(at(0, 0, 0).addDays(3)),
            QStringLiteral("11599  * *** Event-Ende "
                           "****************************************************************")}));
    EXPECT_FALSE(QFile::exists(env.workFolder() + callId + QStringLiteral(".log")));

    runEvent(commandLine(QStringLiteral("ctiwindow"), QStringLiteral("2")));
    EXPECT_EQ(programLog().last(),
              QStringLiteral("11590  * 15/15 - keine Abwesenheitsüberprüfung gewünscht"));

    away->set(QStringLiteral("BusyStatus"), 2); // busy, not away
    away->Save();
    runEvent(commandLine(QStringLiteral("called")));
    EXPECT_EQ(programLog().filter(QStringLiteral("aber kein Termin gefunden")).size(), 1);
}

TEST_F(CallStartup, MissingFoldersAreReportedAndTheRunGoesOn) {
    settingsstore::save(QStringLiteral("FolderNewContact"), QStringLiteral("00AA|00BB"));
    settingsstore::save(QStringLiteral("ModeCalendarJournal"), QStringLiteral("Calendar"));
    settingsstore::save(QStringLiteral("FolderCalendar"), QStringLiteral("00CC|00DD"));
    runEvent(commandLine(QStringLiteral("called")));
    const QStringList log = programLog();
    EXPECT_TRUE(
        log.contains(QStringLiteral("11310  * FEHLER: Ordnerverweis für neue Outlook-Kontakte")));
    EXPECT_TRUE(log.contains(QStringLiteral("11400  * 14/15 - Outlook-Kalenderordner ermitteln")));
    EXPECT_TRUE(log.contains(QStringLiteral("11400  * ...EntryID: 00CC")));
    EXPECT_TRUE(log.contains(QStringLiteral("11402  * ....FEHLER: kein Zugriff")));
    EXPECT_EQ(log.filter(QStringLiteral("15/15")).size(), 1);

    ApplicationPtr app = attach();
    FolderPtr calendar =
        app->GetNamespace(QStringLiteral("MAPI"))->GetDefaultFolder(olFolderCalendar);
    settingsstore::save(QStringLiteral("FolderCalendar"),
                        calendar->EntryID() + QLatin1Char('|') + calendar->StoreID());
    runEvent(commandLine(QStringLiteral("called")));
    EXPECT_TRUE(programLog().contains(QStringLiteral("11401  * Kalender (IPM.Appointment)")));
    EXPECT_TRUE(programLog().contains(QStringLiteral("11410  * ...Zugriff: OK")));
}

TEST_F(CallStartup, IndexRulesAndAFailedBuild) {
    // an index of the day modified yesterday is rebuilt at Refresh 0
    runEvent(commandLine(QStringLiteral("called")));
    const QString index = indexFile();
    QFile f(index);
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(at(23, 0, 0).addDays(-1), QFileDevice::FileModificationTime));
    f.close();
    runEvent(commandLine(QStringLiteral("called")));
    EXPECT_TRUE(programLog().contains(
        QStringLiteral("11001  * 0:Neuaufbau, weil Indexdatei älter als ein Tag ist")));

    // no folder to index: the run ends at step 10
    settingsstore::save(QStringLiteral("DefaultFolder"), QStringLiteral("0"));
    QFile::remove(index);
    runEvent(commandLine(QStringLiteral("called"), QStringLiteral("0"),
                         QStringLiteral("OTHER000-0001-X")));
    EXPECT_EQ(programLog().last(), QStringLiteral("11099  * fehlgeschlagen   >> Programmabbruch"));
    EXPECT_FALSE(QFile::exists(index));
    EXPECT_FALSE(QFile::exists(env.workFolder() + QStringLiteral("OTHER000-0001-X.call")));
}

TEST_F(CallStartup, UnreachableStoreFailsTheIndexBuildWithOutlooksError) {
    qputenv("TELLMARIN_PIM", "/proc/no-such-place/pim.sqlite");
    runEvent(commandLine(QStringLiteral("called")));
    const QString log =
        QString::fromUtf8(test::readBytes(env.workFolder() + QStringLiteral("Tellmarin.log")));
    EXPECT_TRUE(log.contains(
        QStringLiteral(" mdlMain.subCreateFileIndex_60010: Es konnte keine Verbindung zu "
                       "Microsoft Outlook hergestellt werden.\r\rEntweder ist die Installation "
                       "fehlerhaft, oder es ist kein Profil für den derzeit \rangemeldeten "
                       "Benutzer \"tester\" konfiguriert.(Err 429...")))
        << log.toStdString();
    EXPECT_TRUE(
        programLog().last().endsWith(QStringLiteral("fehlgeschlagen   >> Programmabbruch")));
}

// Another program's database in the store's place is no Outlook: the event
// takes the path of an Outlook that cannot be reached and leaves the file
// as it was.
TEST_F(CallStartup, ForeignDatabaseIsAnUnreachableOutlookAndStaysUnchanged) {
    const QString foreign = env.root() + QStringLiteral("fremd.sqlite");
    {
        pim::sql::Db db;
        db.open(foreign, true);
        db.exec("CREATE TABLE kunden(name TEXT); INSERT INTO kunden VALUES('Becker');");
    }
    const QByteArray before = test::readBytes(foreign);
    qputenv("TELLMARIN_PIM", foreign.toUtf8());
    runEvent(commandLine(QStringLiteral("called")));
    const QString log =
        QString::fromUtf8(test::readBytes(env.workFolder() + QStringLiteral("Tellmarin.log")));
    EXPECT_TRUE(log.contains(QStringLiteral("(Err 429..."))) << log.toStdString();
    EXPECT_EQ(test::readBytes(foreign), before);
    EXPECT_FALSE(QFile::exists(foreign + QStringLiteral("-wal")));
}

TEST_F(CallStartup, HostileCallIdsStayInTheWorkFolder) {
    runEvent(
        commandLine(QStringLiteral("called"), QStringLiteral("0"), QStringLiteral("../../escape")));
    EXPECT_TRUE(QFile::exists(env.workFolder() + QStringLiteral("_.._.._escape.call")));
    EXPECT_TRUE(QFile::exists(env.workFolder() + QStringLiteral("_.._.._escape.log")));
    EXPECT_FALSE(QFile::exists(env.root() + QStringLiteral("escape.call")));
}
