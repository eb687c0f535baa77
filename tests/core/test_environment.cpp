// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Outlook and Dashboard detection, the version block, the title stamp and
// the files of the program folder.
#include "core/environment.h"
#include "platform/clock.h"
#include "platform/settingsstore.h"
#include "tests/support/pebuilder.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

using namespace tlm;

namespace {
class OutlookDetection : public ::testing::Test {
protected:
    test::TestEnv env;

    Environment detect(std::array<quint16, 4> version, const QString& subfolder) {
        const QString folder = env.root() + subfolder;
        QDir().mkpath(folder);
        const test::PeVersion v{version, version};
        test::writePe(folder + QStringLiteral("/Outlook.exe"), &v);
        QString regPath = folder;
        regPath.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
        env.writeRegistry(
            QStringLiteral("Windows Registry Editor Version 5.00\n\n"
                           "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
                           "Paths\\Outlook.exe]\n"
                           "\"Path\"=\"") +
            regPath + QStringLiteral("\\\\\"\n"));
        Environment e;
        detectOutlook(e);
        return e;
    }
};
} // namespace

TEST_F(OutlookDetection, WithoutAnEntryTheLocalStoreCountsAsOutlook16) {
    Environment e;
    detectOutlook(e);
    EXPECT_EQ(e.outlookMajor, 16);
    EXPECT_TRUE(e.outlookCompatible);
    EXPECT_EQ(e.outlookVersionText,
              QStringLiteral("Outlook 2016/2019/2021 (64-bit)  Build: 16.0.0.0"));
}

TEST_F(OutlookDetection, VersionsFromTheExecutable) {
    Environment e = detect({14, 0, 7015, 1000}, QStringLiteral("Office14"));
    EXPECT_EQ(e.outlookMajor, 14);
    EXPECT_FALSE(e.outlookCompatible);
    EXPECT_EQ(e.outlookVersionText, QStringLiteral("Outlook 2010 (64-bit)  Build: 14.0.7015.1000"));

    e = detect({13, 0, 1, 2}, QStringLiteral("x86/Office13"));
    EXPECT_FALSE(e.outlookCompatible); // compatible means 15 or later
    EXPECT_EQ(e.outlookVersionText, QStringLiteral("Outlook  (32-bit)  Build: 13.0.1.2"));

    e = detect({15, 0, 5023, 1000}, QStringLiteral("Office15"));
    EXPECT_TRUE(e.outlookCompatible);
    EXPECT_EQ(e.outlookVersionText, QStringLiteral("Outlook 2013 (64-bit)  Build: 15.0.5023.1000"));

    e = detect({17, 1, 0, 0}, QStringLiteral("Office17"));
    EXPECT_EQ(outlookVersionName(e.outlookMajor), QStringLiteral(">2021"));
    EXPECT_EQ(outlookVersionName(12), QStringLiteral("2007"));
}

TEST_F(OutlookDetection, AnEntryWithoutReadableExecutableIsNotCompatible) {
    env.writeRegistry(QStringLiteral(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App "
        "Paths\\Outlook.exe]\n"
        "\"Path\"=\"C:\\\\Program Files\\\\Microsoft Office\\\\root\\\\Office16\\\\\"\n"));
    Environment e;
    detectOutlook(e);
    EXPECT_EQ(e.outlookMajor, 0);
    EXPECT_FALSE(e.outlookCompatible);
}

TEST(Dashboard, FolderIsCutBeforeTheExecutable) {
    EXPECT_EQ(dashboardFolderFrom(
                  QStringLiteral("\"C:\\Program Files\\AGFEO\\Dashboard\\ctimon.exe\",0")),
              QStringLiteral("C:\\Program Files\\AGFEO\\Dashboard"));
    EXPECT_EQ(dashboardFolderFrom(QStringLiteral("\"C:\\Other\\app.exe\"")),
              QStringLiteral("C:\\Other\\app.exe"));
    EXPECT_EQ(dashboardFolderFrom(QStringLiteral("ctimon.exe")), QStringLiteral("ctimon.exe"));
    EXPECT_EQ(dashboardFolderFrom(QString()), QString());
}

TEST(VersionBlock, HasThreeLines) {
    test::TestEnv env;
    Environment e;
    e.programVersion = QStringLiteral("1.0.0000");
    e.outlookVersionText = QStringLiteral("Outlook 2013 (64-bit)  Build: 15.0.1.1");
    env.writeRegistry(QStringLiteral(
        "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion]\n"
        "\"ProductName\"=\"Windows 10 Pro\"\n\"CSDVersion\"=\"\"\n"));
    EXPECT_EQ(fncVersionText(e),
              QStringLiteral("Tellmarin - Version 1.0.0000\rWindows 10 Pro  (64-bit)\r"
                             "Microsoft Outlook 2013 (64-bit)  Build: 15.0.1.1"));
}

TEST(TitleTimeStamp, UsesHoursMinutesAndSecondsWithAQuote) {
    clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(9, 3, 7)));
    EXPECT_EQ(titleTimeStamp(), QStringLiteral(" [09:03'07]"));
    clock::setFixed(std::nullopt);
}

TEST(ProgramFolder, HoldsTheDataFilesAndTheIconOfTheAccountFile) {
    const QString folder = QCoreApplication::applicationDirPath() + QLatin1Char('/');
    for (const char* name : {"tlLand.txt", "tlVorwahlen.txt"})
        EXPECT_TRUE(QFileInfo(folder + QLatin1String(name)).isFile()) << name;
    EXPECT_EQ(QImage(folder + QStringLiteral("tlOl.png")).size(), QSize(48, 48));
}
