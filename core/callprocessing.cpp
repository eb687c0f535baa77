// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/callprocessing.h"

#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/callrules.h"
#include "core/callstate.h"
#include "core/contactindex.h"
#include "core/itemwindow.h"
#include "core/journal.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/item.h"
#include "platform/clock.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

bool isOneOf(const QString& event, std::initializer_list<const char16_t*> names) {
    for (const char16_t* n : names)
        if (event == QString::fromUtf16(n))
            return true;
    return false;
}

// The automatic processing of one call-state event.
class Automatic {
public:
    explicit Automatic(Run& run) : m_run(run), m_log(run.log), m_file(callFilePath(run)) {}

    void lookUpCaller();
    void pickUp();
    void connect(bool headLine = true);
    void disconnect();
    void finish();

private:
    void headLine(int step) {
        m_log.subLog(m_run.params[P_INVOKED_FROM].toUpper() + u": "_s + m_run.params[P_NUMBER],
                     step);
    }
    void statement(const std::function<void()>& s) { m_log.guard(mainErrorExit, s); }
    QString read(const QString& section, const QString& key) {
        return fncIniRead(m_file, section, key);
    }
    QString contactText() {
        QString text;
        statement([&] {
            text = contactLogText(m_run.lookup.currentContact->text(u"FullNameAndCompany"_s));
        });
        return text;
    }
    outlook::ItemPtr open(const QString& entryId) { return openItem(m_run, entryId); }
    void showContact() {
        showItem(m_run, m_run.lookup.currentContact, m_run.settings.DisplayPosContact);
    }
    QString itemKind() const { return m_run.calendarMode ? u"Kalender"_s : u"Journal"_s; }
    // Closes the call's contact; logStep 0 writes no line of its own.
    void closeRecordedContact(int logStep);
    void deleteRecordedItem(int logStep, const QString& dots);
    void afterContactChoice();

    Run& m_run;
    Log& m_log;
    const QString m_file;
};

void Automatic::lookUpCaller() {
    headLine(41000);
    subIndexLookup(m_run);
    const bool busy = m_run.params[P_INVOKED_FROM] == u"calledbusy"_s;
    const int found = m_run.lookup.foundCount;
    if (found == 0) {
        m_log.subLog(u"Kein passenden Outlook-Kontakt gefunden"_s, 41100);
    } else if (found == 1) {
        m_log.subLog(u"Outlook-Kontakt: "_s + contactText(), 41200);
        subUpdateCallFileContact(m_run);
        if (!busy) {
            switch (showRule(m_run)) {
            case ShowDecision::HiddenByDirection:
                m_log.subLog(u"...nicht anzeigen"_s, 41210);
                break;
            case ShowDecision::HiddenAsInternal:
                m_log.subLog(u"...nicht anzeigen"_s, 41211);
                break;
            case ShowDecision::Show:
                m_log.subLog(u"...anzeigen"_s, 41220);
                showContact();
                break;
            }
        }
    } else {
        m_log.subLog(u"Es gibt mehrere Outlook-Kontakte unter der Rufnummer"_s, 41300);
        m_run.lookup.currentContact.reset();
        if (!busy)
            afterContactChoice();
    }
    m_log.subLog(u"*** Event-Ende"_s, 41990);
}

void Automatic::afterContactChoice() {
    m_log.subLog(u"...Dialog 'Kontaktauswahl' muss angezeigt werden"_s, 41310);
    showContactChoice(m_run);
    if (!m_run.lookup.currentContact) {
        if (m_run.chosenEntryId.isEmpty())
            m_log.subLog(u"...Outlook-Kontaktauswahldialog wurde abgebrochen"_s, 41340);
    } else if (showRule(m_run) == ShowDecision::Show) {
        m_log.subLog(u"...Outlook-Kontakt anzeigen"_s, 41330);
        showContact();
    } else {
        m_log.subLog(u"...Outlook-Kontakt nicht anzeigen"_s, 41320);
    }
    // A connect of this call that arrived while the window was open stopped
    // at start-up; it is done now.
    if (!read(u"Timestamps"_s, u"Connect"_s).isEmpty()) {
        m_log.subLog(u"...Zwischenzeitliches CONNECT-Event wird nachgeholt"_s, 41400);
        connect(false);
    }
}

void Automatic::closeRecordedContact(int logStep) {
    const outlook::ItemPtr contact = open(read(u"Contact"_s, u"Contact-ID"_s));
    if (!contact)
        return;
    if (logStep)
        m_log.subLog(u"Outlook-Kontakt schließen"_s, logStep);
    statement([&] { contact->Close(outlook::olPromptForSave); });
}

void Automatic::deleteRecordedItem(int logStep, const QString& dots) {
    const outlook::ItemPtr item = open(read(u"Call"_s, u"Item-ID"_s));
    if (!item)
        return;
    m_log.subLog(dots + itemKind() + u"-Element löschen"_s, logStep);
    statement([&] { item->Delete(); });
    statement([&] { subIniWrite(m_file, u"Call"_s, u"Item-ID"_s, QString()); });
}

