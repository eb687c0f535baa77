// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/accountfile.h"

#include "core/environment.h"
#include "core/log.h"
#include "core/settings.h"
#include "platform/clock.h"
#include "platform/error.h"
#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/paths.h"
#include "platform/peversion.h"
#include "platform/shell.h"
#include "platform/textfile.h"

#include <QDir>
#include <QStringList>

using namespace Qt::StringLiterals;

namespace tlm::dashboard {
namespace {

const QString product = u"Tellmarin"_s;

QString jsonString(const QString& value) {
    QString out = u"\""_s;
    for (const QChar c : value) {
        switch (c.unicode()) {
        case u'"':
            out += u"\\\""_s;
            break;
        case u'\\':
            out += u"\\\\"_s;
            break;
        case u'\n':
            out += u"\\n"_s;
            break;
        case u'\r':
            out += u"\\r"_s;
            break;
        case u'\t':
            out += u"\\t"_s;
            break;
        default:
            if (c.unicode() < 0x20)
                out += u"\\u%1"_s.arg(int(c.unicode()), 4, 16, QChar(u'0'));
            else
                out += c;
        }
    }
    return out + u'"';
}

QString keyLine(int tabs, const QString& key, const QString& rest) {
    return QString(tabs, u'\t') + jsonString(key) + u" : "_s + rest;
}

// A list of strings, one per line at three TABs, each but the last with ",".
QString stringLines(const QStringList& values) {
    QString out;
    for (qsizetype i = 0; i < values.size(); ++i)
        out += u"\t\t\t"_s + jsonString(values[i]) + (i + 1 < values.size() ? u","_s : QString()) +
               u'\n';
    return out;
}

const QStringList menuOptions = {
    u"Kontakt anzeigen/abgleichen"_s, u"...als Termin"_s,   u"neuer Termin"_s, u"...als Aufgabe"_s,
    u"...als Journaleintrag"_s,       u"E-Mail versenden"_s};
const QStringList shellArgs = {
    u"%NUMBER%"_s,      u"%NUMBER_NORM%"_s,   u"%LINE_NUMBER%"_s, u"%LINE_NAME%"_s,
    u"%MENU_OPTION%"_s, u"%INVOKED_FROM%"_s,  u"%OUTBOUND%"_s,    u"%TIMESTAMP%"_s,
    u"%DURATION%"_s,    u"%CALLLOG_STATE%"_s, u"%P_CALL_ID%"_s,   u"%UID%"_s,
    u"%FIRST_NAME%"_s,  u"%LAST_NAME%"_s,     u"%COMPANY%"_s,     u"%ADR_STREET%"_s,
    u"%ADR_ZIP%"_s,     u"%ADR_CITY%"_s,      u"%ADR_COUNTRY%"_s};

QString withoutTrailingSeparator(QString folder) {
    while (folder.size() > 1 && (folder.endsWith(u'/') || folder.endsWith(u'\\')))
        folder.chop(1);
    return folder;
}

} // namespace

bool versionAccepted(const QString& version) {
    const QStringList parts = version.split(u'.');
    if (parts.size() < 3)
        return false;
    const int wanted[] = {1, 14, 4};
    for (int i = 0; i < 3; ++i) {
        bool ok = false;
        const int n = parts[i].trimmed().toInt(&ok);
        if (!ok)
            return false;
        if (n != wanted[i])
            return n > wanted[i];
    }
    return true;
}

QString accountPath(const QString& path) {
    return QDir::fromNativeSeparators(path);
}

QString accountFileText(const QString& programFolder, const QString& executable,
                        const QDateTime& created) {
    const QString folder = accountPath(programFolder);
    QString t;
    t += u"{\n"_s;
    t += keyLine(1, u"accountTypeId"_s, jsonString(u"agfeoklick"_s) + u",\n"_s);
    t += keyLine(1, u"data"_s, u"\n"_s);
    t += u"\t{\n"_s;
    t += keyLine(2, u"createdTs"_s,
                 jsonString(created.toString(u"yyyy-MM-ddTHH:mm:ss"_s)) + u",\n"_s);
    t += keyLine(2, u"description"_s, jsonString(product) + u",\n"_s);
    t += keyLine(2, u"diagnosis"_s, u"false,\n"_s);
    t += keyLine(2, u"enableCtiStatus"_s, u"false,\n"_s);
    t += keyLine(2, u"enableInteractive"_s, u"true,\n"_s);
    t += keyLine(2, u"enableNotes"_s, u"false,\n"_s);
    t += keyLine(2, u"iconFileName"_s, jsonString(folder + u"/tlOl.png"_s) + u",\n"_s);
    t += keyLine(2, u"invokeOnStateChange"_s, u"true,\n"_s);
    t += keyLine(2, u"menuOptions"_s, u"\n"_s);
    t += u"\t\t[\n"_s + stringLines(menuOptions) + u"\t\t],\n"_s;
    t += keyLine(2, u"shellArgs"_s, u"\n"_s);
    t += u"\t\t[\n"_s + stringLines(shellArgs) + u"\t\t],\n"_s;
    t += keyLine(2, u"shellCmd"_s, jsonString(folder + u'/' + executable) + u",\n"_s);
    t += keyLine(2, u"shortName"_s, u"\"\",\n"_s);
    t += keyLine(2, u"userId"_s, u"\"\"\n"_s);
    t += u"\t},\n"_s;
    t += keyLine(1, u"tag"_s, jsonString(product) + u'\n');
    t += u"}\r\n"_s;
    return t;
}

QString programExecutable() {
#ifdef _WIN32
    return u"Tellmarin.exe"_s;
#else
    return u"tellmarin"_s;
#endif
}

Outcome subKlickConfig(Log& log) {
    const QString client = paths::join(readSetting(keys::ClientDashboard), u"ctimon.exe"_s);
    if (!files::exists(client)) {
        msgbox::show(u"Der Programminstallationsorder des AGFEO Dashboard-Clients wurde nicht "
                     u"gefunden."_s,
                     msgbox::Buttons::Ok, msgbox::Icon::Critical, product);
        return Outcome::NoClient;
    }
    if (!versionAccepted(fncFileVersion(client, true))) {
        msgbox::show(u"Der AGFEO Dashboard-Client ist inkompatibel. Es wird eine Version "
                     u">=1.14.4 benötigt."_s,
                     msgbox::Buttons::Ok, msgbox::Icon::Critical,
                     product + u" - Dashboard-Versionsüberprüfung"_s + titleTimeStamp());
        return Outcome::Incompatible;
    }
    const QString file = paths::workFolder() + u"Tellmarin.dashboard-account"_s;
    const QString text = accountFileText(withoutTrailingSeparator(paths::programFolder()),
                                         programExecutable(), clock::now());
    try {
        files::ensureFolder(paths::workFolder());
        textfile::write(file, text);
    } catch (const Error& e) {
        log.errorLine(ErrorExit{u"subKlickConfig"_s}, e);
        msgbox::show(u"Die Kontodatei für den AGFEO Dashboard-Client konnte nicht geschrieben "
                     u"werden:\r"_s +
                         file + u"\r\r"_s + QString::number(e.number()) + u": "_s + e.description(),
                     msgbox::Buttons::Ok, msgbox::Icon::Critical, product);
        return Outcome::WriteFailed;
    }
    shell::open(file);
    msgbox::show(u"AGFEO Dashboard-Clientkonfiguration abgeschlossen."_s, msgbox::Buttons::Ok,
                 msgbox::Icon::Information, product);
    return Outcome::Configured;
}

} // namespace tlm::dashboard
