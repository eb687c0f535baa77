// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/callprocessing.h"
#include "core/run.h"
#include "core/startupsteps.h"

#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/paths.h"

namespace tlm {
namespace {
// Start-up step 4: only an Outlook 2013 or later is good enough.
bool checkOutlookVersion(Run& run) {
    run.log.subLog(QStringLiteral(" 4/15 - Office-Version überprüfen"), 10400);
    if (run.env.outlookCompatible)
        return true;
    run.log.subLog(
        QStringLiteral("        keine kompatible Office-Version gefunden >> Programmende"), 10499);
    msgbox::show(QStringLiteral("Keine kompatible 'Microsoft Outlook'-Installation gefunden."),
                 msgbox::Buttons::Ok, msgbox::Icon::Critical,
                 productName + QStringLiteral(" - Office-Versionsüberprüfung") + titleTimeStamp());
    return false;
}

// The work folder holds the logs and per-call files; one that another user
// could have prepared (it may lie in the shared /tmp) is not used at all, and
// as no log can be written there the user is told directly.
bool workFolderUsable(const Run& run) {
    const QString folder = run.log.workFolder();
    const QString problem = files::prepareOwnFolder(folder);
    if (problem.isEmpty())
        return true;
    msgbox::show(QStringLiteral("Der Arbeitsordner \"") + folder + QStringLiteral("\" ") + problem +
                     QStringLiteral(". Tellmarin verwendet ihn nicht.\r\n\r\nBitte setzen Sie "
                                    "TEMP auf einen Ordner, der nur Ihnen gehört."),
                 msgbox::Buttons::Ok, msgbox::Icon::Critical,
                 productName + QStringLiteral(" - Arbeitsordner") + titleTimeStamp());
    return false;
}
} // namespace

Run::Run() : log(paths::workFolder(), 0, &params) {}
Run::~Run() = default;

RunEnd Main(Run& run, const QString& commandLine) {
    Log& log = run.log;
    if (!workFolderUsable(run))
        return RunEnd::Done;
    ignoreErrors([&] { log.setDebug(readSettingInt(keys::Debug)); });
    setUpEnvironment(run.env, log);

    log.subLog(
        QStringLiteral(" 1/15 - AGFEO-CTI-Client-Programm: ") +
            (run.env.dashboard ? QStringLiteral("Dashboard") : QStringLiteral("<nicht gefunden>")),
        10100);
    subCheckLogSize(log);
    subReadSettings(run.settings, run.env, log);
    if (!checkOutlookVersion(run))
        return RunEnd::Done;

    log.subLog(QStringLiteral(" 5/15 - CALL-Dateien löschen, die älter als ") +
                   QString::number(run.settings.LogDays) + QStringLiteral(" Tage sind"),
               10500);
    subClearOldCallFiles(log, run.settings.LogDays);

    log.subLog(QStringLiteral(" 7/15 - Programmaufrufparameter in ein Array überführen"), 10700);
    subC2P(commandLine, run.params, log, fncVersionText(run.env), run.env.workFolder,
           run.env.programFolder);

    if (commandLine.isEmpty()) {
        log.subLog(QStringLiteral(" 8/15 - Optionsdialog anzeigen    >> keine Rufverarbeitung"),
                   10800);
        run.env.localStore.reset(); // the options window attaches when it needs to
        return RunEnd::OptionsWindow;
    }
    if (!run.params.isSet || run.params[P_NUMBER].isEmpty()) {
        log.subLog(QStringLiteral(" 8/15 - keine gültigen Parameter   >> Programmabbruch"), 10089);
        return RunEnd::Done;
    }
    log.subLog(
        QStringLiteral(" 8/15 - Programmaufruf mit gültigen Parametern >> starte Rufverarbeitung"),
        10081);
    RunEnd end = RunEnd::Done;
    if (prepareCall(run))
        run.log.guard(mainErrorExit, [&] { end = processEvent(run); });
    return end;
}

} // namespace tlm
