#include "viewer/itemkinds.h"

#include "outlook/pim/computed.h"
#include "outlook/pim/properties.h"
#include "platform/texts.h"

#include <QDateTime>

using namespace Qt::StringLiterals;

namespace tlm::viewer {
namespace {
const Field subject{u"Subject"_s, u"Betreff"_s};
const Field start{u"Start"_s, u"Beginn"_s};

QString fullName(const pim::ItemRecord& item) {
    return pim::computed::value(pim::prop::FullName, [&](quint16 id) {
        const pim::PropDef* def = pim::propertyById(id);
        return def ? item.properties.value(pim::propertyName(*def)).toString() : QString();
    });
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

QString caption(const pim::ItemRecord& item, const QString& storedCaption) {
    QString name = storedCaption;
    if (name.isEmpty())
        name =
            kindWord(item.messageClass) == u"Kontakt"_s ? fullName(item) : text(item, u"Subject"_s);
    if (name.isEmpty())
        name = u"Unbenannt"_s;
    return name + u" - "_s + kindWord(item.messageClass);
}

QList<Field> columns(pim::FolderKind kind) {
    switch (kind) {
    case pim::FolderKind::Contact:
        return {{u"FullName"_s, u"Name"_s},
                {u"CompanyName"_s, u"Firma"_s},
                {u"BusinessTelephoneNumber"_s, u"Telefon geschäftlich"_s},
                {u"HomeTelephoneNumber"_s, u"Telefon privat"_s},
                {u"MobileTelephoneNumber"_s, u"Mobiltelefon"_s}};
    case pim::FolderKind::Journal:
        return {subject, start, {u"Duration"_s, u"Dauer (Minuten)"_s}};
    case pim::FolderKind::Calendar:
        return {subject, start, {u"End"_s, u"Ende"_s}, {u"Location"_s, u"Ort"_s}};
    case pim::FolderKind::Task:
        return {subject, {u"DueDate"_s, u"Fällig am"_s}, {u"ReminderTime"_s, u"Erinnerung"_s}};
    case pim::FolderKind::Mail:
        return {{u"To"_s, u"An"_s}, subject};
    case pim::FolderKind::Other:
        break;
    }
    return {subject};
}

QList<Field> formFields(const QString& messageClass) {
    const QString word = kindWord(messageClass);
    if (word == u"Kontakt"_s)
        return {{u"FirstName"_s, u"Vorname"_s},
                {u"LastName"_s, u"Nachname"_s},
                {u"CompanyName"_s, u"Firma"_s},
                {u"BusinessTelephoneNumber"_s, u"Telefon geschäftlich"_s},
                {u"HomeTelephoneNumber"_s, u"Telefon privat"_s},
                {u"MobileTelephoneNumber"_s, u"Mobiltelefon"_s},
                {u"Email1Address"_s, u"E-Mail"_s},
                {u"BusinessAddressStreet"_s, u"Straße"_s},
                {u"BusinessAddressPostalCode"_s, u"Postleitzahl"_s},
                {u"BusinessAddressCity"_s, u"Ort"_s}};
    if (word == u"Journaleintrag"_s)
        return {subject, start, {u"Duration"_s, u"Dauer (Minuten)"_s}};
    if (word == u"Termin"_s)
        return {subject, {u"Location"_s, u"Ort"_s}, start, {u"End"_s, u"Ende"_s}};
    if (word == u"Aufgabe"_s)
        return {subject, {u"DueDate"_s, u"Fällig am"_s}, {u"ReminderTime"_s, u"Erinnerung"_s}};
    if (word == u"Nachricht"_s)
        return {{u"To"_s, u"An"_s}, subject};
    return {subject};
}

QString text(const pim::ItemRecord& item, const QString& property) {
    if (property == u"FullName"_s)
        return fullName(item);
    const QVariant v = item.properties.value(property);
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime().isValid() ? texts::dateTime(v.toDateTime()) : QString();
    if (v.typeId() == QMetaType::Bool)
        return v.toBool() ? u"ja"_s : u"nein"_s;
    return v.toString();
}

} // namespace tlm::viewer
