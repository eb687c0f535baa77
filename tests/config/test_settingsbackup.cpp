// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The settings backup file byte for byte, its restore (all keys or none),
// and the same operations from the command line.
#include "config/accountfile.h"
#include "config/settingsactions.h"
#include "config/settingsbackup.h"
#include "core/log.h"
#include "core/settings.h"
#include "platform/settingsstore.h"
#include "tests/support/peakrun.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

class Backup : public ::testing::Test {
protected:
    TestEnv env;
    Log log{env.workFolder(), 0, nullptr};

    static void set(const QString& key, const QString& value) { settingsstore::save(key, value); }
    QString file(const QString& name, const QByteArray& bytes) const {
        const QString path = env.root() + name;
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(bytes);
        return path;
    }
    static QByteArray settingsBytes() { return readBytes(settingsstore::filePath()); }
};

TEST_F(Backup, FreshInstallationExportsTheDefaultsThatCallProcessingUses) {
    backup::writeExport(backup::defaultExportPath());
    EXPECT_EQ(backup::defaultExportPath(), env.root() + u"Desktop/Tellmarin_all.ini"_s);
    const QByteArray expected =
        "\"AddressSeparator\",\",\"\r\n\"AutoChoice\",\"10\"\r\n\"AutoChoiceCallEnd\",\"\"\r\n"
        "\"AutoChoiceJournalCallEnd\",\"10\"\r\n\"BusyStatus\",\"0\"\r\n\"Callback\",\"1\"\r\n"
        "\"ColorBack\",\"13160660\"\r\n\"ColorBackFont\",\"0\"\r\n\"ColorDefault\",\"8947848\"\r\n"
        "\"ColorFont\",\"15790320\"\r\n\"ContactCallEnd\",\"0\"\r\n\"ContactJournal\",\"1\"\r\n"
        "\"Debug\",\"0\"\r\n\"DefaultFolder\",\"\"\r\n\"DisplayPosContact\",\"0\"\r\n"
        "\"DisplayPosJournal\",\"0\"\r\n\"Folders\",\"0\"\r\n\"FolderCalendar\",\"\"\r\n"
        "\"FolderNewContact\",\"\"\r\n\"FolderJournal\",\"\"\r\n\"InContact\",\"0\"\r\n"
        "\"InJournal\",\"0\"\r\n\"Internal\",\"0\"\r\n\"JournalCallEnd\",\"0\"\r\n"
        "\"JournalCategory\",\"0\"\r\n\"JournalContact\",\"0\"\r\n\"LogDays\",\"14\"\r\n"
        "\"Mailaddressee\",\"\"\r\n\"MailFont\",\"Calibri\"\r\n\"MailFontSize\",\"11\"\r\n"
        "\"MailTabStop1\",\"3\"\r\n\"MailTabStop2\",\"8\"\r\n\"ModeCalendarJournal\","
        "\"Journal\"\r\n"
        "\"olUser1\",\"\"\r\n\"olUser1Link\",\"\"\r\n\"olUser1Print\",\"0\"\r\n"
        "\"olUser2\",\"\"\r\n\"olUser2Link\",\"\"\r\n\"olUser2Print\",\"0\"\r\n"
        "\"olUser3\",\"\"\r\n\"olUser3Link\",\"\"\r\n\"olUser3Print\",\"0\"\r\n"
        "\"olUser4\",\"\"\r\n\"olUser4Link\",\"\"\r\n\"olUser4Print\",\"0\"\r\n"
        "\"NewContactType\",\"0\"\r\n\"OutContact\",\"0\"\r\n\"OutJournal\",\"0\"\r\n"
        "\"Refresh\",\"0\"\r\n\"StopWatch\",\"\"\r\n\"URLHandler\",\"tel://\"\r\n\"Maps\",\"0\"\r\n"
        "\"ViewCompanyname\",\"\"\r\n\"WindowOffsetIndexX\",\"0\"\r\n\"WindowOffsetIndexY\","
        "\"0\"\r\n";
    EXPECT_EQ(readBytes(backup::defaultExportPath()), expected);
}

