// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/contactchoice.h"

#include "core/calldialogs.h"
#include "core/callfile.h"
#include "core/foundcontact.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/inifile.h"
#include "platform/processlock.h"
#include "platform/texts.h"

using namespace Qt::StringLiterals;

namespace tlm {

void takeContactChoice(Run& run, const ContactChoice& choice) {
    Lookup& lookup = run.lookup;
    switch (choice.kind) {
    case ContactChoice::Kind::None:
        break;
    case ContactChoice::Kind::Cancelled:
        run.chosenEntryId.clear();
        lookup.foundCount = 0;
        break;
    case ContactChoice::Kind::Chosen:
        run.chosenEntryId = choice.entryId;
        lookup.currentContact = choice.contact;
        if (choice.contact)
            lookup.matchedField = choice.field;
        if (choice.recorded)
            lookup.foundCount = 1;
        break;
    }
}

ContactChoiceSession::ContactChoiceSession(Run& run) : m_run(run) {
    m_run.log.subLog(u"Dialog 'Kontaktauswahl' anzeigen"_s, 80000);
    ignoreErrors([&] { m_lock = std::make_unique<processlock::Holder>(choiceLockPath(m_run)); });
    ignoreErrors([&] {
        subIniWrite(callFilePath(m_run), u"Program"_s, u"ContactChoiceDialogue"_s,
                    texts::dateTime(clock::now()));
    });
}

ContactChoiceSession::~ContactChoiceSession() {
    end();
}

void ContactChoiceSession::end() {
    if (m_ended)
        return;
    m_ended = true;
    ignoreErrors([&] {
        subIniWrite(callFilePath(m_run), u"Program"_s, u"ContactChoiceDialogue"_s, QString());
    });
    m_run.log.subLog(u"Dialog 'Kontaktauswahl' schließen"_s, 80999);
    m_lock.reset();
}

QString ContactChoiceSession::favouritesFile() const {
    return m_run.env.workFolder + u"tlmOlfav.ini"_s;
}

QString ContactChoiceSession::favourite() const {
    QString entryId;
    ignoreErrors(
        [&] { entryId = ini::read(favouritesFile(), u"Favoriten"_s, m_run.params[P_NUMBER]); });
    return entryId;
}

void ContactChoiceSession::choose(const FoundContact& line, ContactChoice& answer) {
    m_run.log.subLog(u"...Auswahl getroffen"_s, 80100);
    answer = ContactChoice{ContactChoice::Kind::Chosen, line.entryId};
    ignoreErrors([&] { answer.contact = m_run.mapi->GetItemFromID(answer.entryId); });
    if (const outlook::ItemPtr contact = answer.contact) {
        m_run.log.subLog(
            u"...Kontaktauswahl: "_s + contactLogText(contact->text(u"FullNameAndCompany"_s)),
            80110);
        answer.field = line.field;
        subUpdateCallFileContact(m_run, contact, answer.field);
        answer.recorded = true;
        subIniWrite(callFilePath(m_run), u"Contact"_s, u"Contact-ID"_s, contact->EntryID());
    }
    bool numeric = false;
    const int menu = m_run.params[P_MENU_OPTION].trimmed().toInt(&numeric);
    if (numeric && menu == 0) {
        m_run.log.subLog(u"...Favorit speichern"_s, 80111);
        ini::write(favouritesFile(), u"Favoriten"_s, m_run.params[P_NUMBER], answer.entryId);
    }
}

void ContactChoiceSession::chooseNone() {
    subIniWrite(callFilePath(m_run), u"Contact"_s, u"Contact-ID"_s, QString());
}

ContactChoice ContactChoiceSession::cancel() {
    m_run.log.subLog(u"...Abbruch (ohne Kontaktauswahl)"_s, 80900);
    return {ContactChoice::Kind::Cancelled};
}

} // namespace tlm
