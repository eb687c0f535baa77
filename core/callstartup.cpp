// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/companylookup.h"
#include "core/contactindex.h"
#include "core/folderreference.h"
#include "core/indexfreshness.h"
#include "core/run.h"
#include "core/startupsteps.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/processlock.h"
#include "platform/texts.h"

#include <QVariant>

namespace tlm {
namespace {
void critical(const QString& text, const QString& subject) {
    msgbox::show(text, msgbox::Buttons::Ok, msgbox::Icon::Critical,
                 productName + subject + titleTimeStamp());
}

// Step 10: the index of the day exists and is fresh enough for Refresh.
bool refreshIndex(Run& run) {
    Log& log = run.log;
    log.setStep(10901);
    const QString index = run.env.indexFile;
    // An index that is a link or no file at all (planted in a shared work
    // folder) is never read: a new one takes its place.
    if (!files::isRegularFile(index)) {
        log.subLog(QStringLiteral("10/15 - Indexdatei neu aufbauen"), 11000);
        if (subCreateFileIndex(run, true))
            return true;
        log.subLog(QStringLiteral("fehlgeschlagen   >> Programmabbruch"), 11099);
        critical(QStringLiteral("Es gibt ein Problem mit der Indexdatei. Bitte erstellen Sie diese "
                                "manuell und überprüfen in ") +
                     QStringLiteral("diesem Zusammenhang, ob alle Outlook-Kontaktordner im "
                                    "Zugriff sind."),
                 QStringLiteral(" - Outlook-Indexdatei"));
        return false;
    }
    const QDateTime modified = files::modified(index);
    log.subLog(QStringLiteral("10/15 - Indexdatei vorhanden (") + texts::dateTime(modified) +
                   QLatin1Char(')'),
               11000);
    const QString refresh = readSetting(keys::Refresh).trimmed();
    if (refresh == QStringLiteral("1"))
        log.setStep(11102);
    QList<RebuildReason> reasons = indexRebuildReasons(refresh, modified, clock::now());
    if (reasons.isEmpty())
        reasons = companyRebuildReasons(index);
    for (const RebuildReason& reason : reasons)
        log.subLog(reason.text, reason.step);
    // Several reasons of level 1 can hold at once; one build serves them all.
    if (!reasons.isEmpty())
        subCreateFileIndex(run, true);
    return true;
}

// Step 12: an open contact choice window of this call stops later events. A
// mark whose window's process no longer holds the call's lock was left by a
// process that died; it is removed and the event goes on.
bool noOverlap(Run& run) {
    const QString file = callFilePath(run);
    const QString program = QStringLiteral("Program");
    const QString mark = QStringLiteral("ContactChoiceDialogue");
    if (!fncIniRead(file, program, mark).isEmpty()) {
        const QString lock = choiceLockPath(run);
        if (!processlock::isHeld(lock)) {
            subIniWrite(file, program, mark, QString());
            files::remove(lock);
            run.log.subLog(QStringLiteral("12/15 - Event-Überlappung: verwaister "
                                          "Kontaktauswahldialog-Eintrag entfernt"),
                           11202);
            return true;
        }
        run.log.subLog(QStringLiteral("12/15 - Event-Überlappung: Kontaktauswahldialog ist "
                                      "geöffnet > Programmabbruch"),
                       11200);
        return false;
    }
    run.log.subLog(QStringLiteral("12/15 - Event-Überlappung: <keine>"), 11201);
    return true;
}

// Step 13: Outlook, its namespace and the folder for new contacts.
bool attachOutlook(Run& run) {
    Log& log = run.log;
    try {
        run.application = attachOutlookOnce(run.env);
    } catch (const Error& e) {
        log.errorLine(mainErrorExit, e);
    }
    if (!run.application) {
        log.subLog(QStringLiteral("13/15 - FEHLER - keine Instanziierung der Outlook-Objekte"),
                   11399);
        return false;
    }
    log.subLog(QStringLiteral("13/15 - Outlook-Objekt-Instanziierung erfolgreich"), 11300);
    run.mapi = run.application->GetNamespace(QStringLiteral("MAPI"));
    run.calendarMode = run.settings.ModeCalendarJournal == QStringLiteral("Calendar");
    run.newContactFolder.reset();
    if (run.settings.FolderNewContact.isEmpty())
        return true;
    run.newContactFolder = FolderReference::parse(run.settings.FolderNewContact).resolve(run.mapi);
    if (!run.newContactFolder) {
        log.subLog(QStringLiteral("FEHLER: Ordnerverweis für neue Outlook-Kontakte"), 11310);
        critical(QStringLiteral("Der Ordner zum Ablegen neuer Outlook-Kontakte ist nicht (mehr) "
                                "vorhanden!"),
                 QStringLiteral(" Outlook-Ordner"));
    } else {
        log.subLog(QStringLiteral("OK: Ordnerverweis für neue Outlook-Kontakte"), 11310);
    }
    return true;
}

// Step 14: the alternative journal or calendar folder.
void resolveAlternativeFolder(Run& run) {
    Log& log = run.log;
    run.alternativeFolder.reset();
    const bool calendar = run.calendarMode;
    log.subLog(calendar ? QStringLiteral("14/15 - Outlook-Kalenderordner ermitteln")
                        : QStringLiteral("14/15 - Outlook-Journalordner ermitteln"),
               11400);
    const QString reference = calendar ? run.settings.FolderCalendar : run.settings.FolderJournal;
    if (reference.isEmpty()) {
        log.subLog(QStringLiteral("...Ordnerverweis hinterlegt"), 11409);
        return;
    }
    const FolderReference parts = FolderReference::parse(reference);
    const outlook::FolderPtr folder = parts.resolve(run.mapi);
    if (folder) {
        log.guard(mainErrorExit, [&] {
            log.subLog(folder->Name() + QStringLiteral(" (") + folder->DefaultMessageClass() +
                           QLatin1Char(')'),
                       11401);
        });
    }
    log.subLog(QStringLiteral("...EntryID: ") + parts.entryId, 0);
    log.subLog(QStringLiteral("...StoreID: ") + parts.storeId, 0);
    if (!folder) {
        log.subLog(QStringLiteral("....FEHLER: kein Zugriff"), 11402);
        critical(QStringLiteral("Der Ordner zum Ablegen neuer ") +
                     (calendar ? QStringLiteral("Kalender") : QStringLiteral("Journal")) +
                     QStringLiteral("einträge ist nicht (mehr) vorhanden!"),
                 QStringLiteral(" Outlook-Ordner"));
        return;
    }
    run.alternativeFolder = folder;
    log.subLog(QStringLiteral("...Zugriff: OK"), 11410);
}

bool isCallStateEvent(Run& run) {
    try {
        return toInteger(run.params[P_MENU_OPTION]) == 0;
    } catch (const Error& e) {
        // Not a number: no call-state event, so no absence check.
        run.log.errorLine(mainErrorExit, e);
        return false;
    }
}

// Step 15: an absence appointment covering now suppresses call-state events.
bool notAbsent(Run& run) {
    Log& log = run.log;
    if (!isCallStateEvent(run) || run.settings.BusyStatus != 1) {
        log.subLog(QStringLiteral("15/15 - keine Abwesenheitsüberprüfung gewünscht"), 11590);
        return true;
    }
    log.subLog(QStringLiteral("15/15 - Abwesenheitsüberprüfung durchführen"), 11500);
    const QString now = clock::now().toString(QStringLiteral("dd.MM.yyyy HH:mm"));
    const QString filter = QStringLiteral("([Start]<='") + now + QStringLiteral("' AND [End]>='") +
                           now + QStringLiteral("') AND [BusyStatus]>=3");
    const outlook::TablePtr table =
        run.mapi->GetDefaultFolder(outlook::olFolderCalendar)->GetTable(filter);
    table->MoveToStart();
    const int rows = table->GetRowCount();
    if (rows < 1) {
        log.subLog(QStringLiteral("aber kein Termin gefunden"), 11590);
        return true;
    }
    log.subLog(QString::number(rows) + QStringLiteral(" Termin") +
                   (rows == 1 ? QStringLiteral(" ") : QStringLiteral("e ")) +
                   QStringLiteral("gefunden:"),
               11510);
    while (!table->EndOfTable()) {
        const outlook::RowPtr row = table->GetNextRow();
        log.subLog(fitted(row->Item(2).toString(), 25) + QStringLiteral(": ") +
                       texts::dateTime(row->Item(6).toDateTime()) + QStringLiteral(" - ") +
                       texts::dateTime(row->Item(7).toDateTime()),
                   0);
    }
    log.subLog(QStringLiteral("*** Event-Ende"), 11599);
    return false;
}
} // namespace

bool prepareCall(Run& run) {
    bool goOn = true;
    run.log.guard(mainErrorExit, [&] { goOn = refreshIndex(run); });
    if (!goOn)
        return false;
    run.log.guard(mainErrorExit, [&] { createOrUpdateCallFile(run); });
    if (!noOverlap(run) || !attachOutlook(run))
        return false;
    run.log.guard(mainErrorExit, [&] { resolveAlternativeFolder(run); });
    run.log.guard(mainErrorExit, [&] { goOn = notAbsent(run); });
    return goOn;
}

} // namespace tlm
