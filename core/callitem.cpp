// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/callitem.h"

#include "core/callrules.h"
#include "core/companylookup.h"
#include "core/itemtexts.h"
#include "core/itemwindow.h"
#include "core/run.h"
#include "numbers/normalise.h"
#include "outlook/application.h"
#include "outlook/document.h"
#include "outlook/item.h"

using namespace Qt::StringLiterals;

namespace tlm {

qint64 callDurationSeconds(const Run& run) {
    const QString text = run.params[P_DURATION].trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const qint64 seconds = text.toLongLong(&ok);
    if (!ok)
        throw Error(err::TypeMismatch, u"Typen unverträglich"_s);
    return seconds;
}

CallItemBuilder::CallItemBuilder(Run& run, ErrorExit exit)
    : m_run(run), m_log(run.log), m_exit(std::move(exit)) {}

void CallItemBuilder::step(int number, const std::function<void()>& statement) {
    m_log.setStep(number);
    m_log.guard(m_exit, statement);
}

outlook::Item& CallItemBuilder::item() {
    return required(m_item);
}

outlook::BodyWriter& CallItemBuilder::body() {
    return required(m_body);
}

void CallItemBuilder::create(int number, const QString& logText, int itemType) {
    step(number, [&] {
        m_log.subLog(logText, number);
        m_item = m_run.application->CreateItem(itemType);
    });
}

void CallItemBuilder::addTextProperty(const QString& name, const QString& value) {
    const auto props = item().UserProperties();
    props->Add(name, 1);
    props->setValue(name, value);
}

void CallItemBuilder::addCallProperties(int number, const QString& logText, bool withCallId) {
    step(number, [&] {
        m_log.subLog(logText, number);
        addTextProperty(u"CallNumber"_s, m_run.params[P_NUMBER]);
        if (withCallId)
            addTextProperty(u"PCALLID"_s, m_run.params[P_P_CALL_ID]);
        addTextProperty(u"Tellmar"_s, m_run.env.programVersion);
    });
}

bool CallItemBuilder::incoming() {
    return outboundDirection(m_run, m_exit) == 0;
}

bool CallItemBuilder::unanswered() const {
    return m_run.params[P_CALLLOG_STATE] == u"absence"_s;
}

void CallItemBuilder::setCallSubject(int number, bool attempted) {
    step(number, [&] {
        item().setSubject((attempted && unanswered() ? u"versuchter "_s : QString()) + u"Anruf "_s +
                          (incoming() ? u"von"_s : u"bei"_s) + u' ');
    });
}

void CallItemBuilder::openEditor(int number) {
    step(number, [&] {
        const outlook::InspectorPtr inspector = item().GetInspector();
        m_editorType = inspector->EditorType();
        static const char16_t* const names[] = {u"Text", u"HTML", u"RTF", u"WordEditor"};
        const QString name = m_editorType >= 1 && m_editorType <= 4
                                 ? QString::fromUtf16(names[m_editorType - 1])
                                 : QString();
        m_log.subLog(u"...EditorType: "_s + QString::number(m_editorType) + u'-' + name, number);
        const outlook::DocumentPtr document = inspector->WordEditor();
        m_body.emplace(m_item, document->Selection(), document,
                       m_editorType == outlook::olEditorWord,
                       outlook::BodyFont{m_run.settings.MailFont, m_run.settings.MailFontSize});
    });
    step(number + 1, [&] {
        if (body().rich())
            body().setTabStops(m_run.settings.tabStop1Points, m_run.settings.tabStop2Points);
    });
}

void CallItemBuilder::writeDurationLine(int number, const QString& logText) {
    step(number, [&] {
        const qint64 seconds = callDurationSeconds(m_run);
        if (seconds <= 0)
            return;
        m_log.subLog(logText, number);
        body().line(u"Gesprächsdauer:"_s, itemtexts::longDurationText(seconds));
    });
}

void CallItemBuilder::writeNumberLine(int number, const QString& logText, NumberLine mode) {
    step(number, [&] {
        if (mode == NumberLine::Always || m_run.settings.Callback == 1) {
            m_log.subLog(logText, number);
            const QString& callNumber = m_run.params[P_NUMBER];
            const QString target = m_run.settings.URLHandler + callNumber;
            body().line(u"Rufnummer:"_s, body().rich() ? callNumber : target, &target);
        } else if (mode == NumberLine::NothingWithoutCallback) {
            return;
        }
        body().emptyLine();
    });
}

void CallItemBuilder::addressLine(const QString& label, const QString& address) {
    const QString link = itemtexts::mapLink(address, m_run.settings.Maps);
    body().line(label, address, &link);
}

QString CallItemBuilder::cleaned(const QString& address) {
    return itemtexts::cleanAddress(address, m_run.settings.AddressSeparator, fncOwnCountryName());
}

void CallItemBuilder::takeContact(int first, const ContactTexts& texts) {
    const outlook::ItemPtr contact = m_run.lookup.currentContact;
    const auto text = [&](const QString& name) { return contact->text(name); };
    m_log.subLog(texts.headLine, first);
    step(first + 1, [&] {
        item().setSubject(
            item().Subject() +
            itemCaption(m_run.lookup, itemtexts::contactCaption(
                                          text(u"LastNameAndFirstName"_s), text(u"CompanyName"_s),
                                          m_run.lookup.matchedField, m_run.params[P_NUMBER])) +
            u": "_s);
    });
    step(first + 2, [&] {
        item().set(u"Companies"_s, text(u"CompanyName"_s));
        item().set(u"BillingInformation"_s, text(u"BillingInformation"_s));
        if (texts.mileage)
            item().set(u"Mileage"_s, text(u"Mileage"_s));
    });
    step(first + 3, [&] {
        const QString categories = text(u"Categories"_s);
        if (m_run.settings.JournalCategory == 1 && !categories.isEmpty())
            item().set(u"Categories"_s, categories);
    });
    step(first + 4, [&] {
        const int field = m_run.lookup.matchedField;
        QString property = u"OtherAddress"_s, logText = texts.otherAddressLog,
                label = u"Adresse:"_s;
        if (field == 2 || field == 3) {
            property = u"HomeAddress"_s, logText = u"...Privatadresse"_s, label = u"Privat:"_s;
        } else if (field == 1 || (field >= 4 && field <= 9)) {
            property = u"BusinessAddress"_s, logText = u"...Geschäftsadresse"_s;
            label = u"Geschäftlich:"_s;
        }
        m_log.subLog(logText, first + 4);
        const QString address = text(property);
        if (address.trimmed().isEmpty())
            return;
        const QString clean = cleaned(address);
        addressLine(label, clean);
        if (texts.addressAsLocation && !clean.isEmpty())
            item().set(u"Location"_s, clean);
    });
    step(first + 5, [&] {
        const QString customer = text(u"CustomerID"_s);
        if (customer.trimmed().isEmpty())
            return;
        m_log.subLog(u"...Kunden-Nr."_s, first + 5);
        body().line(u"Kunden-Nr.:"_s, customer);
        body().emptyLine();
    });
    for (int n = 1; n <= 4; ++n)
        step(first + 6, [&] { writeUserField(n); });
    step(first + 7, [&] { body().emptyLine(); });
    m_log.subLog(texts.linkLog, first + 8);
    ignoreErrors([&] { item().Links()->Add(contact); });
    step(first + 9, [&] { addTextProperty(u"CID"_s, contact->EntryID()); });
}

void CallItemBuilder::writeUserField(int n) {
    const QString user = u"User"_s + QString::number(n);
    const QString value = m_run.lookup.currentContact->text(user);
    if (value.trimmed().isEmpty() || readSettingInt(keys::userFieldPrint(n), 0) != 1)
        return;
    m_log.subLog(u"..."_s + user, m_log.step().number());
    const QString caption = readSetting(keys::userField(n));
    const bool linked = readSetting(keys::userFieldLink(n)) == u"1"_s;
    if (body().rich())
        body().line(caption + u':', value, linked ? &value : nullptr);
    else
        body().line(caption + u": "_s, linked ? u'"' + value + u'"' : value);
}

void CallItemBuilder::takeCallerData(int first, const QString& addressLog) {
    const Params& p = m_run.params;
    m_log.subLog(u"...ohne Outlook-Kontaktverweis (aber u. U. im Telefonbuch der TK-Anlage)"_s,
                 first);
    m_log.subLog(u"...Betreff"_s, first + 1);
    step(first + 2, [&] {
        QString name = p[P_LAST_NAME] + u", "_s + p[P_FIRST_NAME];
        if (name.startsWith(u", "_s))
            name = name.mid(2).trimmed();
        if (name.isEmpty() && !p[P_COMPANY].isEmpty())
            name = p[P_COMPANY];
        const QString caption = name.isEmpty() ? p[P_NUMBER] : name + u" ("_s + p[P_NUMBER] + u')';
        item().setSubject(item().Subject() + caption + u": "_s);
    });
    step(first + 3, [&] {
        const QString& separator = m_run.settings.AddressSeparator;
        const QString address = cleaned(p[P_ADR_STREET] + separator + u' ' + p[P_ADR_ZIP] + u' ' +
                                        p[P_ADR_CITY] + separator + u' ' + p[P_ADR_COUNTRY]);
        if (address.isEmpty())
            return;
        m_log.subLog(addressLog, first + 3);
        addressLine(u"Adresse:"_s, address);
        if (body().rich())
            body().emptyLine();
    });
}

void CallItemBuilder::show(int number, const QString& logText, int position) {
    m_log.subLog(logText, number);
    m_run.currentItem = m_item;
    if (m_item)
        showItem(m_run, m_item, position);
}

} // namespace tlm
