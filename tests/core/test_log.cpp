// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Progress and error lines, the size check and the age clean-up.
#include "core/log.h"
#include "core/params.h"
#include "platform/clock.h"
#include "tests/support/testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <new>
#include <stdexcept>

using namespace tlm;

namespace {
class LogTest : public ::testing::Test {
protected:
    test::TestEnv env;
    Params params;
    Log log{env.workFolder(), 1, &params};

    void SetUp() override { clock::setFixed(QDateTime(QDate(2026, 12, 5), QTime(14, 3, 27))); }
    QByteArray programLog() const { return test::readBytes(log.programLogPath()); }

    QString touch(const QString& name, const QDateTime& modified) const {
        const QString path = env.workFolder() + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
        f.flush();
        EXPECT_TRUE(f.setFileTime(modified, QFileDevice::FileModificationTime));
        return path;
    }
};
} // namespace

TEST_F(LogTest, ProgressLineLayouts) {
    log.subLog(QStringLiteral("hello"), 11100);
    log.subLog(QString(), 0);
    log.subLog(QStringLiteral("*** Event-Ende"), 2);
    log.subLog(QString(200, QLatin1Char('x')), 0);
    const QByteArray expected = "05.12.2026 14:03:27 * 11100  * hello\r\n"
                                "05.12.2026 14:03:27 * 11100 \r\n"
                                "05.12.2026 14:03:27 * 2      * *** Event-Ende " +
                                QByteArray(110 - 31 - 15, '*') +
                                "\r\n\r\n"
                                "05.12.2026 14:03:27 * 2      * " +
                                QByteArray(110 - 31, 'x') + "\r\n";
    EXPECT_EQ(programLog().toStdString(), expected.toStdString());
}

TEST_F(LogTest, DebugOffWritesNoProgressButErrorLines) {
    log.setDebug(0);
    log.subLog(QStringLiteral("nothing"), 10100);
    log.setStep(10700);
    log.errorLine({QStringLiteral("subC2P")}, 5, QStringLiteral("Ungültiger Prozeduraufruf"));
    log.errorLine({QStringLiteral("Main"), QStringLiteral("...")}, Error(429, QStringLiteral("x")));
    EXPECT_EQ(
        programLog(),
        QByteArray("05.12.2026 14:03:27 mdlMain.subC2P_10700: Err 5: Ungültiger Prozeduraufruf\r\n"
                   "05.12.2026 14:03:27 mdlMain.Main_10700: Err 429...x\r\n"));
}

TEST_F(LogTest, CallStepsGoToThePerCallLogStepZeroToTheProgramLog) {
    params.values[P_NUMBER] = QStringLiteral("0301234");
    log.subLog(QStringLiteral("call"), 41000);
    log.subLog(QStringLiteral("still program"), 0);
    EXPECT_EQ(test::readBytes(env.workFolder() + QStringLiteral("00000000-0000-0301234.log")),
              QByteArray("05.12.2026 14:03:27 * 41000  * call\r\n"));
    EXPECT_EQ(programLog(), QByteArray("05.12.2026 14:03:27 * 41000  * still program\r\n"));
}

TEST_F(LogTest, GuardLogsAndGoesOn) {
    log.setStep(42);
    bool after = false;
    log.guard({QStringLiteral("Main"), QStringLiteral("...")},
              [] { throw Error(53, QStringLiteral("Datei nicht gefunden")); });
    after = true;
    EXPECT_TRUE(after);
    EXPECT_EQ(
        programLog(),
        QByteArray("05.12.2026 14:03:27 mdlMain.Main_00042: Err 53...Datei nicht gefunden\r\n"));
}

TEST_F(LogTest, AHandlerNamesItsWindowAndCarriesItsOwnStep) {
    log.setStep(80100);
    Step step;
    step = 2180;
    log.errorLine(ErrorExit::handler(QStringLiteral("frmKontaktAbgleich.cmdAnlegen_Click")), step,
                  Error(91, QStringLiteral("Objektvariable nicht festgelegt")));
    log.errorLine(ErrorExit::handler(QStringLiteral("frmGefunden.cmdOK_Click")),
                  Error(75, QStringLiteral("Fehler beim Zugriff auf Pfad/Datei")));
    ++step;
    log.errorLine(ErrorExit::handler(QStringLiteral("frmOptionen.imgMon1_DblClick")), Step(),
                  Error(5, QStringLiteral("x")));
    EXPECT_EQ(programLog(), QByteArray("05.12.2026 14:03:27 frmKontaktAbgleich.cmdAnlegen_Click()_"
                                       "02180: Err 91...Objektvariable nicht festgelegt\r\n"
                                       "05.12.2026 14:03:27 frmGefunden.cmdOK_Click()_80100: Err "
                                       "75...Fehler beim Zugriff auf Pfad/Datei\r\n"
                                       "05.12.2026 14:03:27 frmOptionen.imgMon1_DblClick()_00000: "
                                       "Err 5...x\r\n"));
    EXPECT_EQ(step.number(), 2181);
    EXPECT_EQ(Step(123456).digits(), QStringLiteral("123456"));
}

