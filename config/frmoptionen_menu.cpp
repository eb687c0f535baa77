// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The options window's menu bar and its entries.
#include "config/accountfile.h"
#include "config/frmoptionen.h"
#include "config/frmoptionen2.h"
#include "config/settingsactions.h"

#include "core/contactindex.h"
#include "core/log.h"
#include "core/run.h"
#include "core/versioninfo.h"
#include "outlook/application.h"
#include "outlook/item.h"
#include "platform/filedialog.h"
#include "platform/files.h"
#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QDir>
#include <QMenu>
#include <QMenuBar>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
QAction* entry(QMenu* menu, const QString& name, const QString& text) {
    QAction* a = menu->addAction(text);
    a->setObjectName(name);
    return a;
}
QMenu* submenu(QWidget* parent, const QString& name, const QString& text) {
    auto* m = new QMenu(text, parent);
    m->setObjectName(name);
    return m;
}
void separator(QMenu* menu, const QString& name) {
    menu->addSeparator()->setObjectName(name);
}
} // namespace

void frmOptionen::buildMenu() {
    QMenuBar* bar = menuBar();
    QMenu* datei = submenu(bar, u"mnuDatei"_s, u"Datei"_s);
    QMenu* export_ = submenu(datei, u"mnuDateiExport"_s, u"Sicherung"_s);
    connect(entry(export_, u"mnuDateiEinstellungSichernAlles"_s, u"alles"_s), &QAction::triggered,
            this, [this] { mnuDateiEinstellungSichern_Click(); });
    connect(entry(export_, u"mnuDateiEinstellungSichernOptionen"_s, u"nur Einstellungen"_s),
            &QAction::triggered, this, [this] { mnuDateiEinstellungSichern_Click(); });
    separator(export_, u"mnuDateiExportSep2"_s);
    connect(entry(export_, u"mnuDateiEinstellungLaden"_s, u"Rücksicherung"_s), &QAction::triggered,
            this, [this] { mnuDateiEinstellungLaden_Click(); });
    datei->addMenu(export_);
    bar->addMenu(datei);

    mnuAnsicht = submenu(bar, u"mnuAnsicht"_s, u"Ansicht"_s);
    QMenu* logs = submenu(mnuAnsicht, u"mnuAnsichtLog"_s, u"Logdateien"_s);
    mnuAnsichtLogLetzter = entry(logs, u"mnuAnsichtLogLetzter"_s, u"letztes Telefonat"_s);
    mnuAnsichtLogIndex = entry(logs, u"mnuAnsichtLogIndex"_s, u"Outlook-Index"_s);
    mnuAnsichtLogFehler = entry(logs, u"mnuAnsichtLogFehler"_s, u"Programm-/Debug"_s);
    mnuAnsicht->addMenu(logs);
    connect(mnuAnsichtLogLetzter, &QAction::triggered, this,
            [this] { shell::open(m_run.env.workFolder + u"tlmLastCall.log"_s); });
    connect(mnuAnsichtLogIndex, &QAction::triggered, this, [this] {
        const QString path = indexLogPath(m_run.env.indexFile);
        if (files::exists(path))
            shell::open(path);
    });
    connect(mnuAnsichtLogFehler, &QAction::triggered, this,
            [this] { shell::open(m_run.log.programLogPath()); });
    connect(entry(mnuAnsicht, u"mnuAnsichtTemp"_s, u"TEMP-Verzeichnis"_s), &QAction::triggered,
            this, [this] { shell::open(m_run.env.workFolder); });
    connect(mnuAnsicht, &QMenu::aboutToShow, this, [this] { mnuAnsicht_Click(); });
    bar->addMenu(mnuAnsicht);

    QMenu* extras = submenu(bar, u"mnuExtras"_s, u"Extras"_s);
    connect(entry(extras, u"mnuExtrasParameter"_s, u"sonstige Einstellungen"_s),
            &QAction::triggered, this, [this] { frmOptionen2::show(m_run); });
    connect(entry(extras, u"mnuExtrasTEMP"_s, u"TEMP-/LOG-Bereinigung"_s), &QAction::triggered,
            this, [this] { mnuExtrasTEMP_Click(); });
    separator(extras, u"sepExtras1"_s);
    // The older client of the same maker cannot be configured from here.
    entry(extras, u"mnuExtrasKonfig"_s, u"AGFEO TK-Suite Client ES konfigurieren"_s)
        ->setEnabled(false);
    mnuExtrasKonfigDashboard =
        entry(extras, u"mnuExtrasKonfigDashboard"_s, u"AGFEO Dashboard konfigurieren"_s);
    connect(mnuExtrasKonfigDashboard, &QAction::triggered, this,
            [this] { mnuExtrasKonfigDashboard_Click(); });
    bar->addMenu(extras);

    QMenu* hilfe = submenu(bar, u"mnuHilfe"_s, u"?"_s);
    hilfe->menuAction()->setObjectName(u"mnuHilfe"_s);
    connect(entry(hilfe, u"mnuHilfeInfo"_s, u"Info"_s), &QAction::triggered, this,
            [this] { mnuHilfeInfo_Click(); });
    connect(entry(hilfe, u"mnuHilfeHandbuch"_s, u"Handbuch"_s), &QAction::triggered, this,
            [this] { mnuHilfeHandbuch_Click(); });
    separator(hilfe, u"mnuHilfeSep2"_s);
    connect(entry(hilfe, u"mnuHilfeWeb"_s, u"Tellmarin im Internet"_s), &QAction::triggered, this,
            [this] { mnuHilfeWeb_Click(); });
    separator(hilfe, u"mnuHilfeSep1"_s);
    connect(entry(hilfe, u"mnuHilfeKontakt"_s, u"1 - E-Mail-Support"_s), &QAction::triggered, this,
            [this] { mnuHilfeKontakt_Click(); });
    connect(entry(hilfe, u"mnuHilfeTeamviewer"_s, u"2 - TeamViewer-Download"_s),
            &QAction::triggered, this, [this] { mnuHilfeTeamviewer_Click(); });
    bar->addMenu(hilfe);
    hilfe->menuAction()->setText(u"?"_s);
    hilfe->menuAction()->setToolTip(u"Hilfe"_s);
}

