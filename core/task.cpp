// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Context-menu entries 4 ("...als Aufgabe": a callback task due two days
// later) and 5 ("...als Journaleintrag": a journal entry covering the call).
// An item of that kind already filed for the call is shown again instead.
#include "core/callitem.h"
#include "core/interactiveitems.h"
#include "core/itemtexts.h"
#include "core/run.h"
#include "core/workday.h"
#include "outlook/application.h"
#include "outlook/item.h"
#include "platform/texts.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

class Task : public CallItemBuilder {
public:
    Task(Run& run, int entry)
        : CallItemBuilder(run, ErrorExit{u"subInteractiveTast"_s}), m_task(entry == 4),
          m_base(30000 + entry * 1000 + 100) {}

    void run() {
        if (showFiledItem())
            return;
        if (m_task)
            create(m_base, u"Aufgaben-Element erstellen..."_s, outlook::olTaskItem);
        else
            create(m_base, u"Journal-Element erstellen..."_s, outlook::olJournalItem);
        addCallProperties(m_base + 10, u"...Outlook-Properties/Tags hinzufügen"_s, true);
        setCallSubject(m_base + 20, true);
        if (m_task)
            setTaskDates();
        else
            setJournalTimes();
        openEditor(m_base + 30);
        writeDurationLine(m_base + 40,
                          u"...Gesprächsdauer ("_s + QString::number(m_editorType) + u')');
        writeNumberLine(m_base + 50, u"...Rückrufnummer"_s, NumberLine::NothingWithoutCallback);
        if (m_run.lookup.currentContact) {
            ContactTexts texts{u"...Outlook-Kontakt vorhanden (Abrechnungsinfo, Kategorie(n))"_s};
            texts.otherAddressLog = u"...weitere Addresse"_s;
            texts.linkLog = u"...Outlook-Kontaktverknüpfung (Link) hinzugefügt"_s;
            takeContact(m_base + 60, texts);
        } else {
            takeCallerData(m_base + 70, u"...Adresse"_s);
        }
        show(m_base + 80, u"...fertiges Outlook-Terminelement anzeigen"_s, 0);
        m_log.subLog(u"*** Event-Ende"_s, m_base + 90);
    }

private:
    // The item filed for this call before, shown again; errors are ignored.
    bool showFiledItem() {
        if (m_run.params[P_P_CALL_ID].isEmpty())
            return false;
        m_log.subLog(m_task ? u"...evtl. vorhandenes Aufgaben-Element ermitteln..."_s
                            : u"...evtl. vorhandenes Journal-Element ermitteln..."_s,
                     m_base + 1);
        outlook::ItemPtr filed;
        ignoreErrors([&] {
            filed = findCallItem(m_run,
                                 m_run.mapi->GetDefaultFolder(m_task ? outlook::olFolderTasks
                                                                     : outlook::olFolderJournal));
        });
        if (!filed) {
            m_log.subLog(u"...Element nicht gefunden - also..."_s, m_base + 2);
            return false;
        }
        m_item = filed;
        show(m_base + 2, u"...und anzeigen"_s, 0);
        m_log.subLog(u"*** Event-Ende"_s, m_base + 90);
        return true;
    }

    void setTaskDates() {
        step(m_base + 21, [&] {
            const QString& timestamp = m_run.params[P_TIMESTAMP];
            item().set(u"StartDate"_s, itemtexts::callTime(2, timestamp));
            const QDate due = itemtexts::callDateTime(timestamp).date().addDays(2);
            item().set(u"DueDate"_s, due);
            m_log.subLog(u"...Erinnerung setzen (ein Tag vor Fälligkeit)"_s, m_base + 21);
            item().set(u"ReminderSet"_s, true);
            item().set(u"ReminderTime"_s, texts::date(due.addDays(-1)) + u' ' +
                                              fncReminderTime(readWorkDayOptions(m_run.env)));
        });
    }

    void setJournalTimes() {
        step(m_base + 21, [&] {
            item().set(u"Start"_s, itemtexts::callTime(1, m_run.params[P_TIMESTAMP]));
            const qint64 seconds = callDurationSeconds(m_run);
            const QDateTime start = item().date(u"Start"_s);
            item().set(u"End"_s, seconds == 0 ? start : start.addSecs(seconds));
        });
    }

    const bool m_task;
    const int m_base;
};

} // namespace

void subInteractiveTast(Run& run, int entry) {
    Task(run, entry).run();
}

} // namespace tlm
