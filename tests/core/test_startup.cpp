// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The start-up sequence up to the classification of the call.
#include "core/run.h"
#include "outlook/application.h"
#include "pimoutlook/backend.h"
#include "pimoutlook/register.h"
#include "store/pimstore.h"
#include "platform/settingsstore.h"
#include "tests/support/pebuilder.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace tlm;

namespace {
class Startup : public ::testing::Test {
protected:
    test::TestEnv env;

    void SetUp() override { settingsstore::save(QStringLiteral("Debug"), QStringLiteral("1")); }

    // The program log with the date and time of each line cut off.
    QStringList programLogTexts() const {
        const QString log =
            QString::fromUtf8(test::readBytes(env.workFolder() + QStringLiteral("Tellmarin.log")));
        QStringList lines = log.split(QStringLiteral("\r\n"));
        for (QString& l : lines)
            l = l.mid(20);
        return lines;
    }
};
} // namespace

TEST_F(Startup, ValidCallLogsSteps1To8) {
    tlm::Run run;
    EXPECT_EQ(Main(run, QStringLiteral("0301234 \"\" 1 L 0 called 0 T 0 1 ID")), RunEnd::Done);
    const QStringList expected = {
        QStringLiteral("* 10000  * ~~~~~~~~~~~~~~~ Programmstart "
                       "~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~~"),
        QStringLiteral("* 10100  *  1/15 - AGFEO-CTI-Client-Programm: <nicht gefunden>"),
        QStringLiteral("* 10200  *  2/16 - Programm-Logdatei geprüft (< 5MB)"),
        QStringLiteral("* 10300  *  3/15 - Programmparameter einlesen"),
        QStringLiteral("* 10400  *  4/15 - Office-Version überprüfen"),
        QStringLiteral("* 10500  *  5/15 - CALL-Dateien löschen, die älter als 14 Tage sind"),
        QStringLiteral("* 10510  *         ...keine CALL-Dateien gelöscht"),
        QStringLiteral("* 10520  *         ...keine LOG-Dateien gelöscht"),
        QStringLiteral("* 10700  *  7/15 - Programmaufrufparameter in ein Array überführen"),
        QStringLiteral(
            "* 10081  *  8/15 - Programmaufruf mit gültigen Parametern >> starte Rufverarbeitung")};
    EXPECT_EQ(programLogTexts().mid(0, expected.size()), expected);
    EXPECT_EQ(run.params[P_INVOKED_FROM], QStringLiteral("called"));
    EXPECT_TRUE(QFile::exists(env.workFolder() + QStringLiteral("tlmLastCall.log")));
    EXPECT_FALSE(settingsstore::get(QStringLiteral("LastRun")).isEmpty());
    EXPECT_EQ(settingsstore::get(QStringLiteral("ClientDashboard"), QStringLiteral("x")),
              QString());
}

TEST_F(Startup, EmptyOrInvalidCommandLines) {
    tlm::Run options;
    EXPECT_EQ(Main(options, QString()), RunEnd::OptionsWindow);
    EXPECT_EQ(
        programLogTexts().at(9),
        QStringLiteral("* 10800  *  8/15 - Optionsdialog anzeigen    >> keine Rufverarbeitung"));

    tlm::Run invalid;
    EXPECT_EQ(Main(invalid, QStringLiteral("\"\" 0301234")), RunEnd::Done);
    EXPECT_TRUE(programLogTexts().contains(
        QStringLiteral("* 10089  *  8/15 - keine gültigen Parameter   >> Programmabbruch")));
}

TEST_F(Startup, Outlook2010EndsTheRunAtStep4) {
    const QString folder = env.root() + QStringLiteral("Office14");
    QDir().mkpath(folder);
    const test::PeVersion v{{14, 0, 7015, 1000}, {14, 0, 7015, 1000}};
    test::writePe(folder + QStringLiteral("/Outlook.exe"), &v);
    env.writeRegistry(
        QStringLiteral(
            "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
            "Paths\\Outlook.exe]\n"
            "\"Path\"=\"") +
        folder + QStringLiteral("\"\n"));
    tlm::Run run;
    EXPECT_EQ(Main(run, QStringLiteral("0301234 x 1")), RunEnd::Done);
    const QStringList lines = programLogTexts();
    EXPECT_EQ(lines.at(lines.size() - 2),
              QStringLiteral(
                  "* 10499  *         keine kompatible Office-Version gefunden >> Programmende"));
    EXPECT_FALSE(QFile::exists(env.workFolder() + QStringLiteral("tlmLastCall.log")));
}

TEST_F(Startup, DashboardIsDetectedAndStored) {
    env.writeRegistry(QStringLiteral(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Classes\\.dashboard-account\\DefaultIcon]\n"
        "@=\"\\\"C:\\\\AGFEO\\\\Dashboard\\\\ctimon.exe\\\",0\"\n"));
    tlm::Run run;
    Main(run, QStringLiteral("0301234 x 1"));
    EXPECT_TRUE(run.env.dashboard);
    EXPECT_EQ(settingsstore::get(QStringLiteral("ClientDashboard")),
              QStringLiteral("C:\\AGFEO\\Dashboard"));
    EXPECT_EQ(programLogTexts().at(1),
              QStringLiteral("* 10100  *  1/15 - AGFEO-CTI-Client-Programm: Dashboard"));
}

// The store attached to ask for Outlook's version at step 3 is the one the
// run works with from step 13 on: a call event opens it once.
TEST_F(Startup, CallEventOpensTheStoreOnce) {
    const QString event = QStringLiteral("0301234 \"\" 1 L 0 called 0 T 0 1 ID");
    { const pim::Store made(env.pimPath()); } // attaching makes none
    settingsstore::save(QStringLiteral("DefaultFolder"), QStringLiteral("1"));
    tlm::Run first; // builds the index of the day, which attaches on its own
    Main(first, event);
    int attached = 0;
    outlook::setBackend([&attached](const QString& path) {
        ++attached;
        return pim::createApplication(path);
    });
    tlm::Run run;
    EXPECT_EQ(Main(run, event), RunEnd::Done);
    pim::registerOutlookBackend();
    EXPECT_EQ(attached, 1);
    ASSERT_TRUE(run.application);
    EXPECT_FALSE(run.env.localStore);
    EXPECT_TRUE(programLogTexts().contains(
        QStringLiteral("* 11300  * 13/15 - Outlook-Objekt-Instanziierung erfolgreich")));
}
