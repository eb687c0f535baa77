// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "store/properties.h"

#include "platform/error.h"
#include "store/pimstore.h"

#include <QHash>
#include <QTimeZone>
#include <QtEndian>
#include <cstring>

using namespace Qt::StringLiterals;

namespace tlm::pim {

namespace {
using enum PropType;
constexpr quint8 Contact = kindbit::Contact;
constexpr quint8 Appointment = kindbit::Appointment;
constexpr quint8 JournalKind = kindbit::Journal;
constexpr quint8 Task = kindbit::Task;
constexpr quint8 Mail = kindbit::Mail;
constexpr quint8 All = kindbit::All;
constexpr quint8 ApptJournal = Appointment | JournalKind;

// The ids are written into stored blobs: never change or reuse one.
constexpr PropDef Catalogue[] = {
    {1, "Subject", Text, All, false},
    {2, "CreationTime", Date, All, false},
    {3, "LastModificationTime", Date, All, false},
    {4, "Categories", Text, All, false},
    {5, "BillingInformation", Text, All, false},
    {6, "Companies", Text, All, false},
    {7, "Mileage", Text, All, false},
    {8, "Importance", Int, All, false},
    {9, "Sensitivity", Int, All, false},

    {40, "Start", Date, ApptJournal, false},
    {41, "End", Date, ApptJournal, false},
    {42, "Duration", Int, ApptJournal, false},
    {43, "Type", Text, JournalKind, false},
    {44, "Location", Text, Appointment, false},
    {45, "ReminderSet", Bool, Appointment | Task, false},
    {46, "BusyStatus", Int, Appointment, false},
    {47, "ReminderMinutesBeforeStart", Int, Appointment, false},
    {48, "AllDayEvent", Bool, Appointment, false},
    {49, "IsRecurring", Bool, Appointment | Task, false},
    {50, "StartDate", Date, Task, false},
    {51, "DueDate", Date, Task, false},
    {52, "ReminderTime", Date, Task, false},
    {53, "Status", Int, Task, false},
    {54, "PercentComplete", Int, Task, false},
    {55, "Complete", Bool, Task, false},
    {56, "ContactNames", Text, JournalKind | Task, false},
    {57, "DateCompleted", Date, Task, false},

    {60, "To", Text, Mail, false},
    {61, "CC", Text, Mail, false},
    {62, "BCC", Text, Mail, false},
    {63, "BodyFormat", Int, Mail, false},
    {64, "SenderName", Text, Mail, false},
    {65, "SentOn", Date, Mail, false},
    {66, "ReceivedTime", Date, Mail, false},

    {101, "FirstName", Text, Contact, false},
    {102, "MiddleName", Text, Contact, false},
    {103, "LastName", Text, Contact, false},
    {104, "Title", Text, Contact, false},
    {105, "Suffix", Text, Contact, false},
    {106, "CompanyName", Text, Contact, false},
    {107, "SelectedMailingAddress", Int, Contact, false},
    {108, "NickName", Text, Contact, false},
    {109, "Initials", Text, Contact, false},
    {110, "FileAs", Text, Contact, false},
    {111, "Department", Text, Contact, false},
    {112, "JobTitle", Text, Contact, false},
    {113, "OfficeLocation", Text, Contact, false},
    {114, "Profession", Text, Contact, false},
    {115, "ManagerName", Text, Contact, false},
    {116, "AssistantName", Text, Contact, false},
    {117, "Spouse", Text, Contact, false},
    {118, "Birthday", Date, Contact, false},
    {119, "Anniversary", Date, Contact, false},
    {120, "Email1Address", Text, Contact, false},
    {121, "Email1DisplayName", Text, Contact, false},
    {122, "Email1AddressType", Text, Contact, false},
    {123, "Email2Address", Text, Contact, false},
    {124, "Email2DisplayName", Text, Contact, false},
    {125, "Email2AddressType", Text, Contact, false},
    {126, "Email3Address", Text, Contact, false},
    {127, "Email3DisplayName", Text, Contact, false},
    {128, "Email3AddressType", Text, Contact, false},
    {129, "WebPage", Text, Contact, false},
    {130, "BusinessHomePage", Text, Contact, false},
    {131, "PersonalHomePage", Text, Contact, false},
    {132, "IMAddress", Text, Contact, false},
    {133, "CustomerID", Text, Contact, false},
    {134, "OrganizationalIDNumber", Text, Contact, false},
    {135, "GovernmentIDNumber", Text, Contact, false},
    {136, "Account", Text, Contact, false},
    {137, "User1", Text, Contact, false},
    {138, "User2", Text, Contact, false},
    {139, "User3", Text, Contact, false},
    {140, "User4", Text, Contact, false},
    {141, "Journal", Bool, Contact, false},
    {142, "Language", Text, Contact, false},
    {143, "Hobby", Text, Contact, false},
    {144, "Gender", Int, Contact, false},
    {145, "Children", Text, Contact, false},
    {146, "ReferredBy", Text, Contact, false},

    {160, "BusinessTelephoneNumber", Text, Contact, false},
    {161, "HomeTelephoneNumber", Text, Contact, false},
    {162, "Home2TelephoneNumber", Text, Contact, false},
    {163, "MobileTelephoneNumber", Text, Contact, false},
    {164, "Business2TelephoneNumber", Text, Contact, false},
    {165, "CompanyMainTelephoneNumber", Text, Contact, false},
    {166, "CallbackTelephoneNumber", Text, Contact, false},
    {167, "CarTelephoneNumber", Text, Contact, false},
    {168, "AssistantTelephoneNumber", Text, Contact, false},
    {169, "OtherTelephoneNumber", Text, Contact, false},
    {170, "PrimaryTelephoneNumber", Text, Contact, false},
    {171, "RadioTelephoneNumber", Text, Contact, false},
    {172, "BusinessFaxNumber", Text, Contact, false},
    {173, "HomeFaxNumber", Text, Contact, false},
    {174, "OtherFaxNumber", Text, Contact, false},
    {175, "ISDNNumber", Text, Contact, false},
    {176, "PagerNumber", Text, Contact, false},
    {177, "TelexNumber", Text, Contact, false},
    {178, "TTYTDDTelephoneNumber", Text, Contact, false},

    {200, "BusinessAddressStreet", Text, Contact, false},
    {201, "BusinessAddressPostalCode", Text, Contact, false},
    {202, "BusinessAddressCity", Text, Contact, false},
    {203, "BusinessAddressState", Text, Contact, false},
    {204, "BusinessAddressCountry", Text, Contact, false},
    {205, "BusinessAddressPostOfficeBox", Text, Contact, false},
    {210, "HomeAddressStreet", Text, Contact, false},
    {211, "HomeAddressPostalCode", Text, Contact, false},
    {212, "HomeAddressCity", Text, Contact, false},
    {213, "HomeAddressState", Text, Contact, false},
    {214, "HomeAddressCountry", Text, Contact, false},
    {215, "HomeAddressPostOfficeBox", Text, Contact, false},
    {220, "OtherAddressStreet", Text, Contact, false},
    {221, "OtherAddressPostalCode", Text, Contact, false},
    {222, "OtherAddressCity", Text, Contact, false},
    {223, "OtherAddressState", Text, Contact, false},
    {224, "OtherAddressCountry", Text, Contact, false},
    {225, "OtherAddressPostOfficeBox", Text, Contact, false},

    {900, "FullName", Text, Contact, true},
    {901, "LastNameAndFirstName", Text, Contact, true},
    {902, "FullNameAndCompany", Text, Contact, true},
    {903, "BusinessAddress", Text, Contact, true},
    {904, "HomeAddress", Text, Contact, true},
    {905, "OtherAddress", Text, Contact, true},
    {906, "MailingAddress", Text, Contact, true},
    {907, "CompanyAndFullName", Text, Contact, true},
};

struct Index {
    QHash<QString, const PropDef*> byName; // lower-case name
    QHash<quint16, const PropDef*> byId;
    Index() {
        for (const PropDef& def : Catalogue) {
            byName.insert(QString::fromLatin1(def.name).toLower(), &def);
            byId.insert(def.id, &def);
        }
    }
};

const Index& index() {
    static const Index instance;
    return instance;
}

[[noreturn]] void badValue(const PropDef& def, const QVariant& value) {
    throw Error(CannotParse, u"Der Wert \""_s + value.toString() +
                                 u"\" passt nicht zur Eigenschaft "_s + propertyName(def) + u'.');
}

QVariant toBool(const PropDef& def, const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value;
    const QString t = value.toString().trimmed().toLower();
    if (t == u"true"_s || t == u"wahr"_s || t == u"-1"_s || t == u"1"_s)
        return true;
    if (t == u"false"_s || t == u"falsch"_s || t == u"0"_s || t.isEmpty())
        return false;
    badValue(def, value);
}

QVariant toInt(const PropDef& def, const QVariant& value) {
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? -1 : 0;
    if (value.typeId() == QMetaType::Double)
        return static_cast<int>(qRound(value.toDouble()));
    const QString t = value.toString().trimmed();
    if (t.isEmpty())
        return 0;
    bool ok = false;
    const int n = t.toInt(&ok);
    if (!ok)
        badValue(def, value);
    return n;
}

QVariant toDouble(const PropDef& def, const QVariant& value) {
    bool ok = false;
    QString t = value.toString().trimmed();
    if (t.isEmpty())
        return 0.0;
    t.replace(u',', u'.');
    const double d = t.toDouble(&ok);
    if (!ok)
        badValue(def, value);
    return d;
}

QVariant toDate(const PropDef& def, const QVariant& value) {
    if (value.typeId() == QMetaType::QDateTime)
        return value.toDateTime().toLocalTime();
    if (value.typeId() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    const QString t = value.toString().trimmed();
    if (t.isEmpty())
        return QDateTime();
    const QDateTime d = parseDate(t);
    if (!d.isValid())
        badValue(def, value);
    return d;
}

// Little-endian writers and readers of the blob.
template <typename T> void put(QByteArray& out, T v) {
    const T le = qToLittleEndian(v);
    out.append(reinterpret_cast<const char*>(&le), sizeof le);
}

template <typename T> T get(const char* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return qFromLittleEndian(v);
}

void putText(QByteArray& out, const QString& text) {
    put<quint32>(out, static_cast<quint32>(text.size() * 2));
    for (QChar c : text)
        put<quint16>(out, c.unicode());
}

QString readText(const char* p, quint32 bytes) {
    QString s(static_cast<qsizetype>(bytes / 2), Qt::Uninitialized);
    std::memcpy(s.data(), p, bytes & ~1u); // stored little-endian as QChar is on this target
    if constexpr (QSysInfo::ByteOrder == QSysInfo::BigEndian) {
        for (QChar& c : s)
            c = QChar(qFromLittleEndian(c.unicode()));
    }
    return s;
}

constexpr int EntryHeader = 2 + 1 + 4;

QVariant decodeValue(PropType type, const char* p, quint32 len) {
    switch (type) {
    case Text:
        return readText(p, len);
    case Int:
        return static_cast<int>(get<qint64>(p));
    case Bool:
        return *p != 0;
    case Double: {
        const quint64 bits = get<quint64>(p);
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return d;
    }
    case Date:
        return QDateTime::fromMSecsSinceEpoch(get<qint64>(p));
    }
    return {};
}

// Walks the entries of a blob; f(id, type, payload, length) returns true to stop.
template <typename F> void walk(const QByteArray& blob, F f) {
    const char* p = blob.constData();
    const char* end = p + blob.size();
    while (end - p >= EntryHeader) {
        const quint16 id = get<quint16>(p);
        const auto type = static_cast<PropType>(static_cast<quint8>(p[2]));
        const quint32 len = get<quint32>(p + 3);
        p += EntryHeader;
        if (static_cast<quint64>(end - p) < len)
            return; // damaged blob: stop at the last whole entry
        if (f(id, type, p, len))
            return;
        p += len;
    }
}
} // namespace

quint8 kindBitOf(const QString& messageClass) {
    if (messageClass.startsWith(u"IPM.Contact"_s, Qt::CaseInsensitive) ||
        messageClass.startsWith(u"IPM.DistList"_s, Qt::CaseInsensitive))
        return Contact;
    if (messageClass.startsWith(u"IPM.Appointment"_s, Qt::CaseInsensitive))
        return Appointment;
    if (messageClass.startsWith(u"IPM.Activity"_s, Qt::CaseInsensitive))
        return JournalKind;
    if (messageClass.startsWith(u"IPM.Task"_s, Qt::CaseInsensitive))
        return Task;
    return Mail;
}

const PropDef* findProperty(quint8 kind, const QString& name) {
    const PropDef* def = index().byName.value(name.trimmed().toLower());
    return def && (def->kinds & kind) ? def : nullptr;
}

const PropDef* propertyById(quint16 id) {
    return index().byId.value(id);
}

QString propertyName(const PropDef& def) {
    return QString::fromLatin1(def.name);
}

QVariant convertValue(const PropDef& def, const QVariant& value) {
    if (!value.isValid() || value.isNull())
        return emptyValue(def);
    switch (def.type) {
    case Text:
        if (value.typeId() == QMetaType::QDateTime)
            badValue(def, value);
        return value.toString();
    case Int:
        return toInt(def, value);
    case Bool:
        return toBool(def, value);
    case Double:
        return toDouble(def, value);
    case Date:
        return toDate(def, value);
    }
    return {};
}

QVariant emptyValue(const PropDef& def) {
    switch (def.type) {
    case Text:
        return QString(u""_s);
    case Int:
        return def.id == prop::BusyStatus ? 2 : 0;
    case Bool:
        return false;
    case Double:
        return 0.0;
    case Date:
        return QDateTime();
    }
    return {};
}

QDateTime parseDate(const QString& text) {
    const QString t = text.trimmed();
    static const QStringList forms = {u"dd.MM.yyyy HH:mm:ss"_s, u"dd.MM.yyyy HH:mm"_s,
                                      u"d.M.yyyy H:mm:ss"_s,    u"d.M.yyyy H:mm"_s,
                                      u"dd.MM.yyyy"_s,          u"d.M.yyyy"_s};
    for (const QString& form : forms) {
        const QDateTime d = QDateTime::fromString(t, form);
        if (d.isValid())
            return d;
    }
    QDateTime iso = QDateTime::fromString(t, Qt::ISODateWithMs);
    if (iso.isValid())
        return iso.toLocalTime();
    const QDate date = QDate::fromString(t, Qt::ISODate);
    return date.isValid() ? QDateTime(date, QTime(0, 0)) : QDateTime();
}

QByteArray encodeProps(const PropList& props) {
    QByteArray out;
    out.reserve(static_cast<qsizetype>(props.size()) * 32);
    for (const auto& [id, value] : props) {
        const PropDef* def = propertyById(id);
        if (!def || def->computed)
            continue;
        put<quint16>(out, id);
        out.append(static_cast<char>(def->type));
        switch (def->type) {
        case Text:
            putText(out, value.toString());
            break;
        case Int:
            put<quint32>(out, 8);
            put<qint64>(out, value.toLongLong());
            break;
        case Bool:
            put<quint32>(out, 1);
            out.append(value.toBool() ? '\1' : '\0');
            break;
        case Double: {
            put<quint32>(out, 8);
            const double d = value.toDouble();
            quint64 bits;
            std::memcpy(&bits, &d, sizeof bits);
            put<quint64>(out, bits);
            break;
        }
        case Date:
            put<quint32>(out, 8);
            put<qint64>(out, value.toDateTime().toMSecsSinceEpoch());
            break;
        }
    }
    return out;
}

PropList decodeProps(const QByteArray& blob) {
    PropList out;
    walk(blob, [&](quint16 id, PropType type, const char* p, quint32 len) {
        out.append({id, decodeValue(type, p, len)});
        return false;
    });
    return out;
}

QVariant findProp(const QByteArray& blob, quint16 id) {
    QVariant found;
    walk(blob, [&](quint16 entryId, PropType type, const char* p, quint32 len) {
        if (entryId != id)
            return false;
        found = decodeValue(type, p, len);
        return true;
    });
    return found;
}

PropIndex::PropIndex(const QByteArray& blob) {
    walk(blob, [&](quint16 id, PropType type, const char* p, quint32 len) {
        m_entries.append({id, type, p, len});
        return false;
    });
}

QVariant PropIndex::value(quint16 id) const {
    for (const Entry& e : m_entries)
        if (e.id == id)
            return decodeValue(e.type, e.payload, e.length);
    return {};
}

QByteArray encodeTextPairs(const TextPairs& pairs) {
    QByteArray out;
    for (const auto& [name, value] : pairs) {
        putText(out, name);
        putText(out, value);
    }
    return out;
}

TextPairs decodeTextPairs(const QByteArray& blob) {
    TextPairs out;
    const char* p = blob.constData();
    const char* end = p + blob.size();
    auto next = [&](QString& text) {
        if (end - p < 4)
            return false;
        const quint32 len = get<quint32>(p);
        p += 4;
        if (static_cast<quint64>(end - p) < len)
            return false;
        text = readText(p, len);
        p += len;
        return true;
    };
    QString name, value;
    while (next(name) && next(value))
        out.append({name, value});
    return out;
}

} // namespace tlm::pim
