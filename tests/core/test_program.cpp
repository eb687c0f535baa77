// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The tellmarin executable as the CTI client starts it: arguments already
// split by the system, message boxes answered at once.
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QProcess>
#include <gtest/gtest.h>

using namespace tlm;

namespace {
struct Result {
    int exitCode = -1;
    QString errors;
};

Result runTellmarin(const QStringList& arguments) {
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("TELLMARIN_AUTOANSWER"), QStringLiteral("1"));
    environment.insert(QStringLiteral("TELLMARIN_NOW"), QStringLiteral("2026-12-05T14:03:27"));
    p.setProcessEnvironment(environment);
    p.start(QCoreApplication::applicationDirPath() + QStringLiteral("/tellmarin"), arguments);
    p.waitForFinished(60000);
    return {p.exitCode(), QString::fromUtf8(p.readAllStandardError())};
}
} // namespace

TEST(Program, ArgumentsAreJoinedAsTheCtiClientWritesThem) {
    test::TestEnv env;
    settingsstore::save(QStringLiteral("Debug"), QStringLiteral("1"));
    const Result r =
        runTellmarin({QStringLiteral("i21"), QString(), QStringLiteral("1"),
                      QStringLiteral("Linie A"), QStringLiteral("0"), QStringLiteral("called")});
    EXPECT_EQ(r.exitCode, 0);
    const QByteArray log = test::readBytes(env.workFolder() + QStringLiteral("tlmLastCall.log"));
    EXPECT_TRUE(log.contains("AGFEO CTI-Client Aufruf am: 05.12.2026 14:03:27\r\n"
                             "DE-Vorwahlverzeichnis     : OK - vorhanden\r\n"
                             "AGFEO CTI-Client Aufruf   : i21 \"\" 1 \"Linie A\" 0 called\r\n"
                             "                -bereinigt: i21|\xc2\xb0|1|Linie^A|0|called\r\n"))
        << log.toStdString();
    EXPECT_TRUE(log.contains(" 0 NUMBER          #21\r\n 1 NUMBER_NORM     #21\r\n"));
    const QByteArray programLog =
        test::readBytes(env.workFolder() + QStringLiteral("Tellmarin.log"));
    EXPECT_TRUE(programLog.contains(" 8/15 - Programmaufruf mit gültigen Parametern"));
}

TEST(Program, AStoreReportingOutlook2010EndsTheRunAtStep4WithItsMessage) {
    test::TestEnv env;
    settingsstore::save(QStringLiteral("Debug"), QStringLiteral("1"));
    pim::Store(env.pimPath()).setOutlookVersion(QStringLiteral("14.0.7015.1000"));
    const Result r = runTellmarin({QStringLiteral("0301234"), QStringLiteral("0301234")});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(
        r.errors.contains(QStringLiteral("Tellmarin - Office-Versionsüberprüfung [14:03'27]")));
    EXPECT_TRUE(r.errors.contains(
        QStringLiteral("Keine kompatible 'Microsoft Outlook'-Installation gefunden.")));
    const QByteArray programLog =
        test::readBytes(env.workFolder() + QStringLiteral("Tellmarin.log"));
    EXPECT_TRUE(programLog.endsWith(
        "* 10499  *         keine kompatible Office-Version gefunden >> Programmende\r\n"));
}
