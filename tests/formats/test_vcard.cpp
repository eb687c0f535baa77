// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// vCard reading and writing: line forms, TYPE forms, the mapping of numbers
// onto the phone and fax fields, errors with file and line, round trips.
#include "formats/vcard.h"

#include "platform/error.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::pim::vcard {
namespace {

QString field(const Contact& c, const QString& name) {
    return c.value(name).toString();
}

Contact readOne(const QByteArray& text) {
    const ReadResult r = read(text, u"test.vcf"_s);
    EXPECT_EQ(r.contacts.size(), 1);
    return r.contacts.value(0);
}

QByteArray card(const QByteArray& body, const QByteArray& version = "3.0") {
    return "BEGIN:VCARD\r\nVERSION:" + version + "\r\n" + body + "END:VCARD\r\n";
}

// The message of the error that reading raises ("" when none).
QString readError(const QByteArray& text) {
    try {
        read(text, u"adressen.vcf"_s);
    } catch (const Error& e) {
        return e.description();
    }
    return {};
}

TEST(VcardRead, FoldedLinesEscapesAndStructuredValues) {
    const Contact c =
        readOne(card("N:M\xC3\xBC\r\n ller;Hans;Peter;Dr.;jun.\r\n"
                     "FN:Dr. Hans Peter M\xC3\xBCller jun.\r\n"
                     "ORG:Acme\\, Inc.;Vertrieb;Nord\r\n"
                     "TITLE:Leiter\r\n"
                     "NOTE:Zeile 1\\nZeile 2\\; mit \\\\ und \\, \r\n\tEnde\r\n"
                     "CATEGORIES:Kunden,VIP\r\nCATEGORIES:Kunden,Presse\r\n"
                     "ADR;TYPE=HOME:Postfach 1;Hinterhaus;Hauptstr. 1;Berlin;BE;10115;"
                     "Deutschland\r\n"));
    EXPECT_EQ(field(c, u"LastName"_s), u"Müller"_s);
    EXPECT_EQ(field(c, u"FirstName"_s), u"Hans"_s);
    EXPECT_EQ(field(c, u"MiddleName"_s), u"Peter"_s);
    EXPECT_EQ(field(c, u"Title"_s), u"Dr."_s);
    EXPECT_EQ(field(c, u"Suffix"_s), u"jun."_s);
    EXPECT_EQ(field(c, u"CompanyName"_s), u"Acme, Inc."_s);
    EXPECT_EQ(field(c, u"Department"_s), u"Vertrieb, Nord"_s);
    EXPECT_EQ(field(c, u"JobTitle"_s), u"Leiter"_s);
    EXPECT_EQ(field(c, u"Body"_s), u"Zeile 1\r\nZeile 2; mit \\ und , Ende"_s);
    EXPECT_EQ(field(c, u"Categories"_s), u"Kunden, VIP, Presse"_s);
    EXPECT_EQ(field(c, u"HomeAddressStreet"_s), u"Hauptstr. 1\r\nHinterhaus"_s);
    EXPECT_EQ(field(c, u"HomeAddressPostOfficeBox"_s), u"Postfach 1"_s);
    EXPECT_EQ(field(c, u"HomeAddressCity"_s), u"Berlin"_s);
    EXPECT_EQ(field(c, u"HomeAddressState"_s), u"BE"_s);
    EXPECT_EQ(field(c, u"HomeAddressPostalCode"_s), u"10115"_s);
    EXPECT_EQ(field(c, u"HomeAddressCountry"_s), u"Deutschland"_s);
}

TEST(VcardRead, TypeParameterFormsOfAllVersions) {
    // 3.0 with commas, 3.0 with repeated TYPE, 2.1 bare types, 4.0 quoted
    // list with tel: URIs, lower and upper case, groups.
    const Contact v3 = readOne(card("N:A;B;;;\r\n"
                                    "TEL;TYPE=WORK,VOICE:030 1\r\n"
                                    "TEL;type=home;type=voice:030 2\r\n"
                                    "item1.TEL;TYPE=CELL:0171 3\r\n"));
    EXPECT_EQ(field(v3, u"BusinessTelephoneNumber"_s), u"030 1"_s);
    EXPECT_EQ(field(v3, u"HomeTelephoneNumber"_s), u"030 2"_s);
    EXPECT_EQ(field(v3, u"MobileTelephoneNumber"_s), u"0171 3"_s);

    const Contact v21 = readOne(card("N:A;B\r\nTEL;WORK;FAX:030 9\r\nTEL;CELL:0171 4\r\n", "2.1"));
    EXPECT_EQ(field(v21, u"BusinessFaxNumber"_s), u"030 9"_s);
    EXPECT_EQ(field(v21, u"MobileTelephoneNumber"_s), u"0171 4"_s);

    const Contact v4 = readOne(card("N:A;B;;;\r\n"
                                    "TEL;VALUE=uri;TYPE=\"work,voice\":tel:+49-30-1234567\r\n"
                                    "TEL;VALUE=uri;PREF=1;TYPE=\"home\":tel:+49-30-765;ext=12\r\n"
                                    "TEL;VALUE=uri;PREF=1:tel:+49%2030%20555\r\n",
                                    "4.0"));
    EXPECT_EQ(field(v4, u"BusinessTelephoneNumber"_s), u"+49-30-1234567"_s);
    EXPECT_EQ(field(v4, u"HomeTelephoneNumber"_s), u"+49-30-765-12"_s);
    EXPECT_EQ(field(v4, u"PrimaryTelephoneNumber"_s), u"+49 30 555"_s);
}

TEST(VcardRead, NumbersFillTheFieldsOfTheirKindThenFreeFields) {
    const Contact c = readOne(card("N:A;B;;;\r\n"
                                   "TEL;TYPE=work:1\r\nTEL;TYPE=work:2\r\nTEL;TYPE=work:3\r\n"
                                   "TEL;TYPE=home:4\r\nTEL;TYPE=home:5\r\n"
                                   "TEL;TYPE=cell:6\r\nTEL;TYPE=cell:7\r\n"
                                   "TEL;TYPE=car:8\r\nTEL;TYPE=work,main:9\r\n"
                                   "TEL;TYPE=work,pref:10\r\nTEL;TYPE=fax:11\r\n"
                                   "TEL;TYPE=home,fax:12\r\nTEL;TYPE=fax,work:13\r\n"
                                   "TEL;TYPE=fax:14\r\nTEL;TYPE=voice:15\r\n"));
    EXPECT_EQ(field(c, u"BusinessTelephoneNumber"_s), u"1"_s);
    EXPECT_EQ(field(c, u"Business2TelephoneNumber"_s), u"2"_s);
    EXPECT_EQ(field(c, u"OtherTelephoneNumber"_s), u"3"_s);
    EXPECT_EQ(field(c, u"HomeTelephoneNumber"_s), u"4"_s);
    EXPECT_EQ(field(c, u"Home2TelephoneNumber"_s), u"5"_s);
    EXPECT_EQ(field(c, u"MobileTelephoneNumber"_s), u"6"_s);
    EXPECT_EQ(field(c, u"RadioTelephoneNumber"_s), u"7"_s);
    EXPECT_EQ(field(c, u"CarTelephoneNumber"_s), u"8"_s);
    EXPECT_EQ(field(c, u"CompanyMainTelephoneNumber"_s), u"9"_s);
    EXPECT_EQ(field(c, u"CallbackTelephoneNumber"_s), u"10"_s); // work full, Other taken
    EXPECT_EQ(field(c, u"OtherFaxNumber"_s), u"11"_s);
    EXPECT_EQ(field(c, u"HomeFaxNumber"_s), u"12"_s);
    EXPECT_EQ(field(c, u"BusinessFaxNumber"_s), u"13"_s);
    EXPECT_EQ(field(c, u"AssistantTelephoneNumber"_s), u"14"_s); // faxes full: first free
    EXPECT_EQ(field(c, u"PrimaryTelephoneNumber"_s), u"15"_s);
}

TEST(VcardRead, KindsOnlyNamedByPrefOrMainGoToPrimary) {
    const Contact pref = readOne(card("N:A;B;;;\r\nTEL;TYPE=PREF:1\r\nTEL:2\r\n"));
    EXPECT_EQ(field(pref, u"PrimaryTelephoneNumber"_s), u"1"_s);
    EXPECT_EQ(field(pref, u"OtherTelephoneNumber"_s), u"2"_s);
    const Contact main = readOne(card("N:A;B;;;\r\nTEL;TYPE=MAIN:1\r\nTEL;TYPE=PAGER:2\r\n"));
    EXPECT_EQ(field(main, u"PrimaryTelephoneNumber"_s), u"1"_s);
    EXPECT_EQ(field(main, u"RadioTelephoneNumber"_s), u"2"_s);
}

TEST(VcardRead, NumbersBeyondAllFieldsAreReportedNotLost) {
    QByteArray body = "N:A;B;;;\r\n";
    for (int i = 1; i <= 17; ++i)
        body += "TEL;TYPE=home:" + QByteArray::number(i) + "\r\n";
    body += "EMAIL:a@x\r\nEMAIL:b@x\r\nEMAIL:c@x\r\nEMAIL:d@x\r\n";
    const ReadResult r = read(card(body), u"viele.vcf"_s);
    ASSERT_EQ(r.contacts.size(), 1);
    int filled = 0;
    for (const QString& f : numberFields())
        filled += r.contacts.first().contains(f) ? 1 : 0;
    EXPECT_EQ(filled, 12); // a voice number never goes into a fax field
    ASSERT_EQ(r.warnings.size(), 6);
    EXPECT_TRUE(r.warnings.at(0).startsWith(u"viele.vcf:16: "_s)) << r.warnings.at(0).toStdString();
    EXPECT_TRUE(r.warnings.at(0).endsWith(u" 13"_s));
    EXPECT_TRUE(r.warnings.at(5).startsWith(u"viele.vcf:24: "_s));
    EXPECT_TRUE(r.warnings.at(5).endsWith(u"d@x"_s));
}

TEST(VcardRead, QuotedPrintableAndForeignCharsets) {
    const Contact qp =
        readOne(card("N;CHARSET=UTF-8;ENCODING=QUOTED-PRINTABLE:M=C3=BCller;J=C3=\r\n"
                     "=BCrgen\r\n"
                     "NOTE;ENCODING=QUOTED-PRINTABLE:a=3Db=0D=0A=\r\nc\r\n",
                     "2.1"));
    EXPECT_EQ(field(qp, u"LastName"_s), u"Müller"_s);
    EXPECT_EQ(field(qp, u"FirstName"_s), u"Jürgen"_s);
    EXPECT_EQ(field(qp, u"Body"_s), u"a=b\r\nc"_s);
    // A file from an old Windows program, in Windows-1252.
    const Contact ansi = readOne(card("N:M\xFCller;\x80uro;;;\r\n"));
    EXPECT_EQ(field(ansi, u"LastName"_s), u"Müller"_s);
    EXPECT_EQ(field(ansi, u"FirstName"_s), u"€uro"_s);
    // UTF-8 and UTF-16 with byte order marks, as Windows editors save them.
    EXPECT_EQ(field(readOne("\xEF\xBB\xBF" + card("N:M\xC3\xBCller;;;;\r\n")), u"LastName"_s),
              u"Müller"_s);
    const QString utf16 = QString::fromUtf8(card("N:M\xC3\xBCller;;;;\r\n"));
    const QByteArray utf16Bytes =
        "\xFF\xFE" + QByteArray(reinterpret_cast<const char*>(utf16.utf16()), utf16.size() * 2);
    EXPECT_EQ(field(readOne(utf16Bytes), u"LastName"_s), u"Müller"_s);
}

TEST(VcardRead, NamesComeFromFnWhenNIsMissing) {
    EXPECT_EQ(field(readOne(card("FN:Anna Maria Schulz\r\n")), u"LastName"_s), u"Schulz"_s);
    EXPECT_EQ(field(readOne(card("FN:Anna Maria Schulz\r\n")), u"FirstName"_s), u"Anna Maria"_s);
    EXPECT_EQ(field(readOne(card("FN:Schulz, Anna\r\n")), u"FirstName"_s), u"Anna"_s);
    const Contact company = readOne(card("N:;;;;\r\nFN:Bäckerei Korn\r\nORG:Bäckerei Korn\r\n"));
    EXPECT_FALSE(company.contains(u"LastName"_s));
    EXPECT_EQ(field(company, u"CompanyName"_s), u"Bäckerei Korn"_s);
}

TEST(VcardRead, MalformedFilesNameFileAndLine) {
    const QByteArray good = card("N:A;B;;;\r\n");
    EXPECT_TRUE(
        readError(good + "BEGIN:VCARD\r\nVERSION:3.0\r\nN:A;B\r\nTEL 030 1\r\nEND:VCARD\r\n")
            .startsWith(u"adressen.vcf:8: "_s));
    EXPECT_TRUE(readError(good + "BEGIN:VCARD\r\nN:A;B\r\n").startsWith(u"adressen.vcf:5: "_s));
    EXPECT_TRUE(readError("N:A;B\r\n").startsWith(u"adressen.vcf:1: "_s));
    EXPECT_TRUE(readError(card("N:A\r\n", "5.0")).startsWith(u"adressen.vcf:2: "_s));
    EXPECT_TRUE(readError("BEGIN:VCARD\r\nBEGIN:VCARD\r\n").startsWith(u"adressen.vcf:2: "_s));
    // Folded lines count as the line they start on; blank lines are fine.
    EXPECT_TRUE(readError("\r\nBEGIN:VCARD\r\nNOTE:a\r\n b\r\nEND:VCALENDAR\r\n")
                    .startsWith(u"adressen.vcf:5: "_s));
    EXPECT_EQ(readError(good + "\r\n" + good), QString());
    try {
        read("x", u"f.vcf"_s);
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.number(), 321);
    }
}

