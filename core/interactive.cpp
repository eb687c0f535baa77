// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The CTI client's context-menu entries: show the linked contact (or offer
// the contact reconciliation window), file the call as an appointment, a
// task, a journal entry or an e-mail. An item already filed for the call is
// shown again instead of a second one.
#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/callprocessing.h"
#include "core/callstate.h"
#include "core/contactindex.h"
#include "core/interactiveitems.h"
#include "core/itemwindow.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/messagebox.h"

#include <optional>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

class Interactive {
public:
    explicit Interactive(Run& run) : m_run(run), m_log(run.log) {}
    RunEnd run();

private:
    std::optional<int> menuNumber();
    bool showFiledItem(int entry);
    bool resolveContact();
    RunEnd showOrReconcileContact();
    QString contactText() {
        QString text;
        m_log.guard(mainErrorExit, [&] {
            text = contactLogText(m_run.lookup.currentContact->text(u"FullNameAndCompany"_s));
        });
        return text;
    }

    Run& m_run;
    Log& m_log;
};

std::optional<int> Interactive::menuNumber() {
    bool ok = false;
    const int n = m_run.params[P_MENU_OPTION].trimmed().toInt(&ok);
    if (ok)
        return n;
    m_log.errorLine(mainErrorExit, err::TypeMismatch, u"Typen unverträglich"_s);
    return std::nullopt;
}

// Entries 2, 4 and 5: an item of this call already in its folder is shown.
bool Interactive::showFiledItem(int entry) {
    outlook::ItemPtr filed;
    if (m_run.alternativeFolder) {
        m_log.subLog(
            u"...Überprüfen ob ein Outlook-Element im alternativen Ordner schon existiert..."_s,
            30024);
        m_log.guard(mainErrorExit, [&] { filed = findCallItem(m_run, m_run.alternativeFolder); });
    } else {
        struct Search {
            int entry, step, folder;
            const char16_t* kind;
        };
        static const Search searches[] = {{2, 30021, outlook::olFolderCalendar, u"Kalender"},
                                          {4, 30022, outlook::olFolderTasks, u"Aufgaben"},
                                          {5, 30023, outlook::olFolderJournal, u"Journal"}};
        for (const Search& s : searches) {
            if (s.entry != entry)
                continue;
            m_log.subLog(u"...Überprüfen ob ein "_s + QString::fromUtf16(s.kind) +
                             u"-Element im persönlichen Ordner schon existiert..."_s,
                         s.step);
            ignoreErrors(
                [&] { filed = findCallItem(m_run, m_run.mapi->GetDefaultFolder(s.folder)); });
        }
    }
    if (!filed) {
        m_log.subLog(u"...nicht gefunden"_s, 30030);
        return false;
    }
    m_run.currentItem = filed;
    showItem(m_run, filed, m_run.settings.DisplayPosJournal);
    m_log.subLog(u"...gefunden und anzeigen"_s, 30030);
    m_log.subLog(u"*** Event-Ende"_s, 30039);
    return true;
}

// The caller's contact: the linked one, else the index's; several contacts
// are chosen in the choice window. False when the run must end.
bool Interactive::resolveContact() {
    subIndexLookup(m_run);
    Lookup& lookup = m_run.lookup;
    if (openRecordedContact(m_run)) {
        lookup.foundCount = 1;
        m_log.subLog(u"verknüpften Outlook-Kontakt öffnen"_s, 30040);
    }
    if (!lookup.currentContact)
        return true;
    if (lookup.foundCount < 2) {
        m_log.subLog(u"...Outlook-Kontakt: "_s + contactText(), 30200);
        return true;
    }
    if (!fncIniRead(callFilePath(m_run), u"Program"_s, u"ContactChoiceDialogue"_s).isEmpty()) {
        m_log.subLog(u"Kontaktauswahldialog ist bereits geöffnet > Programmende"_s, 30199);
        return false;
    }
    lookup.currentContact.reset();
    showContactChoice(m_run);
    if (!lookup.currentContact)
        m_log.subLog(u"...es wurde KEIN Outlook-Kontakt ausgewählt"_s, 30200);
    else
        m_log.subLog(u"...Outlook-Kontakt: "_s + contactText(), 30200);
    return true;
}

// Entry 1.
RunEnd Interactive::showOrReconcileContact() {
    if (m_run.lookup.currentContact) {
        m_log.subLog(u"Kontextmenü-Eintrag 1 - Outlook-Kontakt anzeigen"_s, 31000);
        showItem(m_run, m_run.lookup.currentContact, 0);
        return RunEnd::Done;
    }
    m_log.subLog(
        u"Kontextmenü-Eintrag 1 - Outlook-Kontakt nicht gefunden > Kontakt-Abgleichsdialog?"_s,
        31010);
    const msgbox::Answer answer = msgbox::show(
        u"Ein Outlook-Kontakt wurde nicht gefunden. Möchten Sie dafür den Kontakt-Abgleichsdialog "
        u"aufrufen?"_s,
        msgbox::Buttons::YesNo, msgbox::Icon::Question, productName + u"- Kontakt anzeigen"_s, 2);
    if (answer != msgbox::Answer::Yes) {
        m_log.subLog(u"...vom Bentzer abgebrochen - keine Auswahl getroffen"_s, 31980);
        m_log.subLog(u"*** Event-Ende"_s, 31990);
        return RunEnd::Done;
    }
    m_log.subLog(u"...Kontakt-Abgleichsdialog anzeigen"_s, 31010);
    const auto& open = callDialogs().contactReconciliation;
    return open && open(m_run) ? RunEnd::ReconciliationWindow : RunEnd::Done;
}

RunEnd Interactive::run() {
    m_log.subLog(u"*** Interaktive Rufverarbeitung"_s, 30000);
    const std::optional<int> entry = menuNumber();
    if ((entry == 2 || entry == 4 || entry == 5) && showFiledItem(*entry))
        return RunEnd::Done;
    if (!resolveContact())
        return RunEnd::Done;
    const QString menu = m_run.params[P_MENU_OPTION];
    if (menu == u"1"_s)
        return showOrReconcileContact();
    struct MenuEntry {
        const char16_t* menu;
        int step;
        const char16_t* logText;
        void (*file)(Run&);
    };
    static const MenuEntry entries[] = {
        {u"2", 32000, u"Kontextmenü-Eintrag 2 - ...als Termin",
         [](Run& r) { subInteractiveAppointment(r, 2); }},
        {u"3", 33000, u"Kontextmenü-Eintrag 3 - neuer Termin",
         [](Run& r) { subInteractiveAppointment(r, 3); }},
        {u"4", 34000, u"Kontextmenü-Eintrag 4 - ...als Aufgabe",
         [](Run& r) { subInteractiveTast(r, 4); }},
        {u"5", 35000, u"Kontextmenü-Eintrag 5 - ...als Journaleintrag",
         [](Run& r) { subInteractiveTast(r, 5); }},
        {u"6", 36000, u"Kontextmenü-Eintrag 6 - ...als E-Mail", subInteractiveMail},
    };
    for (const MenuEntry& e : entries) {
        if (menu == QStringView(e.menu)) {
            m_log.subLog(QString::fromUtf16(e.logText), e.step);
            e.file(m_run);
            return RunEnd::Done;
        }
    }
    m_log.subLog(u"*** Ende der Interaktion"_s, 39999);
    return RunEnd::Done;
}

} // namespace

RunEnd processInteractive(Run& run) {
    return Interactive(run).run();
}

} // namespace tlm