TEST_F(Backup, FolderLinesFollowFoldersAndValuesAreQuoted) {
    set(u"Folders"_s, u"2"_s);
    set(u"Folder1"_s, u"Kunden, Berlin"_s);
    set(u"FolderID1"_s, u"E1|S1"_s);
    set(u"Folder2"_s, u"Der \"Große\" Ordner"_s);
    set(u"FolderID2"_s, u"E2|S2"_s);
    set(u"Folder3"_s, u"alt"_s); // beyond Folders: not exported
    const QString path = env.root() + u"out.ini"_s;
    backup::writeExport(path);
    const QByteArray bytes = readBytes(path);
    EXPECT_TRUE(bytes.contains("\"Folders\",\"2\"\r\n\"Folder1\",\"Kunden, Berlin\"\r\n"
                               "\"FolderID1\",\"E1|S1\"\r\n"
                               "\"Folder2\",\"Der \"\"Gro\xC3\x9F"
                               "e\"\" Ordner\"\r\n"
                               "\"FolderID2\",\"E2|S2\"\r\n\"FolderCalendar\""));
    EXPECT_FALSE(bytes.contains("Folder3"));

    set(u"Folders"_s, u"0"_s);
    backup::writeExport(path);
    EXPECT_TRUE(readBytes(path).contains("\"Folders\",\"0\"\r\n\"FolderCalendar\""));
}

TEST_F(Backup, RestoreGivesBackEveryValueOfAnExport) {
    set(u"Folders"_s, u"1"_s);
    set(u"Folder1"_s, u"Kunden, Berlin"_s);
    set(u"Mailaddressee"_s, u"\"Büro\" <buero@example.org>"_s);
    set(u"AddressSeparator"_s, u", "_s);
    const QString path = env.root() + u"out.ini"_s;
    backup::writeExport(path);
    QFile::remove(settingsstore::filePath());
    backup::restore(path);
    EXPECT_EQ(settingsstore::get(u"Folder1"_s), u"Kunden, Berlin"_s);
    EXPECT_EQ(settingsstore::get(u"Mailaddressee"_s), u"\"Büro\" <buero@example.org>"_s);
    EXPECT_EQ(settingsstore::get(u"AddressSeparator"_s), u", "_s);
    EXPECT_EQ(settingsstore::get(u"ColorBack"_s), u"13160660"_s);
}

TEST_F(Backup, RestoreReadsFilesOfOtherComputers) {
    // Windows-1252, CR LF, a bare field, unknown keys, the map provider as
    // text, folder references of another store.
    const QString path = file(u"alt.ini"_s, "\"olUser1\",\"Gr\xF6\xDF"
                                            "e\"\r\n\"Maps\",\"Microsoft Bing\"\r\n"
                                            "\"Frei\", 7 \r\n\"FolderNewContact\",\"00AB|00CD\"\r\n"
                                            "\"maps2\",\"Google Maps\"\r\n");
    backup::restore(path);
    EXPECT_EQ(settingsstore::get(u"olUser1"_s), u"Größe"_s);
    EXPECT_EQ(settingsstore::get(u"Maps"_s), u"0"_s);
    EXPECT_EQ(settingsstore::get(u"Frei"_s), u"7"_s);
    EXPECT_EQ(settingsstore::get(u"FolderNewContact"_s), u"00AB|00CD"_s);
    EXPECT_EQ(settingsstore::get(u"maps2"_s), u"Google Maps"_s);
    backup::restore(file(u"google.ini"_s, "\"maps\",\"Google Maps\"\n"));
    EXPECT_EQ(settingsstore::get(u"Maps"_s), u"1"_s);
}

TEST_F(Backup, BadFileWritesNothing) {
    set(u"Debug"_s, u"1"_s);
    const QByteArray before = settingsBytes();
    const QList<QByteArray> bad = {
        "\"Debug\",\"0\"\r\nkein Komma hier\r\n", // a line of another form
        "\"Debug\",\"0\"\r\n\"offen,\"x\"\r\n",   // quote not closed
        "\"Debug\",\"0\"\r\n\"a=b\",\"1\"\r\n",   // key names the store cannot keep
        "\"Debug\",\"0\"\r\n\"[Tellmarin]\",\"1\"\r\n",
        "\"Debug\",\"0\"\r\n\";Kommentar\",\"1\"\r\n",
        "\"Debug\",\"0\"\r\n\"#x\",\"1\"\r\n",
        "\"Debug\",\"0\"\r\n\"\",\"1\"\r\n",
        "\"Debug\",\"0\"\r\n\"a\rb\",\"1\"\r\n",
        "", // no key at all
        "\r\n\r\n"};
    for (const QByteArray& bytes : bad) {
        EXPECT_FALSE(actions::restoreSettings(log, file(u"bad.ini"_s, bytes))) << bytes.constData();
        EXPECT_EQ(settingsBytes(), before) << bytes.constData();
    }
    EXPECT_TRUE(readBytes(log.programLogPath())
                    .contains(" frmOptionen.mnuDateiEinstellungenLaden()_00000: Err 5..."));
}

