// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/journal.h"

#include "core/callfile.h"
#include "core/callitem.h"
#include "core/callrules.h"
#include "core/itemtexts.h"
#include "core/run.h"
#include "outlook/folder.h"
#include "outlook/item.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

// Log lines of the journal go to the per-call log.
enum Step {
    StepGuard = 50010,
    StepCreate = 50020,
    StepProperties = 50030,
    StepSubject = 50040,
    StepTimer = 50050,
    StepEditor = 50060, // and the tab stops
    StepNumber = 50080,
    StepContact = 50090,
    StepNoContact = 50100,
    StepSave = 50110,
};

class Connect : public CallItemBuilder {
public:
    explicit Connect(Run& run) : CallItemBuilder(run, ErrorExit{u"subConnect"_s}) {}
    void run();

private:
    bool refused();
    void createItem();
    void startTimerOrSetTimes();
    void saveAndShow();
};

bool Connect::refused() {
    const Settings& s = m_run.settings;
    QString reason;
    const std::optional<int> outbound = outboundDirection(m_run, m_exit);
    if (m_run.params.internalCall && s.Internal == 0)
        reason = u"Interner Ruf: keine Protokollierung"_s;
    else if (outbound == 0 && s.InJournal == 0)
        reason = u"Ankommender Ruf: keine Protokollierung"_s;
    else if (outbound == 1 && s.OutJournal == 0)
        reason = u"Ausgehender Ruf: keine Protokollierung"_s;
    if (reason.isEmpty())
        return false;
    m_log.subLog(reason, StepGuard);
    m_log.subLog(u"*** Event-Ende"_s, StepGuard);
    return true;
}

void Connect::createItem() {
    if (!m_run.alternativeFolder) {
        if (m_run.calendarMode)
            create(StepCreate, u"Termin-Element im persönlichen Ordner erstellen"_s,
                   outlook::olAppointmentItem);
        else
            create(StepCreate, u"Journal-Element im persönlichen Ordner erstellen"_s,
                   outlook::olJournalItem);
        return;
    }
    step(StepCreate, [&] {
        m_item = m_run.alternativeFolder->Items()->Add();
        m_log.subLog((m_item->Class() == outlook::olJournal ? u"Journal"_s : u"Termin"_s) +
                         u"-Element im alternativen Outlook-Ordner erstellen"_s,
                     StepCreate);
    });
}

void Connect::startTimerOrSetTimes() {
    step(StepTimer, [&] {
        if (item().Class() == outlook::olJournal) {
            item().Starttimer();
            m_log.subLog(u"...Zeitgeber starten"_s, StepTimer);
            return;
        }
        item().set(u"Location"_s, u"Telefon/Remote"_s);
        item().set(u"ReminderSet"_s, false);
        item().set(u"Start"_s, itemtexts::callTime(1, m_run.params[P_TIMESTAMP]));
    });
}

void Connect::saveAndShow() {
    step(StepSave, [&] { item().Save(); });
    step(StepSave + 1,
         [&] { subIniWrite(callFilePath(m_run), u"Call"_s, u"Item-ID"_s, item().EntryID()); });
    show(StepSave + 2, u"...anzeigen"_s, m_run.settings.DisplayPosJournal);
}

void Connect::run() {
    if (refused())
        return;
    createItem();
    addCallProperties(StepProperties, u"...Outlook-Element-Properties/Tags"_s, true);
    setCallSubject(StepSubject, false);
    startTimerOrSetTimes();
    openEditor(StepEditor);
    writeNumberLine(StepNumber, u"...Rufnummer"_s, NumberLine::EmptyLineWithoutCallback);
    if (m_run.lookup.currentContact)
        takeContact(StepContact, {u"...Outlook-Kontakt-Eigenschaften übernehmen"_s});
    else
        takeCallerData(StepNoContact, u"...Adresse ("_s + QString::number(m_editorType) + u')');
    saveAndShow();
}

} // namespace

void subConnect(Run& run) {
    Connect(run).run();
}

} // namespace tlm
