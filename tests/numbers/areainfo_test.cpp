// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Country names and area info from small handmade data files.
#include "numbers/normalise.h"
#include "numbers/recordfile.h"
#include "tests/numbers/numberstest.h"

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

const QString Land = u"tlLand.txt"_s;
const QString Vorwahlen = u"tlVorwahlen.txt"_s;

class CountryName : public NumbersTest {
protected:
    CountryName() {
        writeDataFile(Land, "\"001\",\"USA\"\r\n"
                            "\"0043\",\"\xc3\x96sterreich\"\r\n"
                            "\"0049\",\"Deutschland\"\r\n");
    }
};

TEST_F(CountryName, FirstRecordBeginningTheNumber) {
    QString number = u"+431234"_s;
    EXPECT_EQ(fncCountryName(number, false), u"Österreich"_s);
    EXPECT_EQ(number, u"00431234"_s);
    EXPECT_EQ(fncCountryName(number, true), u"4"_s);
    number = u"0015550109999"_s;
    EXPECT_EQ(fncCountryName(number, true), u"3"_s);
    number = u"+99+1"_s; // only the leading "+" is rewritten
    EXPECT_EQ(fncCountryName(number, false), QString());
    EXPECT_EQ(number, u"0099+1"_s);
    number = u"004"_s; // shorter than every prefix
    EXPECT_EQ(fncCountryName(number, true), QString());
}

TEST_F(CountryName, OwnCountry) {
    EXPECT_EQ(fncOwnCountryName(), u"Deutschland"_s);
    setCountry(43);
    EXPECT_EQ(fncOwnCountryName(), u"Österreich"_s);
    setCountry(44);
    EXPECT_EQ(fncOwnCountryName(), QString());
}

TEST_F(CountryName, EmptyPrefixMatchesEverything) {
    writeDataFile(
        Land, "\"0043\",\"\xc3\x96sterreich\"\r\n\"\",\"Welt\"\r\n\"0049\",\"Deutschland\"\r\n");
    QString number = u"0049301"_s;
    EXPECT_EQ(fncCountryName(number, false), u"Welt"_s);
    EXPECT_EQ(fncCountryName(number, true), u"0"_s);
}

TEST_F(CountryName, MissingFile) {
    QFile::remove(programFolder() + Land);
    QString number = u"+431"_s;
    EXPECT_EQ(fncCountryName(number, false), QString());
    EXPECT_EQ(number, u"00431"_s);
    EXPECT_EQ(fncOwnCountryName(), QString());
}

TEST(RecordSyntax, FieldsQuotedOrPlain) {
    const auto check = [](QStringView line, const QString& code, const QString& name) {
        const numbers::Record r = numbers::parseRecord(line);
        EXPECT_EQ(r.code, code) << qPrintable(line.toString());
        EXPECT_EQ(r.name, name) << qPrintable(line.toString());
    };
    check(u"\"030\",\"Berlin\"", u"030"_s, u"Berlin"_s);
    check(u"  \"030\" ,  \"Berlin, Mitte\"", u"030"_s, u"Berlin, Mitte"_s);
    check(u"030,Berlin,Mitte", u"030"_s, u"Berlin"_s);
    check(u"\t030,  Berlin ", u"030"_s, u"Berlin "_s);
    check(u"\"030\"x,\"Berl", u"030"_s, u"Berl"_s);
    check(u"\"030\"", u"030"_s, QString());
    check(u",Berlin", QString(), u"Berlin"_s);
}

class AreaInfoTest : public NumbersTest {
protected:
    AreaInfoTest() {
        writeDataFile(Land, "\"0043\",\"\xc3\x96sterreich\"\r\n\"001\",\"USA\"\r\n");
        // 0212 stands before 02129 here: the first record wins.
        writeDataFile(Vorwahlen, "\"030\",\"Berlin\"\r\n"
                                 "\"0212\",\"Solingen\"\r\n"
                                 "\"02129\",\"Haan\"\r\n"
                                 "\r\n"
                                 "\"01711\",\"<mobil>\"\n"
                                 "089,M\xc3\xbcnchen");
    }
};

