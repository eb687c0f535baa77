// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The properties an item of the store can carry: their Outlook names, types,
// the item kinds that have them, and the compact binary form ("property
// blob") in which an item's stored properties sit in one database column.
#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QVarLengthArray>
#include <QVariant>
#include <utility>

namespace tlm::pim {

enum class PropType : quint8 { Text = 1, Int = 2, Bool = 3, Double = 4, Date = 5 };

// Item kinds as bits, so that one property can serve several kinds.
namespace kindbit {
constexpr quint8 Contact = 1;
constexpr quint8 Appointment = 2;
constexpr quint8 Journal = 4;
constexpr quint8 Task = 8;
constexpr quint8 Mail = 16;
constexpr quint8 All = 31;
} // namespace kindbit

// The kind bit of a message class ("IPM.Contact" ... ; unknown classes: Mail).
quint8 kindBitOf(const QString& messageClass);

struct PropDef {
    quint16 id; // fixed forever: it is written into the stored blobs
    const char* name;
    PropType type;
    quint8 kinds;
    bool computed; // derived from other properties, never stored
};

// The property of that name (any case) for items of the kind bit, or nullptr.
const PropDef* findProperty(quint8 kind, const QString& name);
const PropDef* propertyById(quint16 id);
QString propertyName(const PropDef& def);

// Well-known ids used by the store itself.
namespace prop {
constexpr quint16 Subject = 1;
constexpr quint16 CreationTime = 2;
constexpr quint16 LastModificationTime = 3;
constexpr quint16 Categories = 4;
constexpr quint16 Start = 40;
constexpr quint16 End = 41;
constexpr quint16 Duration = 42;
constexpr quint16 Type = 43;
constexpr quint16 BusyStatus = 46;
constexpr quint16 To = 60;
constexpr quint16 BodyFormat = 63;
constexpr quint16 FirstName = 101;
constexpr quint16 MiddleName = 102;
constexpr quint16 LastName = 103;
constexpr quint16 Title = 104;
constexpr quint16 Suffix = 105;
constexpr quint16 CompanyName = 106;
constexpr quint16 SelectedMailingAddress = 107;
constexpr quint16 BusinessAddressStreet =
    200; // Street, PostalCode, City, State, Country, PostOfficeBox
constexpr quint16 HomeAddressStreet = 210;
constexpr quint16 OtherAddressStreet = 220;
// computed
constexpr quint16 FullName = 900;
constexpr quint16 LastNameAndFirstName = 901;
constexpr quint16 FullNameAndCompany = 902;
constexpr quint16 BusinessAddress = 903;
constexpr quint16 HomeAddress = 904;
constexpr quint16 OtherAddress = 905;
constexpr quint16 MailingAddress = 906;
} // namespace prop

// Converts a value to the property's type: texts "true"/"false"/"-1"/"0" for
// flags, ISO or "dd.MM.yyyy hh:mm[:ss]" texts for dates, numbers from texts.
// Raises CannotParse naming the property when it does not convert.
QVariant convertValue(const PropDef& def, const QVariant& value);
// The value an unset property reads as.
QVariant emptyValue(const PropDef& def);

// A text as a date: "dd.MM.yyyy hh:mm[:ss]", "dd.MM.yyyy", ISO 8601; local time.
QDateTime parseDate(const QString& text);

// The property blob: (id, value) pairs. Values must already have the
// property's type.
using PropList = QList<std::pair<quint16, QVariant>>;
QByteArray encodeProps(const PropList& props);
PropList decodeProps(const QByteArray& blob);
// One value straight out of a blob without decoding the rest (invalid
// QVariant when absent).
QVariant findProp(const QByteArray& blob, quint16 id);

// Where each entry of a blob lies, from one walk, for reading many values of
// one row (a table row's columns); the blob must outlive it.
class PropIndex {
public:
    explicit PropIndex(const QByteArray& blob);
    // As findProp.
    QVariant value(quint16 id) const;

private:
    struct Entry {
        quint16 id;
        PropType type;
        const char* payload;
        quint32 length;
    };
    QVarLengthArray<Entry, 32> m_entries;
};

// User properties: (name, text) pairs in order.
using TextPairs = QList<std::pair<QString, QString>>;
QByteArray encodeTextPairs(const TextPairs& pairs);
TextPairs decodeTextPairs(const QByteArray& blob);

} // namespace tlm::pim
