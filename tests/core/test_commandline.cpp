// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The parameter array and the last-call log of a call event.
#include "core/log.h"
#include "core/params.h"
#include "tests/support/testenv.h"

#include <gtest/gtest.h>

using namespace tlm;

namespace {
const QString versionBlock =
    QStringLiteral("Tellmarin - Version 1.0.0000\rLinux (64-bit)\rMicrosoft Outlook");

struct Split {
    Params params;
    QByteArray lastCallLog;
};

class CommandLine : public ::testing::Test {
protected:
    test::TestEnv env;

    Split split(const QString& commandLine) {
        Split s;
        Log log(env.workFolder(), 0, &s.params);
        subC2P(commandLine, s.params, log, versionBlock, env.workFolder(), env.root());
        s.lastCallLog =
            test::maskDates(test::readBytes(env.workFolder() + QStringLiteral("tlmLastCall.log")));
        return s;
    }
};

QByteArray head(const QByteArray& raw) {
    return "\r\nTellmarin - Version 1.0.0000\r\nLinux (64-bit)\r\nMicrosoft Outlook\r\n"
           "AGFEO CTI-Client Aufruf am: <DATETIME>\r\n"
           "DE-Vorwahlverzeichnis     : FEHLER - nicht vorhanden!\r\n"
           "AGFEO CTI-Client Aufruf   : " +
           raw + "\r\n";
}

const QByteArray tableHead =
    " # Parameter       Wert                                                     \r\n"
    "----------------------------------------------------------------------------\r\n";
} // namespace

TEST_F(CommandLine, QuotedAndEmptyArgumentsKeepTheirPlacesByteForByte) {
    const QByteArray raw = "0301234 \"\" 1 \"Linie A\" 0 called 0 \"2026-12-05 14:03:27\" 12 2 "
                           "ABCD1234-0001-XY U7 Max "
                           "Mustermann \"Muster GmbH\" \"Hauptstr. 1\" 10115 Berlin Deutschland";
    const Split s = split(QString::fromUtf8(raw));
    const QByteArray expected =
        head(test::maskDates(raw)) +
        "                -bereinigt: 0301234|\xc2\xb0|1|Linie^A|0|called|0|2026-12-05^<TIME>|12|2|"
        "ABCD1234-0001-XY|U7|Max|Mustermann|Muster^GmbH|Hauptstr.^1|10115|Berlin|Deutschland\r\n"
        "\r\n" +
        tableHead +
        " 0 NUMBER          0301234\r\n"
        " 1 NUMBER_NORM     \r\n"
        " 2 LINE_NUMBER     1\r\n"
        " 3 LINE_NAME       Linie A\r\n"
        " 4 MENU_OPTION     0\r\n"
        " 5 INVOKED_FROM    called\r\n"
        " 6 OUTBOUND        0 - eingehend\r\n"
        " 7 TIMESTAMP       2026-12-05 <TIME>\r\n"
        " 8 DURATION        12\r\n"
        " 9 CALLLOG_STATE   2\r\n"
        "10 P_CALL_ID       ABCD1234-0001-XY\r\n"
        "11 UID             U7\r\n"
        "12 FIRST_NAME      Max\r\n"
        "13 LAST_NAME       Mustermann\r\n"
        "14 COMPANY         Muster GmbH\r\n"
        "15 ADR_STREET      Hauptstr. 1\r\n"
        "16 ADR_ZIP         10115\r\n"
        "17 ADR_CITY        Berlin\r\n"
        "18 ADR_COUNTRY     Deutschland\r\n";
    EXPECT_EQ(s.lastCallLog.toStdString(), expected.toStdString());
    EXPECT_TRUE(s.params.isSet);
    EXPECT_EQ(s.params[P_NUMBER_NORM], QString());
    EXPECT_EQ(s.params[P_LINE_NAME], QStringLiteral("Linie A"));
    EXPECT_EQ(s.params[P_TIMESTAMP], QStringLiteral("2026-12-05 14:03:27"));
    EXPECT_EQ(s.params.callId(), QStringLiteral("ABCD1234-0001-XY"));
    EXPECT_FALSE(s.params.internalCall);
}

TEST_F(CommandLine, QuotedLastArgumentWithoutTrailingBlankIsSplitAndKeepsItsQuotes) {
    const Split s = split(QStringLiteral(
        "0301234 \"\" 1 L 0 called 1 T 5 1 ID U F N C S Z \"Bad Homburg\" \"Vereinigte Staaten\""));
    EXPECT_EQ(s.params[P_ADR_CITY], QStringLiteral("Bad Homburg"));
    EXPECT_EQ(s.params[P_ADR_COUNTRY], QStringLiteral("\"Vereinigte"));
    EXPECT_TRUE(
        s.lastCallLog.contains("-bereinigt: 0301234|\xc2\xb0|1|L|0|called|1|T|5|1|ID|U|F|N|C|S|Z|"
                               "Bad^Homburg|\"Vereinigte|Staaten\"\r\n"));
    EXPECT_TRUE(s.lastCallLog.contains(" 6 OUTBOUND        1 - ausgehend\r\n"));
}