void Automatic::pickUp() {
    headLine(42000);
    closeRecordedContact(42100);
    deleteRecordedItem(42110, QString());
    m_log.subLog(u"*** Event-Ende"_s, 42990);
}

void Automatic::disconnect() {
    headLine(44000);
    m_log.subLog(u"...Outlook-Kontakt schließen"_s, 44010);
    closeRecordedContact(0);
    deleteRecordedItem(44020, u"..."_s);
    m_log.subLog(u"*** Event-Ende"_s, 44990);
}

void Automatic::connect(bool withHeadLine) {
    if (withHeadLine)
        headLine(43000);
    Lookup& lookup = m_run.lookup;
    if (!read(u"Contact"_s, u"Contact-ID"_s).isEmpty()) {
        if (openRecordedContact(m_run)) {
            m_log.subLog(u"Outlook-Kontakt: "_s + contactText(), 43010);
            lookup.foundCount = 1;
        }
    } else {
        m_log.subLog(u"...Outlook-Index auslesen"_s, 43020);
        subIndexLookup(m_run);
        if (lookup.foundCount == 1) {
            m_log.subLog(u"Outlook-Kontakt:"_s + contactText(), 43030);
            subUpdateCallFileContact(m_run);
        }
    }
    if (lookup.foundCount > 1) {
        m_log.subLog(u"Dialog 'Kontaktauswahl' muss angezeigt werden"_s, 43100);
        lookup.currentContact.reset();
        showContactChoice(m_run);
    }
    if (!lookup.currentContact) {
        if (journalWithoutContact(m_run))
            subConnect(m_run);
    } else {
        if (showRule(m_run) == ShowDecision::Show) {
            m_log.subLog(u"...anzeigen"_s, 43220);
            showContact();
        } else {
            m_log.subLog(u"...nicht anzeigen"_s, 43210);
        }
        if (journalWithContact(m_run))
            subConnect(m_run);
    }
    m_log.subLog(u"*** Event-Ende"_s, 43990);
}

void Automatic::finish() {
    headLine(45000);
    openRecordedContact(m_run);
    m_run.currentItem = open(read(u"Call"_s, u"Item-ID"_s));
    const outlook::ItemPtr item = m_run.currentItem;
    if (item) {
        bool journal = false;
        statement([&] { journal = item->Class() == outlook::olJournal; });
        m_log.subLog(u"..."_s + (journal ? u"Journal"_s : u"Kalender"_s) + u"-Element gefunden"_s,
                     45100);
        if (journal) {
            m_log.subLog(u"...Zeitgeber anhalten"_s, 45110);
            statement([&] { item->StopTimer(); });
            statement([&] {
                if (item->number(u"Duration"_s) == 0)
                    item->set(u"Duration"_s, 1);
            });
        } else {
            m_log.subLog(u"...Endzeit setzen"_s, 45120);
            statement([&] { item->set(u"End"_s, clock::now()); });
        }
        statement([&] { item->Save(); });
        showItem(m_run, item, m_run.settings.DisplayPosJournal);
    }
    const outlook::ItemPtr contact = m_run.lookup.currentContact;
    switch (m_run.settings.JournalCallEnd) {
    case 0:
        if (contact && item) {
            m_log.subLog(u"...Gesprächsende-Dialog anzeigen"_s, 45210);
            if (callDialogs().callEnd)
                takeCallEndAnswer(m_run, callDialogs().callEnd(m_run));
        }
        break;
    case 1:
        m_log.subLog(u"...Outlook-Element(e) sofort schließen"_s, 45220);
        m_run.closeItems = true;
        break;
    case 2:
        m_log.subLog(u"...Outlook-Element(e) geöffnet lassen"_s, 45230);
        m_run.closeItems = false;
        break;
    default:
        break;
    }
    if (m_run.closeItems) {
        if (item) {
            m_log.subLog(u"...speichern/schließen"_s, 45300);
            statement([&] { item->Close(outlook::olSave); });
        }
        if (contact) {
            m_log.subLog(u"Kontakt-Element speichern/schließen"_s, 45310);
            statement([&] { contact->Close(outlook::olPromptForSave); });
        }
    }
    m_log.subLog(u"*** Event-Ende"_s, 45990);
}

} // namespace

RunEnd processEvent(Run& run) {
    const QString event = run.params[P_INVOKED_FROM];
    if (isOneOf(event, {u"ctiwindow", u"callerlog", u"contact"}))
        return processInteractive(run);
    run.log.subLog(u"*** Automatische Rufverarbeitung"_s, 40000);
    Automatic automatic(run);
    if (isOneOf(event, {u"calling", u"called", u"calledbusy"}))
        automatic.lookUpCaller();
    else if (event == u"pickup"_s)
        automatic.pickUp();
    else if (event == u"connect"_s)
        automatic.connect();
    else if (event == u"disconnect"_s)
        automatic.disconnect();
    else if (event == u"finished"_s)
        automatic.finish();
    return RunEnd::Done;
}

} // namespace tlm
