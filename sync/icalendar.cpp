// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "sync/icalendar.h"
#include "sync/syncerror.h"

#include <QSet>
#include <QTimeZone>
#include <libical/ical.h>
#include <memory>

using namespace Qt::StringLiterals;

namespace tlm::sync::ical {

namespace {

const char* const LinkX = "X-TELLMARIN-LINK";
const QString ContactIdProperty = u"CID"_s;

struct FreeComponent {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, FreeComponent>;

enum class Kind { Journal, Appointment, Task, None };

Kind kindOf(const QString& messageClass) {
    if (messageClass.startsWith(u"IPM.Activity"_s, Qt::CaseInsensitive))
        return Kind::Journal;
    if (messageClass.startsWith(u"IPM.Appointment"_s, Qt::CaseInsensitive))
        return Kind::Appointment;
    if (messageClass.startsWith(u"IPM.Task"_s, Qt::CaseInsensitive))
        return Kind::Task;
    return Kind::None;
}

icalcomponent_kind componentKind(Kind kind) {
    switch (kind) {
    case Kind::Journal: return ICAL_VJOURNAL_COMPONENT;
    case Kind::Appointment: return ICAL_VEVENT_COMPONENT;
    case Kind::Task: return ICAL_VTODO_COMPONENT;
    case Kind::None: break;
    }
    return ICAL_NO_COMPONENT;
}

// The properties each kind carries in standard iCalendar properties.
const QSet<QString>& standardNames(Kind kind) {
    static const QSet<QString> journal{u"Subject"_s, u"CreationTime"_s,
                                       u"LastModificationTime"_s, u"Categories"_s, u"Start"_s};
    static const QSet<QString> appointment = journal + QSet<QString>{
        u"End"_s, u"Location"_s, u"AllDayEvent"_s, u"ReminderSet"_s,
        u"ReminderMinutesBeforeStart"_s};
    static const QSet<QString> task{u"Subject"_s,       u"CreationTime"_s,
                                    u"LastModificationTime"_s, u"Categories"_s,
                                    u"StartDate"_s,     u"DueDate"_s,
                                    u"DateCompleted"_s, u"PercentComplete"_s,
                                    u"Status"_s,        u"Complete"_s,
                                    u"ReminderSet"_s,   u"ReminderTime"_s};
    return kind == Kind::Task ? task : kind == Kind::Appointment ? appointment : journal;
}

QByteArray utf8(const QString& s) {
    return s.toUtf8();
}

QString text(const char* s) {
    return s ? QString::fromUtf8(s) : QString();
}

// Outlook keeps line breaks as CR LF; iCalendar texts use LF.
QString toIcalText(const QString& s) {
    QString t = s;
    return t.replace(u"\r\n"_s, u"\n"_s);
}

QString fromIcalText(const QString& s) {
    QString t = s;
    t.replace(u"\r\n"_s, u"\n"_s);
    return t.replace(u"\n"_s, u"\r\n"_s);
}

icaltimetype utcTime(const QDateTime& dt) {
    const QDateTime u = dt.toUTC();
    icaltimetype t = icaltime_null_time();
    t.year = u.date().year();
    t.month = u.date().month();
    t.day = u.date().day();
    t.hour = u.time().hour();
    t.minute = u.time().minute();
    t.second = u.time().second();
    t.zone = icaltimezone_get_utc_timezone();
    return t;
}

icaltimetype dateOnly(const QDate& d) {
    icaltimetype t = icaltime_null_date();
    t.year = d.year();
    t.month = d.month();
    t.day = d.day();
    t.is_date = 1;
    return t;
}

// An iCalendar time as the store keeps it: local time. Dates are midnight;
// floating times are taken as local.
QDateTime localTime(icaltimetype t) {
    if (icaltime_is_null_time(t) || !icaltime_is_valid_time(t))
        return {};
    if (t.is_date)
        return QDateTime(QDate(t.year, t.month, t.day), QTime(0, 0));
    if (t.zone && !icaltime_is_utc(t))
        t = icaltime_convert_to_zone(t, icaltimezone_get_utc_timezone());
    const QDateTime plain(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
    if (icaltime_is_utc(t))
        return QDateTime(plain.date(), plain.time(), Qt::UTC).toLocalTime();
    return plain;
}

void addText(icalcomponent* c, icalproperty* p) {
    icalcomponent_add_property(c, p);
}

void addParam(icalproperty* p, const char* xname, const QString& value) {
    icalparameter* param = icalparameter_new_x(utf8(value).constData());
    icalparameter_set_xname(param, xname);
    icalproperty_add_parameter(p, param);
}

icalproperty* namedX(const char* xname, const QString& name, const QString& value) {
    icalproperty* p = icalproperty_new_x(utf8(value).constData());
    icalproperty_set_x_name(p, xname);
    if (!name.isNull())
        addParam(p, NameParam, name);
    return p;
}

QString paramOf(icalproperty* p, const char* xname) {
    for (icalparameter* q = icalproperty_get_first_parameter(p, ICAL_X_PARAMETER); q;
         q = icalproperty_get_next_parameter(p, ICAL_X_PARAMETER))
        if (qstricmp(icalparameter_get_xname(q), xname) == 0)
            return text(icalparameter_get_xvalue(q));
    return {};
}

bool managed(icalproperty* p) {
    switch (icalproperty_isa(p)) {
    case ICAL_UID_PROPERTY:
    case ICAL_SUMMARY_PROPERTY:
    case ICAL_DESCRIPTION_PROPERTY:
    case ICAL_CATEGORIES_PROPERTY:
    case ICAL_CREATED_PROPERTY:
    case ICAL_LASTMODIFIED_PROPERTY:
    case ICAL_DTSTAMP_PROPERTY:
    case ICAL_DTSTART_PROPERTY:
    case ICAL_DTEND_PROPERTY:
    case ICAL_DURATION_PROPERTY:
    case ICAL_LOCATION_PROPERTY:
    case ICAL_DUE_PROPERTY:
    case ICAL_COMPLETED_PROPERTY:
    case ICAL_PERCENTCOMPLETE_PROPERTY:
    case ICAL_STATUS_PROPERTY:
        return true;
    case ICAL_X_PROPERTY:
        return qstrnicmp(icalproperty_get_x_name(p), "X-TELLMARIN-", 12) == 0;
    default:
        return false;
    }
}

// The component to write into: the base's (without what this program
// manages), else a new one.
Component startFrom(const QByteArray& base, Kind kind) {
    if (!base.isEmpty()) {
        Component cal(icalparser_parse_string(base.constData()));
        if (cal && icalcomponent_isa(cal.get()) == ICAL_VCALENDAR_COMPONENT) {
            icalcomponent* inner = icalcomponent_get_first_component(cal.get(), componentKind(kind));
            if (inner) {
                for (icalproperty* p = icalcomponent_get_first_property(inner, ICAL_ANY_PROPERTY);
                     p;) {
                    icalproperty* next = icalcomponent_get_next_property(inner, ICAL_ANY_PROPERTY);
                    if (managed(p)) {
                        icalcomponent_remove_property(inner, p);
                        icalproperty_free(p);
                    }
                    p = next;
                }
                if (kind != Kind::Journal)
                    while (icalcomponent* alarm =
                               icalcomponent_get_first_component(inner, ICAL_VALARM_COMPONENT)) {
                        icalcomponent_remove_component(inner, alarm);
                        icalcomponent_free(alarm);
                    }
                return cal;
            }
        }
    }
    Component cal(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(cal.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal.get(), icalproperty_new_prodid("-//Tellmarin//Tellmarin//DE"));
    icalcomponent_add_component(cal.get(), icalcomponent_new(componentKind(kind)));
    return cal;
}

void addAlarm(icalcomponent* c, const QString& subject, icaltriggertype trigger) {
    icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
    icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
    icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
    icalcomponent_add_property(alarm, icalproperty_new_description(utf8(subject).constData()));
    icalcomponent_add_component(c, alarm);
}

icalproperty_status taskStatus(int status) {
    switch (status) {
    case 1: return ICAL_STATUS_INPROCESS;
    case 2: return ICAL_STATUS_COMPLETED;
    case 4: return ICAL_STATUS_CANCELLED;
    default: return ICAL_STATUS_NEEDSACTION; // 0 not started, 3 waiting
    }
}

void writeStandard(icalcomponent* c, Kind kind, const pim::ItemRecord& item) {
    const QVariantMap& p = item.properties;
    const QString subject = p.value(u"Subject"_s).toString();
    if (!subject.isEmpty())
        addText(c, icalproperty_new_summary(utf8(toIcalText(subject)).constData()));
    if (!item.body.isEmpty())
        addText(c, icalproperty_new_description(utf8(toIcalText(item.body)).constData()));
    QStringList categories;
    for (const QString& cat : p.value(u"Categories"_s).toString().split(u',', Qt::SkipEmptyParts))
        if (!cat.trimmed().isEmpty())
            categories << cat.trimmed();
    if (!categories.isEmpty())
        addText(c, icalproperty_new_categories(utf8(categories.join(u',')).constData()));
    if (const QDateTime t = p.value(u"CreationTime"_s).toDateTime(); t.isValid())
        icalcomponent_add_property(c, icalproperty_new_created(utcTime(t)));
    const QDateTime modified = p.value(u"LastModificationTime"_s).toDateTime();
    if (modified.isValid())
        icalcomponent_add_property(c, icalproperty_new_lastmodified(utcTime(modified)));
    icalcomponent_add_property(
        c, icalproperty_new_dtstamp(utcTime(modified.isValid() ? modified
                                                               : QDateTime::currentDateTime())));

    if (kind == Kind::Journal || kind == Kind::Appointment) {
        const bool allDay = kind == Kind::Appointment && p.value(u"AllDayEvent"_s).toBool();
        const QDateTime start = p.value(u"Start"_s).toDateTime();
        if (start.isValid())
            icalcomponent_add_property(
                c, icalproperty_new_dtstart(allDay ? dateOnly(start.date()) : utcTime(start)));
        const QDateTime end = p.value(u"End"_s).toDateTime();
        if (kind == Kind::Appointment && end.isValid())
            icalcomponent_add_property(
                c, icalproperty_new_dtend(allDay ? dateOnly(end.date()) : utcTime(end)));
    }
    if (kind == Kind::Appointment) {
        const QString location = p.value(u"Location"_s).toString();
        if (!location.isEmpty())
            addText(c, icalproperty_new_location(utf8(location).constData()));
        if (p.value(u"ReminderSet"_s).toBool()) {
            icaltriggertype trigger{};
            trigger.time = icaltime_null_time();
            trigger.duration =
                icaldurationtype_from_int(-60 * p.value(u"ReminderMinutesBeforeStart"_s).toInt());
            addAlarm(c, subject, trigger);
        }
    }
    if (kind == Kind::Task) {
        if (const QDateTime t = p.value(u"StartDate"_s).toDateTime(); t.isValid())
            icalcomponent_add_property(c, icalproperty_new_dtstart(dateOnly(t.date())));
        if (const QDateTime t = p.value(u"DueDate"_s).toDateTime(); t.isValid())
            icalcomponent_add_property(c, icalproperty_new_due(dateOnly(t.date())));
        if (const QDateTime t = p.value(u"DateCompleted"_s).toDateTime(); t.isValid())
            icalcomponent_add_property(c, icalproperty_new_completed(utcTime(t)));
        if (p.contains(u"PercentComplete"_s))
            icalcomponent_add_property(
                c, icalproperty_new_percentcomplete(p.value(u"PercentComplete"_s).toInt()));
        const int status = p.value(u"Status"_s).toInt();
        icalcomponent_add_property(c, icalproperty_new_status(taskStatus(status)));
        if (status == 3) // waiting for someone else: no iCalendar status says so
            icalcomponent_add_property(c, namedX(PropertyX, u"Status"_s, u"3"_s));
        const QDateTime reminder = p.value(u"ReminderTime"_s).toDateTime();
        if (p.value(u"ReminderSet"_s).toBool() && reminder.isValid()) {
            icaltriggertype trigger{};
            trigger.time = utcTime(reminder);
            addAlarm(c, subject, trigger);
        }
    }
}

} // namespace

std::pair<QString, const char*> typedText(const QVariant& value) {
    switch (value.typeId()) {
    case QMetaType::Bool: return {value.toBool() ? u"TRUE"_s : u"FALSE"_s, "BOOLEAN"};
    case QMetaType::Int:
    case QMetaType::LongLong: return {QString::number(value.toLongLong()), "INTEGER"};
    case QMetaType::Double: return {QString::number(value.toDouble(), 'g', 17), "FLOAT"};
    case QMetaType::QDateTime: {
        const QDateTime dt = value.toDateTime();
        return {dt.isValid() ? dt.toUTC().toString(u"yyyyMMdd'T'HHmmss'Z'"_s) : QString(),
                "DATE-TIME"};
    }
    default: return {toIcalText(value.toString()), nullptr};
    }
}

QVariant typedValue(const QString& text, const QString& type) {
    if (type.compare(u"BOOLEAN"_s, Qt::CaseInsensitive) == 0)
        return text.compare(u"TRUE"_s, Qt::CaseInsensitive) == 0;
    if (type.compare(u"INTEGER"_s, Qt::CaseInsensitive) == 0)
        return text.toInt();
    if (type.compare(u"FLOAT"_s, Qt::CaseInsensitive) == 0)
        return text.toDouble();
    if (type.compare(u"DATE-TIME"_s, Qt::CaseInsensitive) == 0) {
        if (text.isEmpty())
            return QDateTime();
        QDateTime dt = QDateTime::fromString(text, u"yyyyMMdd'T'HHmmss'Z'"_s);
        dt.setTimeSpec(Qt::UTC);
        return dt.toLocalTime();
    }
    return fromIcalText(text);
}

QString componentFor(const QString& messageClass) {
    switch (kindOf(messageClass)) {
    case Kind::Journal: return u"VJOURNAL"_s;
    case Kind::Appointment: return u"VEVENT"_s;
    case Kind::Task: return u"VTODO"_s;
    case Kind::None: break;
    }
    return {};
}

QByteArray write(const pim::ItemRecord& item, const QString& uid, const QByteArray& base,
                 const ContactRefs& refs) {
    const Kind kind = kindOf(item.messageClass);
    if (kind == Kind::None)
        throw SyncError(Failure::Unsupported,
                        u"Elemente der Klasse %1 gehören in keinen Kalender."_s.arg(
                            item.messageClass));
    Component cal = startFrom(base, kind);
    icalcomponent* c = icalcomponent_get_first_component(cal.get(), componentKind(kind));
    icalcomponent_add_property(c, icalproperty_new_uid(utf8(uid).constData()));
    writeStandard(c, kind, item);

    const QSet<QString>& standard = standardNames(kind);
    for (auto it = item.properties.cbegin(); it != item.properties.cend(); ++it) {
        if (standard.contains(it.key()) || pim::isComputedProperty(it.key()))
            continue;
        const auto [value, type] = typedText(it.value());
        icalproperty* p = namedX(PropertyX, it.key(), value);
        if (type)
            addParam(p, TypeParam, QString::fromLatin1(type));
        icalcomponent_add_property(c, p);
    }
    for (const pim::UserProperty& u : item.userProperties) {
        const QString value =
            u.name.compare(ContactIdProperty, Qt::CaseInsensitive) == 0 && refs.toUid
                ? refs.toUid(u.value)
                : u.value;
        icalcomponent_add_property(c, namedX(UserPropertyX, u.name, toIcalText(value)));
    }
    for (const QString& link : item.links)
        icalcomponent_add_property(
            c, namedX(LinkX, QString(), refs.toUid ? refs.toUid(link) : link));

    char* text = icalcomponent_as_ical_string_r(cal.get());
    QByteArray out(text);
    icalmemory_free_buffer(text);
    return out;
}

ReadItem read(const QByteArray& data, const ContactRefs& refs) {
    Component cal(icalparser_parse_string(data.constData()));
    icalcomponent* c = nullptr;
    Kind kind = Kind::None;
    if (cal) {
        for (Kind k : {Kind::Journal, Kind::Appointment, Kind::Task}) {
            c = icalcomponent_isa(cal.get()) == componentKind(k)
                    ? cal.get()
                    : icalcomponent_get_first_component(cal.get(), componentKind(k));
            if (c) {
                kind = k;
                break;
            }
        }
    }
    if (!c)
        throw SyncError(Failure::BadAnswer,
                        u"Der Eintrag ist kein iCalendar-Objekt mit VJOURNAL, VEVENT oder VTODO."_s);
    ReadItem out;
    pim::ItemRecord& r = out.record;
    r.messageClass = kind == Kind::Journal       ? u"IPM.Activity"_s
                     : kind == Kind::Appointment ? u"IPM.Appointment"_s
                                                 : u"IPM.Task"_s;
    QVariantMap& p = r.properties;
    int statusX = -1;
    QStringList categories;
    for (icalproperty* q = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); q;
         q = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        switch (icalproperty_isa(q)) {
        case ICAL_UID_PROPERTY: out.uid = text(icalproperty_get_uid(q)); break;
        case ICAL_SUMMARY_PROPERTY:
            p[u"Subject"_s] = fromIcalText(text(icalproperty_get_summary(q)));
            break;
        case ICAL_DESCRIPTION_PROPERTY:
            r.body = fromIcalText(text(icalproperty_get_description(q)));
            break;
        case ICAL_CATEGORIES_PROPERTY:
            for (const QString& cat :
                 text(icalproperty_get_categories(q)).split(u',', Qt::SkipEmptyParts))
                categories << cat.trimmed();
            break;
        case ICAL_CREATED_PROPERTY:
            p[u"CreationTime"_s] = localTime(icalproperty_get_created(q));
            break;
        case ICAL_LASTMODIFIED_PROPERTY:
            p[u"LastModificationTime"_s] = localTime(icalproperty_get_lastmodified(q));
            break;
        case ICAL_LOCATION_PROPERTY:
            if (kind == Kind::Appointment)
                p[u"Location"_s] = text(icalproperty_get_location(q));
            break;
        case ICAL_PERCENTCOMPLETE_PROPERTY:
            if (kind == Kind::Task)
                p[u"PercentComplete"_s] = icalproperty_get_percentcomplete(q);
            break;
        case ICAL_COMPLETED_PROPERTY:
            if (kind == Kind::Task)
                p[u"DateCompleted"_s] = localTime(icalproperty_get_completed(q));
            break;
        case ICAL_X_PROPERTY: {
            const char* xname = icalproperty_get_x_name(q);
            const QString name = paramOf(q, NameParam);
            const QString value = text(icalproperty_get_x(q));
            if (qstricmp(xname, PropertyX) == 0 && !name.isEmpty()) {
                if (kind == Kind::Task && name == u"Status"_s)
                    statusX = value.toInt();
                else
                    p[name] = typedValue(value, paramOf(q, TypeParam));
            } else if (qstricmp(xname, UserPropertyX) == 0 && !name.isEmpty()) {
                const QString v = fromIcalText(value);
                r.userProperties.append(
                    {name, name.compare(ContactIdProperty, Qt::CaseInsensitive) == 0 &&
                                   refs.toEntryId
                               ? refs.toEntryId(v)
                               : v});
            } else if (qstricmp(xname, LinkX) == 0 && !value.isEmpty()) {
                r.links.append(refs.toEntryId ? refs.toEntryId(value) : value);
            }
            break;
        }
        default: break;
        }
    }
    if (!categories.isEmpty())
        p[u"Categories"_s] = categories.join(u", "_s);

    const icaltimetype start = icalcomponent_get_dtstart(c);
    if (kind == Kind::Task) {
        if (!icaltime_is_null_time(start))
            p[u"StartDate"_s] = localTime(start);
        if (const icaltimetype due = icalcomponent_get_due(c); !icaltime_is_null_time(due))
            p[u"DueDate"_s] = localTime(due);
        const icalproperty_status status = icalcomponent_get_status(c);
        int outlook = status == ICAL_STATUS_INPROCESS   ? 1
                      : status == ICAL_STATUS_COMPLETED ? 2
                      : status == ICAL_STATUS_CANCELLED ? 4
                                                        : 0;
        if (outlook == 0 && statusX == 3)
            outlook = 3;
        p[u"Status"_s] = outlook;
        p[u"Complete"_s] = outlook == 2;
    } else if (!icaltime_is_null_time(start)) {
        p[u"Start"_s] = localTime(start);
        if (kind == Kind::Appointment) {
            p[u"AllDayEvent"_s] = start.is_date != 0;
            const icaltimetype end = icalcomponent_get_dtend(c); // DTEND or DTSTART + DURATION
            if (!icaltime_is_null_time(end))
                p[u"End"_s] = localTime(end);
        }
    }
    if (kind != Kind::Journal) {
        bool reminder = false;
        if (icalcomponent* alarm = icalcomponent_get_first_component(c, ICAL_VALARM_COMPONENT))
            if (icalproperty* t = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY)) {
                const icaltriggertype trigger = icalproperty_get_trigger(t);
                reminder = true;
                if (kind == Kind::Appointment && icaltime_is_null_time(trigger.time))
                    p[u"ReminderMinutesBeforeStart"_s] =
                        -icaldurationtype_as_int(trigger.duration) / 60;
                else if (kind == Kind::Task && !icaltime_is_null_time(trigger.time))
                    p[u"ReminderTime"_s] = localTime(trigger.time);
            }
        p[u"ReminderSet"_s] = reminder;
    }
    return out;
}

} // namespace tlm::sync::ical