Contact fullContact() {
    Contact c;
    const QStringList fields = contactFields();
    for (const QString& f : fields)
        c.insert(f, QString(f.left(6) + u" ä€😀"_s));
    c.insert(u"BusinessTelephoneNumber"_s, u"+49 (30) 1234-567"_s);
    c.insert(u"HomeFaxNumber"_s, u"030/123456"_s);
    c.insert(u"Body"_s, u"Zeile; eins, mit \\ Backslash\r\n\r\nund eine sehr lange Zeile, "
                        u"die über 75 Oktette hinausgeht und gefaltet werden muss: äöüß€😀"_s);
    c.insert(u"Categories"_s, u"Kunden, Privat"_s);
    c.insert(u"BusinessAddressStreet"_s, u"Hauptstraße 1\r\nHinterhof"_s);
    return c;
}

// Small files with what real address books write.
Contact readDataFile(const char* name) {
    const ReadResult r = readFile(QStringLiteral(TM_TEST_DATA "/") + QString::fromLatin1(name));
    EXPECT_EQ(r.contacts.size(), 1) << name;
    return r.contacts.value(0);
}

TEST(VcardRead, LinesThatRealProgramsWrite) {
    // KDE Kontact: property names with "/" are unknown and ignored
    Contact c = readDataFile("kontact-messaging.vcf");
    EXPECT_EQ(field(c, u"LastName"_s), u"Nowak"_s);
    EXPECT_EQ(field(c, u"MobileTelephoneNumber"_s), u"+48 601 234 567"_s);
    EXPECT_TRUE(readError(card("X-MESSAGING/GADU-ALL:1\r\nFN:A B\r\n")).isEmpty());
    EXPECT_FALSE(readError(card("X MESSAGING:1\r\n")).isEmpty());

    // VERSION:4, language variants of N and several ORG: the preferred one,
    // else the first
    c = readDataFile("version4-variants.vcf");
    EXPECT_EQ(field(c, u"FirstName"_s), u"Jean"_s);
    EXPECT_EQ(field(c, u"CompanyName"_s), u"Dupont & Fils SARL"_s);
    EXPECT_EQ(field(c, u"Department"_s), u"Vente"_s);
    c = readOne(card("N:Erste;Anna;;;\r\nN;TYPE=pref:Zweite;Berta;;;\r\nN:Dritte;Clara;;;\r\n"
                     "ORG:Erste GmbH\r\nORG:Zweite AG\r\n"));
    EXPECT_EQ(field(c, u"LastName"_s), u"Zweite"_s);
    EXPECT_EQ(field(c, u"FirstName"_s), u"Berta"_s);
    EXPECT_EQ(field(c, u"CompanyName"_s), u"Erste GmbH"_s);

    // UTF-8 characters split across folded lines stay UTF-8
    c = readDataFile("folded-utf8.vcf");
    EXPECT_EQ(field(c, u"LastName"_s), u"Müller"_s);
    EXPECT_EQ(field(c, u"FirstName"_s), u"Jürgen"_s);
    EXPECT_EQ(field(c, u"CompanyName"_s), u"Bäckerei Müller"_s);
}