TEST_F(Backup, KeysMatchWithoutRegardToCase) {
    set(u"LogDays"_s, u"30"_s);
    backup::restore(file(u"case.ini"_s, "\"LOGDAYS\",\"7\"\r\n"));
    EXPECT_EQ(settingsstore::get(u"LogDays"_s), u"7"_s);
    EXPECT_EQ(settingsBytes().count("ogDays") + settingsBytes().count("OGDAYS"), 1);
}

// The administrators' options of the program itself.
class BackupCommandLine : public Backup {
protected:
    int tellmarin(const QStringList& args, QByteArray* err = nullptr) {
        QProcess p;
        p.setProgram(QCoreApplication::applicationDirPath() + u"/tellmarin"_s);
        p.setArguments(args);
        p.start();
        p.waitForFinished(30000);
        if (err)
            *err = p.readAllStandardError();
        return p.exitCode();
    }
};

TEST_F(BackupCommandLine, ExportAndImportWithExitStatus) {
    set(u"olUser2"_s, u"Vertrag"_s);
    EXPECT_EQ(tellmarin({u"--export-settings"_s}), 0);
    EXPECT_TRUE(
        readBytes(env.root() + u"Desktop/Tellmarin_all.ini"_s).contains("\"olUser2\",\"Vertrag\""));
    const QString path = env.root() + u"copy.ini"_s;
    EXPECT_EQ(tellmarin({u"--export-settings"_s, path}), 0);
    set(u"olUser2"_s, u"anders"_s);
    EXPECT_EQ(tellmarin({u"--import-settings"_s, path}), 0);
    EXPECT_EQ(settingsstore::get(u"olUser2"_s), u"Vertrag"_s);

    QByteArray err;
    EXPECT_EQ(tellmarin({u"--import-settings"_s, file(u"bad.ini"_s, "Unsinn\n")}, &err), 1);
    EXPECT_TRUE(err.contains("Die R\xC3\xBC"
                             "cksicherung Ihrer Einstellungen ist fehlgeschlagen."));
    EXPECT_EQ(settingsstore::get(u"olUser2"_s), u"Vertrag"_s);
    EXPECT_EQ(tellmarin({u"--import-settings"_s}), 2);
    EXPECT_EQ(tellmarin({u"--export-settings"_s, u"a"_s, u"b"_s}), 2);
    EXPECT_EQ(tellmarin({u"--gibtsnicht"_s}), 2);
    EXPECT_EQ(tellmarin({u"--help"_s}), 0);
}

// Hostile or damaged files in the places of the backup, the restore file
// and the CTI client: each is refused at once with the settings unchanged,
// and nothing waits on a FIFO.
class BackupHostileInput : public Backup {
protected:
    QString fifo(const QString& name) const {
        const QString path = env.root() + name;
        EXPECT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        return path;
    }
    // A restore file of count distinct keys, one a line.
    QString manyKeys(const QString& name, int count) const {
        QByteArray bytes;
        for (int i = 0; i < count; ++i)
            bytes += "\"Schluessel" + QByteArray::number(i) + "\",\"Wert " + QByteArray::number(i) +
                     "\"\r\n";
        return file(name, bytes);
    }
};

TEST_F(BackupHostileInput, RestoreRefusesWhatIsNoRegularFileOrTooLarge) {
    set(u"Debug"_s, u"1"_s);
    const QByteArray before = settingsBytes();
    const QString zero = env.root() + u"null.ini"_s;
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, zero));
    QFile sparse(env.root() + u"gross.ini"_s);
    ASSERT_TRUE(sparse.open(QIODevice::WriteOnly));
    ASSERT_TRUE(sparse.resize(qint64(2) << 30)); // 2 GiB of holes
    sparse.close();
    QByteArray longLine =
        "\"Debug\",\"0\"\r\n\"Lang\",\"" + QByteArray(backup::MaxRestoreLine, 'x') + "\"\r\n";
    const QStringList refused = {zero, sparse.fileName(), fifo(u"fifo.ini"_s),
                                 file(u"lang.ini"_s, longLine)};
    for (const QString& path : refused) {
        EXPECT_FALSE(actions::restoreSettings(log, path)) << path.toStdString();
        EXPECT_EQ(settingsBytes(), before) << path.toStdString();
    }
    const QByteArray logged = readBytes(log.programLogPath());
    EXPECT_TRUE(logged.contains("null.ini: keine gew\xC3\xB6hnliche Datei"));
    EXPECT_TRUE(logged.contains("gross.ini: gr\xC3\xB6\xC3\x9F"
                                "er als 16 MiB"));
    EXPECT_TRUE(logged.contains("fifo.ini: keine gew\xC3\xB6hnliche Datei"));
    EXPECT_TRUE(logged.contains("lang.ini, Zeile 2: Zeile l\xC3\xA4nger als 65536 Zeichen"));
}

