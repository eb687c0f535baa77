// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Context-menu entries 2 ("...als Termin": the call itself in the calendar)
// and 3 ("neuer Termin": a follow-up at the next working-day hour).
#include "core/callitem.h"
#include "core/interactiveitems.h"
#include "core/itemtexts.h"
#include "core/run.h"
#include "core/workday.h"
#include "outlook/item.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

class Appointment : public CallItemBuilder {
public:
    Appointment(Run& run, int entry)
        : CallItemBuilder(run, ErrorExit{u"subInteractiveAppointment"_s}), m_entry(entry),
          m_base(30000 + entry * 1000 + 100) {}

    void run() {
        create(m_base, u"Termin-Element erstellen..."_s, outlook::olAppointmentItem);
        addCallProperties(m_base + 10, u"...Outlook-Element-Properties/Tags"_s, false);
        if (m_entry == 2)
            fileTheCall();
        else
            step(m_base + 20, [&] {
                const WorkDayOptions options = readWorkDayOptions(m_run.env);
                item().set(u"Start"_s, fncNextWortAppointment({}, 1, options));
            });
        openEditor(m_base + 30);
        if (m_entry == 2)
            writeDurationLine(m_base + 40, u"...Gesprächsdauer"_s);
        writeNumberLine(m_base + 50, u"...Rufnummer"_s, NumberLine::EmptyLineWithoutCallback);
        if (m_run.lookup.currentContact) {
            ContactTexts texts{u"...Outlook-Kontakt vorhanden (Abrechnungsinfo, Kategorie(n))"_s};
            texts.otherAddressLog = u"...weitere Addresse"_s;
            texts.mileage = true;
            texts.addressAsLocation = m_entry == 3;
            takeContact(m_base + 60, texts);
        } else {
            takeCallerData(m_base + 70, u"...Adresse ("_s + QString::number(m_editorType) + u')');
        }
        show(m_base + 80, u"...fertiges Outlook-Terminelement anzeigen"_s, 0);
        m_log.subLog(u"*** Event-Ende"_s, m_base + 90);
    }

private:
    void fileTheCall() {
        step(m_base + 11, [&] { addTextProperty(u"PCALLID"_s, m_run.params[P_P_CALL_ID]); });
        setCallSubject(m_base + 20, true);
        step(m_base + 21, [&] {
            const QString& timestamp = m_run.params[P_TIMESTAMP];
            item().set(u"Location"_s, u"Telefon/Remote"_s);
            item().set(u"Start"_s, itemtexts::callTime(1, timestamp));
            if (unanswered())
                item().set(u"End"_s, item().get(u"Start"_s));
            else
                item().set(u"End"_s,
                           itemtexts::callDateTime(timestamp).addSecs(callDurationSeconds(m_run)));
            item().set(u"ReminderSet"_s, false);
        });
    }

    const int m_entry;
    const int m_base;
};

} // namespace

void subInteractiveAppointment(Run& run, int entry) {
    Appointment(run, entry).run();
}

} // namespace tlm