TEST(VcardWrite, RoundTripKeepsEveryFieldInBothVersions) {
    for (const Version v : {Version::V3, Version::V4}) {
        Contact sparse;
        sparse.insert(u"Home2TelephoneNumber"_s, u"0221 1"_s);
        sparse.insert(u"Business2TelephoneNumber"_s, u"0221 2"_s);
        sparse.insert(u"RadioTelephoneNumber"_s, u"0171 3"_s);
        sparse.insert(u"OtherAddressCity"_s, u"Wien"_s);
        sparse.insert(u"CompanyName"_s, u"Nur Firma"_s);
        const QList<Contact> contacts = {fullContact(), sparse};
        const ReadResult back = read(write(contacts, v), u"rt.vcf"_s);
        EXPECT_TRUE(back.warnings.isEmpty());
        ASSERT_EQ(back.contacts.size(), 2);
        EXPECT_EQ(back.contacts.at(0), contacts.at(0));
        EXPECT_EQ(back.contacts.at(1), contacts.at(1));
    }
}

TEST(VcardWrite, LinesAreFoldedAtOctetsWithoutSplittingCharacters) {
    const QByteArray out = write({fullContact()}, Version::V4);
    EXPECT_TRUE(out.startsWith("BEGIN:VCARD\r\nVERSION:4.0\r\n"));
    EXPECT_TRUE(out.contains("TEL;VALUE=text;TYPE=\"work,voice\":+49 (30) 1234-567\r\n"));
    const QList<QByteArray> lines = out.split('\n');
    for (QByteArray line : lines) {
        if (line.isEmpty())
            continue;
        ASSERT_TRUE(line.endsWith('\r'));
        line.chop(1);
        EXPECT_LE(line.size(), 75);
        EXPECT_TRUE(QString::fromUtf8(line).toUtf8() == line) << line.constData();
    }
    const QByteArray v3 = write({fullContact()}, Version::V3);
    EXPECT_TRUE(v3.contains("\r\nTEL;TYPE=WORK,VOICE:+49 (30) 1234-567\r\n"));
    EXPECT_TRUE(v3.contains("\r\nCATEGORIES:Kunden,Privat\r\n"));
}

} // namespace
} // namespace tlm::pim::vcard
