// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// tellmarin: started by the CTI client once per call event with 19
// arguments; without arguments it opens the options window; a first
// argument starting with "--" is an option for administrators.
#include "callwindows/callwindows.h"
#include "callwindows/frmindexaufbau.h"
#include "config/commandline.h"
#include "config/frmoptionen.h"
#include "core/params.h"
#include "core/run.h"
#include "pimoutlook/register.h"
#include "platform/gui.h"

#include <QApplication>

int main(int argc, char** argv) {
    tlm::gui::prepareEnvironment();
    QApplication app(argc, argv);
    tlm::gui::loadQtTranslation();
    tlm::pim::registerOutlookBackend();
    const QStringList arguments = app.arguments().mid(1);
    if (tlm::cli::isOption(arguments))
        return tlm::cli::run(arguments);
    tlm::registerIndexProgressWindow();
    tlm::registerCallWindows();
    // The raw command line as the CTI client wrote it; TELLMARIN_CMDLINE passes
    // one verbatim (scripted runs of exact command lines).
    const QByteArray raw = qgetenv("TELLMARIN_CMDLINE");
    const QString commandLine =
        !raw.isNull() ? QString::fromUtf8(raw) : tlm::rawCommandLine(arguments);
    tlm::Run run;
    switch (tlm::Main(run, commandLine)) {
    case tlm::RunEnd::OptionsWindow:
        tlm::frmOptionen::show(run);
        return 0;
    case tlm::RunEnd::ReconciliationWindow:
        // A window shown without waiting keeps the process alive until it closes.
        return app.exec();
    case tlm::RunEnd::Done:
        break;
    }
    return 0;
}
