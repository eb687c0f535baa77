// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "viewer/itemkinds.h"

#include "platform/texts.h"
#include "store/computed.h"
#include "store/properties.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
const Field subject{u"Subject"_s, u"Betreff"_s, {}};
const Field start{u"Start"_s, u"Beginn"_s, {}};
const Field duration{u"Duration"_s, u"Dauer (Minuten)"_s, {}};
const Field end{u"End"_s, u"Ende"_s, {}};
const Field location{u"Location"_s, u"Ort"_s, {}};
const Field due{u"DueDate"_s, u"Fällig am"_s, {}};
const Field reminder{u"ReminderTime"_s, u"Erinnerung"_s, {}};
const Field to{u"To"_s, u"An"_s, {}};
const Field company{u"CompanyName"_s, u"Firma"_s, {}};
const Field businessPhone{u"BusinessTelephoneNumber"_s, u"Telefon geschäftlich"_s, {}};
const Field homePhone{u"HomeTelephoneNumber"_s, u"Telefon privat"_s, {}};
const Field mobilePhone{u"MobileTelephoneNumber"_s, u"Mobiltelefon"_s, {}};

// Properties that hold a day, not a moment.
bool isDateOnly(const QString& property) {
    static const QStringList names{u"DueDate"_s, u"StartDate"_s, u"DateCompleted"_s, u"Birthday"_s,
                                   u"Anniversary"_s};
    return names.contains(property);
}

pim::computed::TextGetter getter(const pim::ItemRecord& item) {
    return [&item](quint16 id) {
        const pim::PropDef* def = pim::propertyById(id);
        return def ? item.properties.value(pim::propertyName(*def)).toString() : QString();
    };
}

QString computedText(const pim::ItemRecord& item, quint16 id) {
    return pim::computed::value(id, getter(item));
}

QString fileAs(const pim::ItemRecord& item) {
    QString name = item.properties.value(u"FileAs"_s).toString();
    if (name.isEmpty())
        name = computedText(item, pim::prop::LastNameAndFirstName);
    if (name.isEmpty())
        name = item.properties.value(u"CompanyName"_s).toString();
    return name;
}

struct AddressKind {
    QString prefix; // of the stored parts: "Business", "Home", "Other"
    QString word;   // "geschäftlich", "privat", "weitere"
    quint16 street;
};
const AddressKind addressKinds[] = {
    {u"Business"_s, u"geschäftlich"_s, pim::prop::BusinessAddressStreet},
    {u"Home"_s, u"privat"_s, pim::prop::HomeAddressStreet},
    {u"Other"_s, u"weitere"_s, pim::prop::OtherAddressStreet},
};

// The contact's mailing address when it is filled, else the first filled of
// business, home, other; a contact without one gets the business address.
const AddressKind& shownAddress(const pim::ItemRecord& item) {
    const auto filled = [&](const AddressKind& k) {
        return !pim::computed::composeAddress(k.street, getter(item)).isEmpty();
    };
    // SelectedMailingAddress: 1 home, 2 business, 3 other.
    const int selected = item.properties.value(u"SelectedMailingAddress"_s).toInt();
    const int mailing = selected == 1 ? 1 : selected == 2 ? 0 : selected == 3 ? 2 : -1;
    if (mailing >= 0 && filled(addressKinds[mailing]))
        return addressKinds[mailing];
    for (const AddressKind& k : addressKinds)
        if (filled(k))
            return k;
    return addressKinds[0];
}
} // namespace

QString kindWord(const QString& messageClass) {
    const QString c = messageClass.toLower();
    if (c.startsWith(u"ipm.contact"_s))
        return u"Kontakt"_s;
    if (c.startsWith(u"ipm.activity"_s))
        return u"Journaleintrag"_s;
    if (c.startsWith(u"ipm.appointment"_s))
        return u"Termin"_s;
    if (c.startsWith(u"ipm.task"_s))
        return u"Aufgabe"_s;
    if (c.startsWith(u"ipm.note"_s))
        return u"Nachricht"_s;
    return u"Element"_s;
}

bool isContact(const pim::ItemRecord& item) {
    return kindWord(item.messageClass) == u"Kontakt"_s;
}

QString caption(const pim::ItemRecord& item, const QString& storedCaption) {
    QString name = storedCaption;
    if (name.isEmpty())
        name = isContact(item) ? computedText(item, pim::prop::FullName) : text(item, u"Subject"_s);
    name = name.simplified();
    if (name.isEmpty())
        name = isContact(item) ? u"Unbenannt"_s : u"(kein Betreff)"_s;
    return name + u" - "_s + kindWord(item.messageClass);
}

QList<Field> columns(pim::FolderKind kind) {
    switch (kind) {
    case pim::FolderKind::Contact:
        return {{u"FileAs"_s, u"Speichern unter"_s, {}},
                company,
                businessPhone,
                homePhone,
                mobilePhone};
    case pim::FolderKind::Journal:
        return {subject, start, duration};
    case pim::FolderKind::Calendar:
        return {subject, start, end, location};
    case pim::FolderKind::Task:
        return {subject, due, reminder};
    case pim::FolderKind::Mail:
        return {to, subject};
    case pim::FolderKind::Other:
        break;
    }
    return {subject};
}

QList<Field> formFields(const pim::ItemRecord& item) {
    const QString word = kindWord(item.messageClass);
    if (word == u"Kontakt"_s) {
        const AddressKind& a = shownAddress(item);
        const QString group = u"Adresse ("_s + a.word + u')';
        return {{u"FirstName"_s, u"Vorname"_s, {}},
                {u"LastName"_s, u"Nachname"_s, {}},
                company,
                businessPhone,
                homePhone,
                mobilePhone,
                {u"Email1Address"_s, u"E-Mail"_s, {}},
                {a.prefix + u"AddressStreet"_s, u"Straße"_s, group},
                {a.prefix + u"AddressPostalCode"_s, u"Postleitzahl"_s, group},
                {a.prefix + u"AddressCity"_s, u"Ort"_s, group},
                {a.prefix + u"AddressCountry"_s, u"Land"_s, group}};
    }
    if (word == u"Journaleintrag"_s)
        return {subject, start, duration};
    if (word == u"Termin"_s)
        return {subject, location, start, end};
    if (word == u"Aufgabe"_s)
        return {subject, due, reminder};
    if (word == u"Nachricht"_s)
        return {to, subject};
    return {subject};
}

QString text(const pim::ItemRecord& item, const QString& property) {
    if (property == u"FileAs"_s)
        return fileAs(item);
    const QVariant v = item.properties.value(property);
    if (v.typeId() == QMetaType::QDateTime) {
        const QDateTime t = v.toDateTime();
        if (!t.isValid())
            return {};
        return isDateOnly(property) ? texts::date(t.date()) : texts::dateTime(t);
    }
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? u"ja"_s : u"nein"_s;
    return v.toString();
}

} // namespace tlm::viewer
