// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The generated country and area-code files that the build puts beside the
// executables.
#include "numbers/normalise.h"
#include "numbers/recordfile.h"
#include "platform/paths.h"
#include "tests/support/testenv.h"

#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

QString countryOf(const QString& prefix) {
    QString number = prefix + u"123"_s;
    return fncCountryName(number, false);
}

TEST(DataFiles, WellFormedAndNoRecordShadowsALaterOne) {
    TestEnv env;
    for (const QString& name : {u"tlLand.txt"_s, u"tlVorwahlen.txt"_s}) {
        const QByteArray bytes = readBytes(paths::programFolder() + name);
        ASSERT_FALSE(bytes.isEmpty()) << qPrintable(name);
        ASSERT_TRUE(bytes.endsWith("\r\n"));
        static const QRegularExpression record(u"^\"(0\\d+)\",\"([^\"]+)\"$"_s);
        QSet<QString> codes;
        for (const QString& line : QString::fromUtf8(bytes).chopped(2).split(u"\r\n"_s)) {
            const auto m = record.match(line);
            ASSERT_TRUE(m.hasMatch()) << qPrintable(line);
            const QString code = m.captured(1);
            for (int n = 1; n <= code.size(); ++n)
                ASSERT_FALSE(codes.contains(code.left(n))) << qPrintable(code);
            codes.insert(code);
        }
    }
}

TEST(DataFiles, KnownCountriesAndAreaCodes) {
    TestEnv env;
    EXPECT_EQ(countryOf(u"0043"_s), u"Österreich"_s);
    EXPECT_EQ(countryOf(u"0041"_s), u"Schweiz"_s);
    EXPECT_EQ(countryOf(u"+49"_s), u"Deutschland"_s);
    EXPECT_EQ(countryOf(u"007"_s), u"Russland"_s);
    EXPECT_EQ(countryOf(u"00247"_s), u"Ascension"_s);
    EXPECT_EQ(countryOf(u"00383"_s), u"Kosovo"_s);
    EXPECT_FALSE(countryOf(u"00800"_s).isEmpty());
    EXPECT_EQ(fncOwnCountryName(), u"Deutschland"_s);

    EXPECT_EQ(fncAreaInfo(u"030123456"_s).Place, u"Berlin"_s);
    EXPECT_EQ(fncAreaInfo(u"089123456"_s).Place, u"München"_s);
    EXPECT_EQ(fncAreaInfo(u"0212123456"_s).Place, u"Solingen"_s);
    EXPECT_EQ(fncAreaInfo(u"0212912345"_s).AreaCode, u"02129"_s);
    EXPECT_EQ(fncAreaInfo(u"0465112345"_s).Place, u"Sylt"_s);
    EXPECT_EQ(fncAreaInfo(u"0760212345"_s).AreaCode, u"07602"_s);
    const AreaInfo mobile = fncAreaInfo(u"01711234567"_s);
    EXPECT_TRUE(mobile.IsMobile);
    EXPECT_EQ(mobile.Display, u"+49 (171) 1234567"_s);
    EXPECT_TRUE(fncAreaInfo(u"015112345678"_s).IsMobile);
    EXPECT_EQ(fncAreaInfo(u"00431234567"_s).Display, u"+43 1234567"_s);
}

} // namespace
} // namespace tlm::test
