// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/commandline.h"

#include "config/accountfile.h"
#include "config/settingsactions.h"
#include "core/environment.h"
#include "core/log.h"
#include "core/run.h"
#include "platform/messagebox.h"

#include <cstdio>

using namespace Qt::StringLiterals;

namespace tlm::cli {
namespace {

void print(FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fflush(stream);
}

const QString usage =
    u"Aufruf:\n"
    "  tellmarin                              Optionsfenster öffnen\n"
    "  tellmarin <19 Rufparameter>            ein Rufereignis des CTI-Clients verarbeiten\n"
    "  tellmarin --export-settings [DATEI]    Einstellungen sichern (Vorgabe: "
    "Tellmarin_all.ini auf dem Desktop)\n"
    "  tellmarin --import-settings DATEI      Einstellungen aus einer Sicherung "
    "wiederherstellen\n"
    "  tellmarin --configure-dashboard        den AGFEO Dashboard-Client einrichten\n"
    "  tellmarin --help                       diese Hilfe\n"
    "  tellmarin --version                    Programmversion\n"
    "\n"
    "Rückgabewert: 0 Erfolg, 1 Fehler (Meldung auf der Standardfehlerausgabe), 2 falscher "
    "Aufruf.\n"_s;

int wrongCall(const QString& why) {
    print(stderr, u"tellmarin: "_s + why + u"\n\n"_s + usage);
    return 2;
}

} // namespace

bool isOption(const QStringList& arguments) {
    return !arguments.isEmpty() && arguments.front().startsWith(u"--"_s);
}

int run(const QStringList& arguments) {
    const QString option = arguments.front();
    const QStringList rest = arguments.mid(1);
    const auto expect = [&](int least, int most) {
        return rest.size() >= least && rest.size() <= most;
    };
    if (option == u"--help"_s)
        return expect(0, 0) ? (print(stdout, usage), 0)
                            : wrongCall(u"--help erwartet nichts weiter"_s);

    Run run;
    ignoreErrors([&] { setUpEnvironment(run.env, run.log); });
    msgbox::setConsole(true);
    if (option == u"--version"_s) {
        if (!expect(0, 0))
            return wrongCall(u"--version erwartet nichts weiter"_s);
        print(stdout, u"Tellmarin "_s + run.env.programVersion + u'\n');
        return 0;
    }
    if (option == u"--export-settings"_s) {
        if (!expect(0, 1))
            return wrongCall(u"--export-settings erwartet höchstens eine Datei"_s);
        return actions::subExportOptionen(run.log, rest.value(0), false) ? 0 : 1;
    }
    if (option == u"--import-settings"_s) {
        if (!expect(1, 1))
            return wrongCall(u"--import-settings erwartet genau eine Datei"_s);
        return actions::restoreSettings(run.log, rest.front()) ? 0 : 1;
    }
    if (option == u"--configure-dashboard"_s) {
        if (!expect(0, 0))
            return wrongCall(u"--configure-dashboard erwartet nichts weiter"_s);
        return dashboard::subKlickConfig(run.log) == dashboard::Outcome::Configured ? 0 : 1;
    }
    return wrongCall(u"unbekannte Option "_s + option);
}

} // namespace tlm::cli
