// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Property names, value conversion, the stored blob form and the computed
// contact properties.
#include "platform/error.h"
#include "store/computed.h"
#include "store/pimstore.h"
#include "store/properties.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using namespace tlm::pim;

namespace {

TEST(PimProperties, NamesResolvePerKindWithoutRegardToCase) {
    EXPECT_EQ(canonicalPropertyName(u"IPM.Contact"_s, u"CarTelephonenumber"_s),
              u"CarTelephoneNumber"_s);
    EXPECT_EQ(canonicalPropertyName(u"IPM.Contact"_s, u"email1address"_s), u"Email1Address"_s);
    EXPECT_EQ(canonicalPropertyName(u"IPM.Activity"_s, u"duration"_s), u"Duration"_s);
    EXPECT_EQ(canonicalPropertyName(u"IPM.Activity"_s, u"FirstName"_s), QString());
    EXPECT_EQ(canonicalPropertyName(u"IPM.Contact"_s, u"Duration"_s), QString());
    EXPECT_EQ(canonicalPropertyName(u"IPM.Note"_s, u"subject"_s), u"Subject"_s);
    EXPECT_TRUE(isComputedProperty(u"homeaddress"_s));
    EXPECT_FALSE(isComputedProperty(u"HomeAddressStreet"_s));
    EXPECT_EQ(itemClassOf(u"IPM.Activity"_s), 42);
    EXPECT_EQ(itemClassOf(u"IPM.Contact.Custom"_s), 40);
    EXPECT_EQ(kindFromName(u"Journal"_s), FolderKind::Journal);
    EXPECT_THROW(kindFromName(u"notes"_s), tlm::Error);
}

TEST(PimProperties, ValuesConvertToThePropertyType) {
    const PropDef& journal = *findProperty(kindbit::Contact, u"Journal"_s);
    EXPECT_EQ(convertValue(journal, u"-1"_s), QVariant(true));
    EXPECT_EQ(convertValue(journal, u"Falsch"_s), QVariant(false));
    EXPECT_THROW(convertValue(journal, u"ja"_s), tlm::Error);
    const PropDef& duration = *findProperty(kindbit::Journal, u"Duration"_s);
    EXPECT_EQ(convertValue(duration, u" 12 "_s), QVariant(12));
    EXPECT_EQ(convertValue(duration, true), QVariant(-1));
    EXPECT_THROW(convertValue(duration, u"zwölf"_s), tlm::Error);
    const PropDef& start = *findProperty(kindbit::Journal, u"Start"_s);
    EXPECT_EQ(convertValue(start, u"05.12.2026 14:30"_s).toDateTime(),
              QDateTime(QDate(2026, 12, 5), QTime(14, 30)));
    EXPECT_FALSE(convertValue(start, QString()).toDateTime().isValid());
    EXPECT_THROW(convertValue(start, u"31.02.2026"_s), tlm::Error);

    EXPECT_EQ(parseDate(u"5.12.2026 9:05"_s), QDateTime(QDate(2026, 12, 5), QTime(9, 5)));
    EXPECT_EQ(parseDate(u"05.12.2026"_s), QDateTime(QDate(2026, 12, 5), QTime(0, 0)));
    EXPECT_EQ(parseDate(u"2026-12-05T14:30:15"_s),
              QDateTime(QDate(2026, 12, 5), QTime(14, 30, 15)));
    EXPECT_EQ(parseDate(u"2026-12-05"_s), QDateTime(QDate(2026, 12, 5), QTime(0, 0)));
    EXPECT_FALSE(parseDate(u"gestern"_s).isValid());
}

TEST(PimProperties, BlobRoundTripAndDamagedBlobs) {
    const QDateTime when = QDateTime(QDate(2026, 12, 5), QTime(14, 30, 15, 123));
    const PropList props = {{prop::Subject, u"Grüße 😀 \"x\""_s},
                            {prop::Duration, -7},
                            {141, true}, // Journal
                            {prop::Start, when},
                            {prop::LastName, QString()}};
    const QByteArray blob = encodeProps(props);
    const PropList back = decodeProps(blob);
    ASSERT_EQ(back.size(), props.size());
    for (qsizetype i = 0; i < props.size(); ++i) {
        EXPECT_EQ(back[i].first, props[i].first);
        EXPECT_EQ(back[i].second, props[i].second) << i;
    }
    EXPECT_EQ(findProp(blob, prop::Start).toDateTime(), when);
    EXPECT_FALSE(findProp(blob, prop::FirstName).isValid());
    EXPECT_EQ(findProp(blob, prop::LastName).toString(), QString());

    // A cut blob yields its whole entries and no more; nothing crashes.
    for (qsizetype cut = 0; cut < blob.size(); ++cut)
        EXPECT_LE(decodeProps(blob.left(cut)).size(), props.size());
    EXPECT_EQ(decodeProps(blob.left(blob.size() - 1)).size(), props.size() - 1);

    const TextPairs pairs = {{u"PCALLID"_s, u"A-1"_s}, {u"Leer"_s, QString()}};
    EXPECT_EQ(decodeTextPairs(encodeTextPairs(pairs)), pairs);
    EXPECT_TRUE(decodeTextPairs(QByteArray("\xff\xff\xff\x7f", 4)).isEmpty());
}

QString composed(quint16 id, const QMap<quint16, QString>& parts) {
    return computed::value(id, [&](quint16 p) { return parts.value(p); });
}

QMap<quint16, QString> assigned(quint16 id, const QString& text) {
    QMap<quint16, QString> parts;
    for (const auto& [p, v] : computed::split(id, text))
        parts.insert(p, v);
    return parts;
}

TEST(PimProperties, AddressesSplitAndComposeBack) {
    const quint16 street = prop::HomeAddressStreet, code = street + 1, city = street + 2,
                  country = street + 4;
    auto parts = assigned(prop::HomeAddress, u"Bahnhofstr. 3\r\nCH-8001 Zürich\r\nSchweiz"_s);
    EXPECT_EQ(parts[street], u"Bahnhofstr. 3"_s);
    EXPECT_EQ(parts[code], u"CH-8001"_s);
    EXPECT_EQ(parts[city], u"Zürich"_s);
    EXPECT_EQ(parts[country], u"Schweiz"_s);
    EXPECT_EQ(composed(prop::HomeAddress, parts), u"Bahnhofstr. 3\r\nCH-8001 Zürich\r\nSchweiz"_s);

    parts = assigned(prop::HomeAddress, u"c/o Meier\nHinterhaus\n10115 Berlin"_s);
    EXPECT_EQ(parts[street], u"c/o Meier\r\nHinterhaus"_s);
    EXPECT_EQ(parts[city], u"Berlin"_s);
    EXPECT_EQ(parts[country], QString());

    parts = assigned(prop::HomeAddress, u"Gartenweg 5"_s);
    EXPECT_EQ(parts[street], u"Gartenweg 5"_s);
    EXPECT_EQ(parts[city], QString());
    parts = assigned(prop::HomeAddress, QString());
    EXPECT_EQ(composed(prop::HomeAddress, parts), QString());

    // The mailing address follows SelectedMailingAddress, else the first filled.
    QMap<quint16, QString> contact = {{prop::HomeAddressStreet + 2, u"Köln"_s},
                                      {prop::BusinessAddressStreet + 2, u"Bonn"_s}};
    EXPECT_EQ(composed(prop::MailingAddress, contact), u"Bonn"_s);
    contact.insert(prop::SelectedMailingAddress, u"1"_s);
    EXPECT_EQ(composed(prop::MailingAddress, contact), u"Köln"_s);
}

TEST(PimProperties, NamesComposeAndSplit) {
    QMap<quint16, QString> c = {{prop::Title, u"Dr."_s},
                                {prop::FirstName, u"Hans"_s},
                                {prop::MiddleName, u"Peter"_s},
                                {prop::LastName, u"Meier"_s}};
    EXPECT_EQ(composed(prop::FullName, c), u"Dr. Hans Peter Meier"_s);
    EXPECT_EQ(composed(prop::LastNameAndFirstName, c), u"Meier, Hans Peter"_s);
    c = {{prop::CompanyName, u"Alpha AG"_s}};
    EXPECT_EQ(composed(prop::FullNameAndCompany, c), u"Alpha AG"_s);
    EXPECT_EQ(composed(prop::LastNameAndFirstName, c), QString());

    auto parts = assigned(prop::FullName, u"  Anna   Maria von Berg "_s);
    EXPECT_EQ(parts[prop::FirstName], u"Anna"_s);
    EXPECT_EQ(parts[prop::MiddleName], u"Maria von"_s);
    EXPECT_EQ(parts[prop::LastName], u"Berg"_s);
    EXPECT_TRUE(computed::split(prop::LastNameAndFirstName, u"x"_s).isEmpty());
}

} // namespace
