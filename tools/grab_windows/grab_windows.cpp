// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Renders the call-time windows with the sample address book, offscreen, as
// the README shows them: the contact choice window for the home number that
// Klaus and Petra Wagner share, and the end-of-call window after a call with
// Thomas Becker's business number, and the contact reconciliation window for
// a new caller whose company name is searched; the options window with each
// of its three sections open and the second options window; the store's
// folder picker; the viewer's account dialog, filled in.
// Usage: grab_windows [OUTPUT FOLDER] (default docs/images), run from the
// repository root (it reads data/sample-contacts.vcf).
#include "callwindows/frmgefunden.h"
#include "callwindows/frmgende.h"
#include "callwindows/frmkontaktabgleich.h"
#include "config/frmoptionen.h"
#include "config/frmoptionen2.h"
#include "core/contactindex.h"
#include "core/run.h"
#include "core/settings.h"
#include "formats/vcard.h"
#include "outlook/application.h"
#include "pimoutlook/dialogs.h"
#include "pimoutlook/register.h"
#include "platform/gui.h"
#include "store/pimstore.h"
#include "viewer/accountdialog.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLineEdit>
#include <QTemporaryDir>
#include <cstdio>

using namespace Qt::StringLiterals;

namespace {
void save(QWidget& window, const QString& path) {
    window.show();
    QApplication::processEvents();
    if (!window.grab().save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
    else
        std::printf("%s\n", qPrintable(path));
}

void prepareRun(tlm::Run& run, const QString& root, const QString& number) {
    run.env.workFolder = root + u"/temp/Tellmarin/"_s;
    run.env.indexFile = run.env.workFolder + u"tlm.idx"_s;
    run.params.values[tlm::P_NUMBER] = number;
    run.params.values[tlm::P_MENU_OPTION] = u"0"_s;
    run.params.values[tlm::P_P_CALL_ID] = u"5F3A9C21-0001-4B7E"_s;
    run.application = tlm::outlook::attach();
    run.mapi = run.application->GetNamespace(u"MAPI"_s);
    tlm::subCreateFileIndex(run, false);
    tlm::subIndexLookup(run);
}
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qputenv("TELLMARIN_AUTOANSWER", "1");
    QTemporaryDir dir;
    const QString root = dir.path();
    QDir().mkpath(root + u"/temp/Tellmarin"_s);
    QDir().mkpath(root + u"/config/Orvensoft"_s);
    qputenv("TEMP", (root + u"/temp"_s).toUtf8());
    qputenv("XDG_CONFIG_HOME", (root + u"/config"_s).toUtf8());
    qputenv("TELLMARIN_PIM", (root + u"/pim.sqlite"_s).toUtf8());
    QApplication app(argc, argv);
    tlm::pim::registerOutlookBackend();
    tlm::gui::loadQtTranslation(); // as the program shows its standard buttons
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : u"docs/images"_s;
    QDir().mkpath(out);

    {
        tlm::pim::Store store;
        const QString folder = store.defaultFolder(tlm::outlook::olFolderContacts).entryId;
        for (const auto& contact :
             tlm::pim::vcard::readFile(u"data/sample-contacts.vcf"_s).contacts) {
            tlm::pim::ItemRecord record;
            record.properties = contact;
            record.body = record.properties.take(u"Body"_s).toString();
            store.addItem(folder, record);
        }
    }
    tlm::saveSetting(tlm::keys::DefaultFolder, u"1"_s);

    tlm::Run choice;
    prepareRun(choice, root, u"0221987654"_s);
    choice.settings.AutoChoice = 10;
    {
        tlm::frmGefunden window(choice);
        for (int i = 0; i < 3; ++i)
            window.timerSecond_Timer();
        save(window, out + u"/frmGefunden.png"_s);
        window.cmdAbbruch_Click();
    }

    tlm::Run end;
    prepareRun(end, root, u"03012345678"_s);
    {
        tlm::frmGEnde window(end);
        for (int i = 0; i < 3; ++i)
            window.timerSecond_Timer();
        save(window, out + u"/frmGEnde.png"_s);
    }

    tlm::Run newCaller;
    prepareRun(newCaller, root, u"030123456"_s);
    const QStringList caller = {u"Anna"_s,        u"Schulz"_s, u"Becker Haustechnik"_s,
                                u"Hauptstr. 5"_s, u"10115"_s,  u"Berlin"_s};
    for (int i = 0; i < caller.size(); ++i)
        newCaller.params.values[tlm::P_FIRST_NAME + i] = caller[i];
    newCaller.params.values[tlm::P_INVOKED_FROM] = u"callerlog"_s;
    tlm::frmKontaktAbgleich window(newCaller);
    window.findChild<QLineEdit*>(u"txtSuchen"_s)->setText(u"Becker"_s);
    window.subSearchContacts();
    save(window, out + u"/frmKontaktAbgleich.png"_s);

    tlm::Run options;
    tlm::Main(options, QString());
    {
        tlm::frmOptionen form(options);
        form.Form_Load();
        form.QMainWindow::show(); // activation opens section 1
        form.cmdEinlesen_Click(); // the count in the header; opens section 2
        save(form, out + u"/frmOptionen-Kontakt.png"_s);
        form.subShowRubrik(1);
        save(form, out + u"/frmOptionen.png"_s);
        form.subShowRubrik(3);
        save(form, out + u"/frmOptionen-Journal.png"_s);
    }
    tlm::frmOptionen2 second(options);
    second.Form_Load();
    save(second, out + u"/frmOptionen2.png"_s);

    const std::unique_ptr<QDialog> picker = tlm::pim::dialogs::folderWindow(tlm::pim::Store());
    save(*picker, out + u"/Ordnerauswahl.png"_s);

    tlm::viewer::AccountDialog account;
    const QList<std::pair<QString, QString>> entries = {{u"txtAdresse"_s, u"https://dav.example.org/"_s},
                                                        {u"txtBenutzer"_s, u"anna.schulz"_s},
                                                        {u"txtPasswort"_s, u"geheim-2026"_s},
                                                        {u"txtName"_s, u"Büro"_s}};
    for (const auto& [name, text] : entries)
        account.findChild<QLineEdit*>(name)->setText(text);
    save(account, out + u"/frmKonto.png"_s);
    return 0;
}