TEST_F(LogTest, IgnoredErrorsAreTheProgramsOwnOnly) {
    bool after = false;
    ignoreErrors([] { throw Error(53, QStringLiteral("Datei nicht gefunden")); });
    after = true;
    EXPECT_TRUE(after);
    // a failed allocation or a broken invariant is no statement to skip
    EXPECT_THROW(ignoreErrors([] { throw std::bad_alloc(); }), std::bad_alloc);
    EXPECT_THROW(ignoreErrors([] { throw std::logic_error("invariant"); }), std::logic_error);
    EXPECT_FALSE(QFile::exists(log.programLogPath()));
}

TEST_F(LogTest, SizeCheckKeepsSmallLogsAndDropsLargeOnes) {
    log.subLog(QStringLiteral("x"), 1);
    subCheckLogSize(log);
    EXPECT_TRUE(programLog().endsWith("* 10200  *  2/16 - Programm-Logdatei geprüft (< 5MB)\r\n"));

    QFile f(log.programLogPath());
    ASSERT_TRUE(f.open(QIODevice::Append));
    f.write(QByteArray(5242880, 'x'));
    f.close();
    subCheckLogSize(log);
    EXPECT_FALSE(QFile::exists(log.programLogPath()));
}

TEST_F(LogTest, OldCallFilesAreDeletedByCalendarDays) {
    const QDateTime now = clock::now();
    const QDateTime lateYesterday(now.date().addDays(-1), QTime(23, 59));
    touch(QStringLiteral("1A2B3C4D-0001-5E6F.call"), now.addDays(-15));
    touch(QStringLiteral("1A2B3C4D-0002-5E6F.call"), now.addDays(-14));
    touch(QStringLiteral("00000000-0000-030.log"), now.addDays(-20));
    touch(QStringLiteral("tlm20261101.idx"), now.addDays(-30));
    subClearOldCallFiles(log, 14);
    EXPECT_FALSE(QFile::exists(env.workFolder() + QStringLiteral("1A2B3C4D-0001-5E6F.call")));
    EXPECT_TRUE(QFile::exists(env.workFolder() + QStringLiteral("1A2B3C4D-0002-5E6F.call")));
    EXPECT_TRUE(QFile::exists(env.workFolder() + QStringLiteral("tlm20261101.idx")));
    EXPECT_TRUE(programLog().endsWith(
        "* 10510  *         ...1 CALL-Datei gelöscht\r\n"
        "05.12.2026 14:03:27 * 10520  *         ...1 LOG-Datei gelöscht\r\n"));

    // LogDays 0: everything before today goes, a file of yesterday 23:59 has the age 1
    touch(QStringLiteral("AAAAAAAA-0003-X.call"), lateYesterday);
    touch(QStringLiteral("AAAAAAAA-0004-X.call"), QDateTime(now.date(), QTime(0, 1)));
    subClearOldCallFiles(log, 0);
    EXPECT_FALSE(QFile::exists(env.workFolder() + QStringLiteral("AAAAAAAA-0003-X.call")));
    EXPECT_TRUE(QFile::exists(env.workFolder() + QStringLiteral("AAAAAAAA-0004-X.call")));
    EXPECT_TRUE(programLog().endsWith(
        "...2 CALL-Dateien gelöscht\r\n"
        "05.12.2026 14:03:27 * 10520  *         ...keine LOG-Dateien gelöscht\r\n"));
}

TEST(ProgramStartLine, HasItsFixedLayout) {
    EXPECT_EQ(programStartLine(), QString(15, QLatin1Char('~')) +
                                      QStringLiteral(" Programmstart ") +
                                      QString(46, QLatin1Char('~')));
}
