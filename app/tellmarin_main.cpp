// tellmarin: started by the CTI client once per call event with 19
// arguments; without arguments it opens the options window.
#include "callwindows/callwindows.h"
#include "callwindows/frmindexaufbau.h"
#include "core/params.h"
#include "core/run.h"
#include "platform/gui.h"

#include <QApplication>

int main(int argc, char** argv) {
    tlm::gui::prepareEnvironment();
    QApplication app(argc, argv);
    tlm::registerIndexProgressWindow();
    tlm::registerCallWindows();
    // The raw command line as the CTI client wrote it; TELLMARIN_CMDLINE passes
    // one verbatim (scripted runs of exact command lines).
    const QByteArray raw = qgetenv("TELLMARIN_CMDLINE");
    const QString commandLine =
        !raw.isNull() ? QString::fromUtf8(raw) : tlm::rawCommandLine(app.arguments().mid(1));
    tlm::Run run;
    // A window shown without waiting keeps the process alive until it closes.
    // (The options window is not part of this build yet.)
    if (tlm::Main(run, commandLine) == tlm::RunEnd::ReconciliationWindow)
        return app.exec();
    return 0;
}