TEST_F(BackupHostileInput, RestoreOfManyKeysIsWrittenInOnePass) {
    // Setting the keys one after the other took hours for a million keys;
    // this file took minutes.
    set(u"Schluessel7"_s, u"alt"_s);
    backup::restore(manyKeys(u"viele.ini"_s, 200000));
    EXPECT_EQ(settingsstore::get(u"Schluessel0"_s), u"Wert 0"_s);
    EXPECT_EQ(settingsstore::get(u"schluessel7"_s), u"Wert 7"_s);
    EXPECT_EQ(settingsstore::get(u"Schluessel199999"_s), u"Wert 199999"_s);
    EXPECT_EQ(settingsBytes().count("Schluessel7="), 1);
}

TEST_F(BackupHostileInput, RestoreKeepsMemoryWithinAFewTimesTheFile) {
    const QString path = manyKeys(u"viele.ini"_s, 400000); // 13 MB
    const PeakRun run = runWithPeak(u"tellmarin"_s, {u"--import-settings"_s, path});
    EXPECT_EQ(run.exitCode, 0) << run.standardError.constData();
    EXPECT_EQ(settingsstore::get(u"Schluessel399999"_s), u"Wert 399999"_s);
#if !defined(__SANITIZE_ADDRESS__)
    // The program itself takes about 30 MiB; each key's own texts took 1 GiB.
    EXPECT_LT(run.peakMiB, 150.0);
#endif
    const PeakRun zero = runWithPeak(u"tellmarin"_s, {u"--import-settings"_s, u"/dev/zero"_s});
    EXPECT_EQ(zero.exitCode, 1);
#if !defined(__SANITIZE_ADDRESS__)
    EXPECT_LT(zero.peakMiB, 60.0);
#endif
}

TEST_F(BackupHostileInput, FailedExportLeavesTheOldBackup) {
    const QString path = env.root() + u"Tellmarin_all.ini"_s;
    backup::writeExport(path);
    const QByteArray old = readBytes(path);
    // A full disk: no file may grow beyond 1 KiB, and the long value makes
    // the export larger than that.
    set(u"Mailaddressee"_s, QString(4000, u'm'));
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &limit), 0);
    rlimit small = limit;
    small.rlim_cur = 1024;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool exported = actions::subExportOptionen(log, path, false);
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(exported);
    EXPECT_EQ(readBytes(path), old);
    EXPECT_TRUE(QDir(env.root()).entryList({u".tlm*"_s}, QDir::Files | QDir::Hidden).isEmpty());

    const QString fresh = env.root() + u"neu/Tellmarin_all.ini"_s;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    std::signal(SIGXFSZ, SIG_IGN);
    EXPECT_FALSE(actions::subExportOptionen(log, fresh, false));
    ::setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(QFile::exists(fresh)); // no empty or cut file either
}

TEST_F(BackupHostileInput, ExportRefusesTheSettingsFileAndFifos) {
    set(u"Debug"_s, u"1"_s);
    const QByteArray before = settingsBytes();
    EXPECT_FALSE(actions::subExportOptionen(log, settingsstore::filePath(), false));
    EXPECT_EQ(settingsBytes(), before);
    const QString link = env.root() + u"verweis.ini"_s;
    ASSERT_TRUE(QFile::link(settingsstore::filePath(), link));
    EXPECT_FALSE(actions::subExportOptionen(log, link, false));
    EXPECT_EQ(settingsBytes(), before);
    EXPECT_TRUE(
        readBytes(log.programLogPath()).contains("ist die Einstellungsdatei des Programms selbst"));

    const QString pipe = fifo(u"fifo.ini"_s);
    EXPECT_FALSE(actions::subExportOptionen(log, pipe, false));
    struct stat st {};
    ASSERT_EQ(::lstat(QFile::encodeName(pipe).constData(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST_F(BackupHostileInput, ClientExecutableThatIsAFifoHasNoVersion) {
    const QString folder = env.root() + u"AGFEO"_s;
    ASSERT_TRUE(QDir().mkpath(folder));
    EXPECT_EQ(::mkfifo(QFile::encodeName(folder + u"/ctimon.exe"_s).constData(), 0600), 0);
    set(u"ClientDashboard"_s, folder);
    EXPECT_EQ(dashboard::subKlickConfig(log), dashboard::Outcome::Incompatible);
}

} // namespace
} // namespace tlm::test