void expectInfo(const AreaInfo& a, const QString& place, const QString& code,
                const QString& display, bool mobile) {
    EXPECT_EQ(a.Place, place);
    EXPECT_EQ(a.AreaCode, code);
    EXPECT_EQ(a.AreaCodeLength, code.size());
    EXPECT_EQ(a.Display, display);
    EXPECT_EQ(a.IsMobile, mobile);
}

TEST_F(AreaInfoTest, GermanNumbers) {
    expectInfo(fncAreaInfo(u"030123456"_s), u"Berlin"_s, u"030"_s, u"+49 (30) 123456"_s, false);
    expectInfo(fncAreaInfo(u"0891"_s), u"München"_s, u"089"_s, QString(), false);
    expectInfo(fncAreaInfo(u"08912"_s), u"München"_s, u"089"_s, u"+49 (89) 12"_s, false);
    expectInfo(fncAreaInfo(u"02129123"_s), u"Solingen"_s, u"0212"_s, u"+49 (212) 9123"_s, false);
    expectInfo(fncAreaInfo(u"01711234567"_s), QString(), u"0171"_s, u"+49 (171) 1234567"_s, true);
    expectInfo(fncAreaInfo(u"01721234567"_s), QString(), QString(), QString(), false);
    expectInfo(fncAreaInfo(u"21"_s), QString(), QString(), QString(), false);
}

TEST_F(AreaInfoTest, InternationalNumbers) {
    expectInfo(fncAreaInfo(u"00431234567"_s), QString(), QString(), u"+43 1234567"_s, false);
    expectInfo(fncAreaInfo(u"0015550109999"_s), QString(), QString(), u"+1 5550109999"_s, false);
    expectInfo(fncAreaInfo(u"0041441234"_s), QString(), QString(), QString(), false);
    // an internal number such as "101234" is no international number
    expectInfo(fncAreaInfo(u"101234"_s), QString(), QString(), QString(), false);
    // the country list serves even without the area-code list
    QFile::remove(programFolder() + Vorwahlen);
    EXPECT_EQ(fncAreaInfo(u"00431234567"_s).Display, u"+43 1234567"_s);
}

TEST_F(AreaInfoTest, MissingFiles) {
    QFile::remove(programFolder() + Land);
    QFile::remove(programFolder() + Vorwahlen);
    expectInfo(fncAreaInfo(u"00431234567"_s), QString(), QString(), QString(), false);
    expectInfo(fncAreaInfo(u"030123456"_s), QString(), QString(), QString(), false);
}

TEST_F(AreaInfoTest, ForeignOwnCountryDropsTrunkPrefix) {
    setCountry(43);
    expectInfo(fncAreaInfo(u"015321234"_s), QString(), QString(), u"+43 15321234"_s, false);
    EXPECT_EQ(fncAreaInfo(u"030123456"_s).Place, QString()); // no German area codes
    EXPECT_EQ(fncAreaInfo(u"0"_s).Display, QString());
    EXPECT_EQ(fncAreaInfo(u"00431"_s).Display, u"+43 1"_s);
}

TEST(PhoneFieldLabel, ByNumberAndText) {
    EXPECT_EQ(fncPhoneFieldLabel(1), u"Geschäftlich"_s);
    EXPECT_EQ(fncPhoneFieldLabel(7), u"Rückrufnummer"_s);
    EXPECT_EQ(fncPhoneFieldLabel(10), u"Andere/Weitere"_s);
    EXPECT_EQ(fncPhoneFieldLabel(12), u"Mobil"_s);
    EXPECT_EQ(fncPhoneFieldLabel(0), QString());
    EXPECT_EQ(fncPhoneFieldLabel(13), QString());
    EXPECT_EQ(fncPhoneFieldLabel(u"4"_s), u"Mobil"_s);
    EXPECT_EQ(fncPhoneFieldLabel(u"x"_s), QString());
    EXPECT_EQ(phoneField(8)->column, u"CarTelephonenumber");
    EXPECT_EQ(phoneField(8)->property, u"CarTelephoneNumber");
}

} // namespace
} // namespace tlm::test
