// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/commandline.h"

using namespace Qt::StringLiterals;

namespace tlm::viewer {

CommandLine parseCommandLine(const QStringList& args) {
    CommandLine c;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        if (a == u"--help"_s || a == u"-h"_s) {
            c.action = CommandLine::Action::Help;
            return c;
        }
        if (a == u"--version"_s) {
            c.action = CommandLine::Action::Version;
            return c;
        }
        if (a == u"--create"_s) {
            c.create = true;
        } else if (a == u"--autostart"_s) {
            c.sessionStart = true;
        } else if (a == u"--store"_s && i + 1 < args.size()) {
            c.store = args.at(++i);
        } else if (a.startsWith(u"--store="_s)) {
            c.store = a.mid(8);
        } else {
            c.action = CommandLine::Action::Wrong;
            c.error = u"Unbekanntes Argument: "_s + a;
            return c;
        }
    }
    return c;
}

QString helpText() {
    return u"Aufruf: tellmarin-viewer [--create] [--autostart] [--store DATEI]\n\n"
           u"Zeigt den lokalen PIM-Speicher von Tellmarin: Ordner, Elemente und die\n"
           u"Fenster, die Tellmarin bei Anrufen öffnet. Je Speicher und Sitzung läuft\n"
           u"ein Viewer; ein zweiter Start holt den ersten nach vorn.\n\n"
           u"Optionen:\n"
           u"  --store DATEI  der Speicher (sonst TELLMARIN_PIM, sonst\n"
           u"                 $XDG_DATA_HOME/Orvensoft/pim.sqlite)\n"
           u"  --create       einen fehlenden Speicher anlegen\n"
           u"  --autostart    beim Anmelden gestartet: ohne Speicher still enden\n"
           u"  --help         diese Hilfe\n"
           u"  --version      die Version\n"_s;
}

QString versionText() {
    return u"tellmarin-viewer "_s + QStringLiteral(TM_VERSION) + u'\n';
}

QString missingStoreText(const QString& path) {
    return u"Der PIM-Speicher \""_s + path +
           u"\" ist nicht vorhanden.\n"
           u"Anlegen mit \"tellmarin-viewer --create\" oder \"tellmarin-pim create\"."_s;
}

} // namespace tlm::viewer
