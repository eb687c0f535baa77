// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The CTI client's account file byte for byte, the client's version check,
// and a work folder that cannot take the file.
#include "config/accountfile.h"
#include "core/log.h"
#include "platform/clock.h"
#include "platform/paths.h"
#include "platform/settingsstore.h"
#include "tests/support/pebuilder.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

const QByteArray expectedFile =
    "{\n\t\"accountTypeId\" : \"agfeoklick\",\n\t\"data\" : \n\t{\n"
    "\t\t\"createdTs\" : \"2026-12-07T09:05:03\",\n\t\t\"description\" : \"Tellmarin\",\n"
    "\t\t\"diagnosis\" : false,\n\t\t\"enableCtiStatus\" : false,\n"
    "\t\t\"enableInteractive\" : true,\n\t\t\"enableNotes\" : false,\n"
    "\t\t\"iconFileName\" : \"/opt/Tell\\\"marin\\\\B\xC3\xBCro/tlOl.png\",\n"
    "\t\t\"invokeOnStateChange\" : true,\n\t\t\"menuOptions\" : \n\t\t[\n"
    "\t\t\t\"Kontakt anzeigen/abgleichen\",\n\t\t\t\"...als Termin\",\n\t\t\t\"neuer Termin\",\n"
    "\t\t\t\"...als Aufgabe\",\n\t\t\t\"...als Journaleintrag\",\n\t\t\t\"E-Mail versenden\"\n"
    "\t\t],\n\t\t\"shellArgs\" : \n\t\t[\n"
    "\t\t\t\"%NUMBER%\",\n\t\t\t\"%NUMBER_NORM%\",\n\t\t\t\"%LINE_NUMBER%\",\n"
    "\t\t\t\"%LINE_NAME%\",\n\t\t\t\"%MENU_OPTION%\",\n\t\t\t\"%INVOKED_FROM%\",\n"
    "\t\t\t\"%OUTBOUND%\",\n\t\t\t\"%TIMESTAMP%\",\n\t\t\t\"%DURATION%\",\n"
    "\t\t\t\"%CALLLOG_STATE%\",\n\t\t\t\"%P_CALL_ID%\",\n\t\t\t\"%UID%\",\n"
    "\t\t\t\"%FIRST_NAME%\",\n\t\t\t\"%LAST_NAME%\",\n\t\t\t\"%COMPANY%\",\n"
    "\t\t\t\"%ADR_STREET%\",\n\t\t\t\"%ADR_ZIP%\",\n\t\t\t\"%ADR_CITY%\",\n"
    "\t\t\t\"%ADR_COUNTRY%\"\n\t\t],\n"
    "\t\t\"shellCmd\" : \"/opt/Tell\\\"marin\\\\B\xC3\xBCro/tellmarin\",\n"
    "\t\t\"shortName\" : \"\",\n\t\t\"userId\" : \"\"\n\t},\n\t\"tag\" : \"Tellmarin\"\n}\r\n";

