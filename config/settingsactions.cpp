// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settingsactions.h"

#include "config/settingsbackup.h"
#include "core/log.h"
#include "core/log.h"
#include "core/versioninfo.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/shell.h"
#include "platform/texts.h"

#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace tlm::actions {
namespace {
const QString settingsTitle = u"Tellmarin-Programmeinstellungen"_s;

QString reason(const Error& e) {
    return QString::number(e.number()) + u": "_s + e.description();
}
} // namespace

bool subExportOptionen(Log& log, const QString& path, bool askToOpen) {
    const QString file = path.isEmpty() ? backup::defaultExportPath() : path;
    try {
        backup::writeExport(file);
    } catch (const Error& e) {
        log.errorLine(ErrorExit{u"subExportOptionen"_s}, e);
        msgbox::show(u"Die Einstellungen konnten nicht gesichert werden:\r\n"_s + file +
                         u"\r\n\r\n"_s + reason(e),
                     msgbox::Buttons::Ok, msgbox::Icon::Critical, u"Tellmarin"_s);
        return false;
    }
    if (askToOpen && msgbox::show(u"Einstellungen wurden gesichert. Den Speicherort öffnen?"_s,
                                  msgbox::Buttons::YesNo, msgbox::Icon::Question, u"Tellmarin"_s,
                                  2) == msgbox::Answer::Yes)
        shell::open(QFileInfo(file).absolutePath());
    return true;
}

bool restoreSettings(Log& log, const QString& path) {
    try {
        backup::restore(path);
        return true;
    } catch (const Error& e) {
        log.errorLine(ErrorExit::handler(u"frmOptionen.mnuDateiEinstellungenLaden"_s), Step(), e);
        msgbox::show(u"Die Rücksicherung Ihrer Einstellungen ist fehlgeschlagen.\r\n\r\n"_s +
                         reason(e),
                     msgbox::Buttons::Ok, msgbox::Icon::Critical, settingsTitle);
        return false;
    }
}

void tellRestoreEnds() {
    msgbox::show(u"Das Programm wird jetzt beendet, damit die Änderungen wirksam werden."_s,
                 msgbox::Buttons::Ok, msgbox::Icon::Exclamation, settingsTitle);
}

void cleanUpLogs(Log& log) {
    const QString folder = log.workFolder();
    const auto step = [&](const QStringList& paths) {
        bool deleted = !paths.isEmpty();
        for (const QString& p : paths)
            deleted = files::remove(p) && deleted;
        if (!deleted)
            log.appendProgramLog(texts::dateTime(clock::now()) +
                                 u" frmOoptionen.mnuExtrasTEMP_Click(): Err 53: Datei nicht "
                                 u"gefunden"_s);
    };
    step(files::matching(folder, callFilePattern(u"log"_s)));
    step({folder + u"tlmLastCall.log"_s});
    step({log.programLogPath()});
    msgbox::show(u"erledigt...!"_s, msgbox::Buttons::Ok, msgbox::Icon::Information,
                 u"Tellmarin - TEMP-/LOG-Bereinigung"_s);
}

QString infoText(const QString& programVersion) {
    QString notice = versioninfo::legalNotice;
    notice.replace(u" | "_s, u"\r\r"_s);
    return u"Tellmarin - Version "_s + programVersion + u"\r\r"_s + versioninfo::fileDescription +
           u"\r\r"_s + notice;
}

} // namespace tlm::actions