void frmOptionen::mnuAnsicht_Click() {
    mnuAnsichtLogLetzter->setEnabled(files::exists(m_run.env.workFolder + u"tlmLastCall.log"_s));
    mnuAnsichtLogIndex->setEnabled(files::exists(indexLogPath(m_run.env.indexFile)));
    mnuAnsichtLogFehler->setEnabled(files::exists(m_run.log.programLogPath()));
}

void frmOptionen::mnuDateiEinstellungSichern_Click() {
    actions::subExportOptionen(m_run.log, QString(), true);
}

void frmOptionen::mnuDateiEinstellungLaden_Click() {
    const QString path =
        filedialog::openFile(u"Bitte die Sicherungsdatei auswählen..."_s,
                             u"Tellmarin-Programmeinstellungen"_s, u"*.ini"_s, QDir::homePath())
            .trimmed();
    if (path.isEmpty() || !files::exists(path))
        return;
    if (!actions::restoreSettings(m_run.log, path))
        return;
    actions::tellRestoreEnds();
    m_restored = true;
    close();
}

void frmOptionen::mnuExtrasTEMP_Click() {
    actions::cleanUpLogs(m_run.log);
}

void frmOptionen::mnuExtrasKonfigDashboard_Click() {
    if (msgbox::show(u"Möchten Sie den AGFEO Dashboard-Client jetzt konfigurieren?"_s,
                     msgbox::Buttons::YesNo, msgbox::Icon::Question, u"Tellmarin"_s,
                     2) == msgbox::Answer::Yes)
        dashboard::subKlickConfig(m_run.log);
}

void frmOptionen::mnuHilfeInfo_Click() {
    msgbox::show(actions::infoText(m_run.env.programVersion), msgbox::Buttons::Ok,
                 msgbox::Icon::Information, u"Info"_s);
}

void frmOptionen::mnuHilfeHandbuch_Click() {
    const QString manual = m_run.env.programFolder + u"Tellmarin-Handbuch.pdf"_s;
    if (!files::exists(manual)) {
        msgbox::show(u"Bei Aufrufen des Handbuchs ist ein Fehler aufgetreten"_s,
                     msgbox::Buttons::Ok, msgbox::Icon::Critical, u"Tellmarin - Handbuch"_s);
        return;
    }
    shell::open(manual);
}

void frmOptionen::mnuHilfeWeb_Click() {
    shell::open(versioninfo::webPage());
}

void frmOptionen::mnuHilfeKontakt_Click() {
    if (msgbox::show(u"Möchten Sie den Tellmarin-Support jetzt per E-Mail kontaktieren?"_s,
                     msgbox::Buttons::YesNo, msgbox::Icon::Question, u"Unterstützung anfordern"_s,
                     2) != msgbox::Answer::Yes)
        return;
    const auto fail = [this](const Error& e) {
        m_run.log.errorLine(ErrorExit::handler(u"frmOptionen.mnuHilfeKontakt_Click"_s), Step(), e);
    };
    try {
        attach();
        const outlook::ItemPtr mail = m_run.application->CreateItem(outlook::olMailItem);
        mail->set(u"To"_s, versioninfo::supportAddress);
        mail->setSubject(u"Support-Anfrage"_s);
        QString version = fncVersionText(m_run.env);
        version.replace(u'\r', u"\r\n"_s);
        mail->set(u"Body"_s, u"Bitte beschreiben Sie hier Ihr Anliegen:\r\n\r\n\r\n"_s +
                                 QString(75, u'-') + u"\r\n"_s + version + u"\r\n"_s);
        mail->Display();
    } catch (const Error& e) {
        fail(e);
    }
}

void frmOptionen::mnuHilfeTeamviewer_Click() {
    if (msgbox::show(u"Sie gelangen jetzt zur Internetpräsenz der TeamViewer Germany GmbH."_s,
                     msgbox::Buttons::OkCancel, msgbox::Icon::Information, u"Tellmarin"_s,
                     2) != msgbox::Answer::Cancel)
        shell::open(versioninfo::teamViewerPage);
}

} // namespace tlm