TEST(AccountFile, TextByteForByteWithJsonEscapes) {
    const QString text = dashboard::accountFileText(u"/opt/Tell\"marin\\Büro"_s, u"tellmarin"_s,
                                                    QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    EXPECT_EQ(text.toUtf8(), expectedFile);
    EXPECT_EQ(
        dashboard::accountFileText(u"/opt/tm\ttab"_s, u"tellmarin"_s, {}).count(u"tm\\ttab"_s), 2);
}

TEST(AccountFile, ClientVersionsFrom1_14_4On) {
    for (const char* ok : {"1.14.4.0", "1.14.10.0", "1.15.0.0", "2.0.0.0"})
        EXPECT_TRUE(dashboard::versionAccepted(QString::fromLatin1(ok))) << ok;
    for (const char* old : {"1.14.3.9", "1.13.9.0", "0.99.99.0", "", "1.14", "a.b.c.d"})
        EXPECT_FALSE(dashboard::versionAccepted(QString::fromLatin1(old))) << old;
}

class Configure : public ::testing::Test {
protected:
    TestEnv env;
    Log log{env.workFolder(), 0, nullptr};
    const QString client = env.root() + u"AGFEO/Dashboard"_s;
    const QString accountFile = env.workFolder() + u"Tellmarin.dashboard-account"_s;

    void install(std::array<quint16, 4> version) {
        QDir().mkpath(client);
        PeVersion v{version, version};
        writePe(client + u"/ctimon.exe"_s, &v);
        settingsstore::save(u"ClientDashboard"_s, client);
    }
    QString run() {
        testing::internal::CaptureStderr();
        outcome = dashboard::subKlickConfig(log);
        return QString::fromLocal8Bit(testing::internal::GetCapturedStderr());
    }
    dashboard::Outcome outcome{};
};

TEST_F(Configure, WritesTheFileAndHandsItToTheShell) {
    install({1, 14, 4, 0});
    paths::setProgramFolder(u"/opt/tellmarin"_s);
    clock::setFixed(QDateTime(QDate(2026, 12, 7), QTime(9, 5, 3)));
    const QString err = run();
    EXPECT_EQ(outcome, dashboard::Outcome::Configured);
    EXPECT_TRUE(err.contains(u"Öffnen: "_s + accountFile)) << err.toStdString();
    EXPECT_TRUE(err.contains(u"AGFEO Dashboard-Clientkonfiguration abgeschlossen."_s));
    const QByteArray bytes = readBytes(accountFile);
    EXPECT_TRUE(bytes.contains("\"createdTs\" : \"2026-12-07T09:05:03\""));
    EXPECT_TRUE(bytes.contains("\"shellCmd\" : \"/opt/tellmarin/tellmarin\""));
    clock::setFixed(QDateTime(QDate(2026, 12, 8), QTime(10, 0, 0)));
    run(); // a second run replaces the file
    EXPECT_TRUE(readBytes(accountFile).contains("2026-12-08T10:00:00"));
}

TEST_F(Configure, OldOrMissingClientWritesNothing) {
    install({1, 14, 3, 0});
    EXPECT_TRUE(run().contains(u"Es wird eine Version >=1.14.4 benötigt."_s));
    EXPECT_EQ(outcome, dashboard::Outcome::Incompatible);
    settingsstore::save(u"ClientDashboard"_s, env.root() + u"nirgends"_s);
    EXPECT_TRUE(run().contains(u"Programminstallationsorder des AGFEO Dashboard-Clients"_s));
    EXPECT_EQ(outcome, dashboard::Outcome::NoClient);
    EXPECT_FALSE(QFile::exists(accountFile));
}

TEST_F(Configure, FileThatCannotBeWrittenIsReportedNotOpened) {
    install({2, 0, 0, 0});
    QDir().mkpath(accountFile); // a folder in the file's place
    const QString err = run();
    EXPECT_EQ(outcome, dashboard::Outcome::WriteFailed);
    EXPECT_TRUE(err.contains(accountFile)) << err.toStdString();
    EXPECT_FALSE(err.contains(u"Öffnen:"_s));
    EXPECT_FALSE(err.contains(u"abgeschlossen"_s));
    EXPECT_TRUE(
        readBytes(log.programLogPath()).contains(" mdlMain.subKlickConfig_00000: Err 75: "));

    // The same from the command line: exit status 1.
    env.writeRegistry(u"REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.dashboard-account\\"
                      u"DefaultIcon]\n@=\"\\\""_s +
                      client + u"/ctimon.exe\\\",0\"\n"_s);
    QProcess p;
    p.start(QCoreApplication::applicationDirPath() + u"/tellmarin"_s, {u"--configure-dashboard"_s});
    p.waitForFinished(30000);
    EXPECT_EQ(p.exitCode(), 1) << p.readAllStandardError().constData();
    QDir().rmdir(accountFile);
    p.start(QCoreApplication::applicationDirPath() + u"/tellmarin"_s, {u"--configure-dashboard"_s});
    p.waitForFinished(30000);
    EXPECT_EQ(p.exitCode(), 0) << p.readAllStandardError().constData();
    EXPECT_TRUE(QFile::exists(accountFile));
}

} // namespace
} // namespace tlm::test
