// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Context-menu entry 6: a new e-mail to the caller, titled after the call.
#include "core/callitem.h"
#include "core/interactiveitems.h"
#include "core/itemtexts.h"
#include "core/run.h"
#include "outlook/application.h"
#include "outlook/item.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

constexpr int Base = 36100;

class Mail : public CallItemBuilder {
public:
    explicit Mail(Run& run) : CallItemBuilder(run, ErrorExit{u"subInteractiveMail"_s}) {}

    void run() {
        step(Base, [&] { m_item = m_run.application->CreateItem(outlook::olMailItem); });
        addCallProperties(Base + 10, u"...Outlook-Element-Properties/Tags"_s, true);
        const outlook::ItemPtr contact = m_run.lookup.currentContact;
        step(Base + 20, [&] {
            if (contact) {
                m_log.subLog(u"...mit Outlook-Kontaktverweis"_s, Base + 20);
                addTextProperty(u"CID"_s, contact->EntryID());
                ignoreErrors([&] { item().set(u"To"_s, contact->text(u"Email1Address"_s)); });
            } else {
                m_log.subLog(u"...ohne Outlook-Kontaktverweis"_s, Base + 20);
                item().set(u"To"_s, readSetting(keys::Mailaddressee));
            }
        });
        setSubject();
        step(Base + 40, [&] {
            if (!contact)
                return;
            const QString categories = contact->text(u"Categories"_s);
            if (!categories.isEmpty())
                item().set(u"Categories"_s, categories);
        });
        openEditor(Base + 50);
        m_log.subLog(u"...Nachrichtentext gestalten"_s, Base + 52);
        writeNumberLine(Base + 60, u"...Rufnummer"_s, NumberLine::Always);
        m_run.currentItem = m_item;
        step(Base + 70, [&] { item().Display(); });
        m_log.subLog(u"*** Event-Ende"_s, Base + 90);
    }

private:
    void setSubject() {
        step(Base + 30, [&] {
            const QString& from = m_run.params[P_INVOKED_FROM];
            if (from == u"callerlog"_s) {
                m_log.subLog(u"...aus Anruferliste"_s, Base + 30);
                item().setSubject((unanswered() ? u"versuchter Anruf"_s : u"Unser Telefonat"_s) +
                                  u" am "_s + itemtexts::callTime(4, m_run.params[P_TIMESTAMP]));
            } else if (from == u"contact"_s) {
                m_log.subLog(u"...aus Kontaktanzeige"_s, Base + 30);
                item().setSubject(u"Telefonat..."_s);
            }
        });
    }
};

} // namespace

void subInteractiveMail(Run& run) {
    Mail(run).run();
}

} // namespace tlm