TEST_F(CommandLine, BlanksCollapseAndTheArrayHasAlwaysNineteenElements) {
    Split s = split(QStringLiteral("0301234    \"\"   1  x   "));
    EXPECT_TRUE(s.lastCallLog.contains("-bereinigt: 0301234|\xc2\xb0|1|x\r\n"));
    EXPECT_EQ(s.params[P_NUMBER], QStringLiteral("0301234"));
    EXPECT_EQ(s.params[P_LINE_NUMBER], QStringLiteral("1"));
    EXPECT_EQ(s.params[P_LINE_NAME], QStringLiteral("x"));
    EXPECT_EQ(s.params[P_ADR_COUNTRY], QString());
    EXPECT_TRUE(s.lastCallLog.endsWith("18 ADR_COUNTRY     \r\n"));

    QStringList many;
    for (int i = 0; i < 25; ++i)
        many << QString::number(i);
    s = split(many.join(QLatin1Char(' ')));
    EXPECT_EQ(s.params[P_ADR_COUNTRY], QStringLiteral("18"));
    EXPECT_FALSE(s.lastCallLog.contains("\r\n19 "));
}

TEST_F(CommandLine, InternalNumbersAreMarkedWithAHash) {
    Split s = split(QStringLiteral("i21 x 1"));
    EXPECT_TRUE(s.params.internalCall);
    EXPECT_EQ(s.params[P_NUMBER], QStringLiteral("#21"));
    EXPECT_EQ(s.params[P_NUMBER_NORM], QStringLiteral("#21"));
    s = split(QStringLiteral("#21"));
    EXPECT_TRUE(s.params.internalCall);
    EXPECT_EQ(s.params[P_NUMBER_NORM], QStringLiteral("#21"));
    s = split(QStringLiteral("021 x"));
    EXPECT_FALSE(s.params.internalCall);
}

TEST_F(CommandLine, MarkerCharactersInValuesAreLost) {
    const Split s = split(QStringLiteral("030 a°b c^d"));
    EXPECT_EQ(s.params[P_NUMBER_NORM], QStringLiteral("ab"));
    EXPECT_EQ(s.params[P_LINE_NUMBER], QStringLiteral("c d"));
}

TEST_F(CommandLine, QuotedFirstArgumentStaysTheFirstElement) {
    const Split s = split(QStringLiteral("\"030 123\" \"Linie A\" x"));
    EXPECT_EQ(s.params[P_NUMBER], QStringLiteral("030 123"));
    EXPECT_EQ(s.params[P_NUMBER_NORM], QStringLiteral("Linie A"));
    EXPECT_EQ(s.params[P_LINE_NUMBER], QStringLiteral("x"));
}

TEST_F(CommandLine, EmptyOrBlankCommandLines) {
    // a previous event's log stays when there is no command line at all
    split(QStringLiteral("0301234 x"));
    Split s = split(QString());
    EXPECT_FALSE(s.params.isSet);
    EXPECT_TRUE(s.lastCallLog.contains("Aufruf   : 0301234 x\r\n"));

    s = split(QStringLiteral("   "));
    EXPECT_FALSE(s.params.isSet);
    EXPECT_EQ(s.lastCallLog.toStdString(), head("   ").toStdString());
}

TEST(RawCommandLine, IsRebuiltAsTheCtiClientWritesIt) {
    EXPECT_EQ(rawCommandLine({QStringLiteral("030"), QString(), QStringLiteral("Linie A"),
                              QStringLiteral("x")}),
              QStringLiteral("030 \"\" \"Linie A\" x"));
    EXPECT_EQ(rawCommandLine({}), QString());
}

TEST(CallId, FallsBackToTheNumberAndIsSafeAsAFileName) {
    Params p;
    p.values[P_NUMBER] = QStringLiteral("0301234");
    EXPECT_EQ(p.callId(), QStringLiteral("00000000-0000-0301234"));
    p.values[P_P_CALL_ID] = QStringLiteral("../../etc/x:y*?\"<>|\x01");
    EXPECT_EQ(callFileBaseName(p), QStringLiteral("_.._.._etc_x_y_______"));
    p.values[P_P_CALL_ID] = QStringLiteral(".hidden");
    EXPECT_EQ(callFileBaseName(p), QStringLiteral("_.hidden"));
}
