// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Faults from outside: many processes of one call at once, processes killed
// while they write, and writes that the file system refuses (a full disk, a
// read-only work folder). The test executable runs itself again with
// FAULT_TEST_ROLE set to play the writer that is killed.
#include "core/callfile.h"
#include "core/contactindex.h"
#include "core/run.h"
#include "numbers/indexfile.h"
#include "outlook/application.h"
#include "outlook/folder.h"
#include "outlook/item.h"
#include "platform/files.h"
#include "platform/inifind.h"
#include "platform/settingsstore.h"
#include "store/pimstore.h"
#include "tests/support/testenv.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QThread>
#include <csignal>
#include <gtest/gtest.h>
#include <linux/capability.h>
#include <sys/prctl.h>
#include <sys/resource.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {
const char* const RoleVariable = "FAULT_TEST_ROLE";

QStringList eventOf(const QString& event, const QString& callId) {
    QStringList args = {u"030123456"_s, u"030123456"_s, u"21"_s, u"Zentrale"_s,
                        u"0"_s,         event,          u"0"_s,  u"2026-12-07 10:00:00"_s,
                        u"0"_s,         u"1"_s,         callId,  u"U1"_s};
    while (args.size() < 19)
        args << QString();
    return args;
}

QString tellmarin() {
    return QCoreApplication::applicationDirPath() + u"/tellmarin"_s;
}

// Every line of a per-call or settings file: blank, "[section]" or "key=value".
bool wellFormed(const QByteArray& content) {
    static const QRegularExpression line(u"^(|\\[[^\\]\\r\\n]+\\]|[^=\\[\\r\\n]+=[^\\r\\n]*)$"_s);
    for (const QByteArray& l : content.split('\n'))
        if (!line.match(QString::fromUtf8(l.endsWith('\r') ? l.chopped(1) : l)).hasMatch())
            return false;
    return true;
}

void seedContacts(int count) {
    { const pim::Store made; } // attaching makes no store
    outlook::FolderPtr contacts =
        outlook::attach()->GetNamespace(u"MAPI"_s)->GetDefaultFolder(outlook::olFolderContacts);
    for (int i = 0; i < count; ++i) {
        outlook::ItemPtr c = contacts->Items()->Add();
        c->set(u"LastName"_s, u"K"_s + QString::number(i));
        c->set(u"BusinessTelephoneNumber"_s, u"030 "_s + QString::number(100000 + i));
        c->Save();
    }
}

// The work folder of the environment that TestEnv set up (also in a child).
QString workFolder() {
    return qEnvironmentVariable("TEMP") + u"/Tellmarin/"_s;
}

Run runIn() {
    Run run;
    run.env.workFolder = workFolder();
    run.env.indexFile = workFolder() + indexFileName(QDate::currentDate());
    return run;
}

// Starts this executable as a writer of role, waits delayMs and kills it.
void killWriterAfter(const char* role, int delayMs) {
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(RoleVariable), QString::fromLatin1(role));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), {u"--gtest_filter=FaultChild.Role"_s});
    ASSERT_TRUE(child.waitForStarted());
    QThread::msleep(static_cast<unsigned long>(delayMs));
    child.kill();
    child.waitForFinished();
}

QStringList temporaries(const QString& folder) {
    return files::matching(folder, u"*.tmp"_s) + files::matching(folder, u"*.new"_s);
}
} // namespace

// The killed writer: rewrites the index, a per-call file or the settings
// until it is killed.
TEST(FaultChild, Role) {
    const QString role = qEnvironmentVariable(RoleVariable);
    if (role.isEmpty())
        GTEST_SKIP() << "runs only as a child of the fault tests";
    for (int i = 0;; ++i) {
        if (role == u"index"_s) {
            tlm::Run run = runIn();
            ASSERT_TRUE(subCreateFileIndex(run, false));
        } else if (role == u"callfile"_s) {
            subIniWrite(workFolder() + u"KILL-1.call"_s, u"Timestamps"_s,
                        u"Key"_s + QString::number(i), QString(200, u'x'));
        } else {
            settingsstore::save(u"Key"_s + QString::number(i), QString(200, u'y'));
        }
    }
}

TEST(Faults, TwentyEventsOfOneCallAtOnceLoseNoTimeStamp) {
    TestEnv env;
    settingsstore::save(u"DefaultFolder"_s, u"1"_s);
    { const pim::Store made(env.pimPath()); }
    const QStringList events = {u"called"_s, u"connect"_s, u"finished"_s, u"menu"_s};
    std::vector<std::unique_ptr<QProcess>> processes;
    for (int i = 0; i < 20; ++i) {
        auto p = std::make_unique<QProcess>();
        p->start(tellmarin(), eventOf(events[i % events.size()], u"MIXED-1"_s));
        processes.push_back(std::move(p));
    }
    for (auto& p : processes) {
        ASSERT_TRUE(p->waitForFinished(60000));
        EXPECT_EQ(p->exitStatus(), QProcess::NormalExit);
    }
    QFile file(env.workFolder() + u"MIXED-1.call"_s);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly))
        << qPrintable(files::matching(env.workFolder(), u"*"_s).join(u' '))
        << processes[0]->readAllStandardError().toStdString();
    const QByteArray content = file.readAll();
    EXPECT_TRUE(wellFormed(content)) << content.toStdString();
    for (const QString& e : events)
        EXPECT_FALSE(fncIniRead(file.fileName(), u"Timestamps"_s, e).isEmpty()) << qPrintable(e);
    EXPECT_EQ(temporaries(env.workFolder()), QStringList());
}

// A writer killed at any point leaves the old or the new file, complete, and
// a temporary that the next writer removes.
TEST(Faults, KilledWritersLeaveWholeFiles) {
    TestEnv env;
    settingsstore::save(u"DefaultFolder"_s, u"1"_s);
    seedContacts(3000);
    tlm::Run first = runIn();
    ASSERT_TRUE(subCreateFileIndex(first, false));
    const QString callFile = env.workFolder() + u"KILL-1.call"_s;
    subIniWrite(callFile, u"Call"_s, u"Start"_s, u"1"_s);
    for (int delay : {15, 40, 70, 110, 160}) {
        killWriterAfter("index", delay);
        ASSERT_EQ(scanIndex(first.env.indexFile, u"030102999"_s).size(), 1) << delay;
        killWriterAfter("callfile", delay);
        QFile call(callFile);
        ASSERT_TRUE(call.open(QIODevice::ReadOnly)) << delay;
        EXPECT_TRUE(wellFormed(call.readAll())) << delay;
        EXPECT_EQ(fncIniRead(callFile, u"Call"_s, u"Start"_s), u"1"_s) << delay;
        killWriterAfter("settings", delay);
        EXPECT_EQ(settingsstore::get(u"DefaultFolder"_s), u"1"_s);
        QFile settings(settingsstore::filePath());
        ASSERT_TRUE(settings.open(QIODevice::ReadOnly));
        EXPECT_TRUE(wellFormed(settings.readAll())) << delay;
    }
    // Later runs remove what the killed ones left.
    tlm::Run later = runIn();
    ASSERT_TRUE(subCreateFileIndex(later, false));
    subIniWrite(callFile, u"Call"_s, u"Done"_s, u"1"_s);
    settingsstore::save(u"Done"_s, u"1"_s);
    EXPECT_EQ(temporaries(env.workFolder()), QStringList());
    EXPECT_EQ(temporaries(env.configFolder()), QStringList());
}

// A vCard import killed at any point leaves the store as it was or with all
// of the file's contacts: it imports in one transaction.
TEST(Faults, KilledVcardImportLeavesOldOrNewStore) {
    TestEnv env;
    const QString vcf = env.root() + u"viele.vcf"_s;
    QFile f(vcf);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    constexpr int Contacts = 8000;
    for (int i = 0; i < Contacts; ++i)
        f.write(u"BEGIN:VCARD\r\nVERSION:3.0\r\nN:Name%1;Vorname;;;\r\nTEL;TYPE=WORK:030 %1\r\n"
                u"END:VCARD\r\n"_s.arg(i)
                    .toUtf8());
    f.close();
    const QString pim = QCoreApplication::applicationDirPath() + u"/tellmarin-pim"_s;
    // Killed after a while (however far the import got by then), and once
    // not killed at all (-1: waited for without a limit; a hang is left to
    // the test runner's timeout).
    for (int delay : {40, 120, 250, -1}) {
        const QString store = env.root() + u"store%1.sqlite"_s.arg(delay);
        QProcess create;
        create.start(pim, {u"--store"_s, store, u"create"_s});
        ASSERT_TRUE(create.waitForFinished(-1));
        QProcess import;
        import.start(pim, {u"--store"_s, store, u"import-vcard"_s, vcf});
        ASSERT_TRUE(import.waitForStarted(-1));
        if (!import.waitForFinished(delay))
            import.kill();
        import.waitForFinished(-1);
        const pim::Store opened(store, pim::Store::Create::Never);
        const int count = opened.itemCount(opened.defaultFolder(outlook::olFolderContacts).entryId);
        EXPECT_TRUE(count == 0 || count == Contacts) << delay << ": " << count;
        if (delay < 0) {
            EXPECT_EQ(import.exitStatus(), QProcess::NormalExit);
            EXPECT_EQ(count, Contacts); // not killed: all of them
        }
    }
}

// Writes that the file system refuses (a file size limit stands for a full
// disk; the work folder a plain file) end the event with its error lines,
// not with a crash, and leave no partial per-call file.
TEST(Faults, RefusedWritesEndTheEventCleanly) {
    TestEnv env;
    QProcess full;
    full.setChildProcessModifier([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{512, 512};
        setrlimit(RLIMIT_FSIZE, &limit);
    });
    full.start(tellmarin(), eventOf(u"called"_s, u"FULL-1"_s));
    ASSERT_TRUE(full.waitForFinished(60000));
    EXPECT_EQ(full.exitStatus(), QProcess::NormalExit);
    QFile call(env.workFolder() + u"FULL-1.call"_s);
    if (call.open(QIODevice::ReadOnly)) {
        EXPECT_TRUE(wellFormed(call.readAll()));
    }
    EXPECT_EQ(temporaries(env.workFolder()), QStringList());

    ASSERT_TRUE(QDir(env.workFolder()).removeRecursively());
    QFile plain(env.workFolder().chopped(1));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    QProcess blocked;
    blocked.start(tellmarin(), eventOf(u"called"_s, u"FILE-1"_s));
    ASSERT_TRUE(blocked.waitForFinished(60000));
    EXPECT_EQ(blocked.exitStatus(), QProcess::NormalExit);
}

// A work folder that the user may not write to: the event ends normally and
// says what failed. The tests run as root, who writes anyway, so the child
// gives up the capabilities that pass over file permissions.
TEST(Faults, ReadOnlyWorkFolderEndsTheEventWithAMessage) {
    TestEnv env;
    settingsstore::save(u"DefaultFolder"_s, u"1"_s);
    seedContacts(3);
    const QString folder = env.workFolder();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner));
    QStringList said;
    for (const QString& event : {u"called"_s, u"connect"_s, u"finished"_s}) {
        QProcess child;
        child.setChildProcessModifier([] {
            for (const int capability : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
                prctl(PR_CAPBSET_DROP, capability, 0, 0, 0);
        });
        child.start(tellmarin(), eventOf(event, u"READ-1"_s));
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
        said << QString::fromLocal8Bit(child.readAllStandardError());
    }
    QFile::setPermissions(folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(files::matching(folder, u"*"_s), QStringList()); // nothing got through
    EXPECT_TRUE(said.first().contains(u"Es gibt ein Problem mit der Indexdatei."_s))
        << qPrintable(said.join(u'|'));
}

// Arguments far beyond anything a CTI client sends (50,000 characters each,
// the call ID too long for a file name) end the event normally, with an
// error line.
TEST(Faults, HugeArgumentsEndTheEventNormally) {
    TestEnv env;
    settingsstore::save(u"DefaultFolder"_s, u"1"_s);
    { const pim::Store made(env.pimPath()); }
    QStringList args = eventOf(u"called"_s, QString(50000, u'7'));
    for (const int i : {0, 1, 3, 7, 12, 13, 14})
        args[i] = QString(50000, u'9');
    QProcess child;
    child.start(tellmarin(), args);
    ASSERT_TRUE(child.waitForFinished(60000));
    EXPECT_EQ(child.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(child.exitCode(), 0);
    // The per-call file cannot be named so: the error line says so.
    QFile log(env.workFolder() + u"Tellmarin.log"_s);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    EXPECT_TRUE(log.readAll().contains("Err 75")) << qPrintable(log.fileName());
}

// Files damaged from outside (garbage, a record cut short, NUL bytes) are
// read as far as they make sense: the event ends normally, and the settings
// file keeps what it held besides the keys the event writes.
TEST(Faults, DamagedFilesDoNotStopTheEvent) {
    TestEnv env;
    settingsstore::save(u"DefaultFolder"_s, u"1"_s);
    const auto write = [](const QString& path, const QByteArray& bytes) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    };
    QByteArray garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    write(env.workFolder() + indexFileName(QDate::currentDate()),
          "\"030123456\",\"0000ABCD\",1,-1\r\n\"030123456\",\"00" + garbage);
    write(env.workFolder() + u"DAMAGED-1.call"_s, garbage + "\r\n[Call\r\nLine=\0\0\r\n");
    write(env.configFolder() + u"registry.reg"_s, "REGEDIT4\n[HKEY_LOCAL_MACHINE\\" + garbage);
    QFile settings(settingsstore::filePath());
    ASSERT_TRUE(settings.open(QIODevice::Append));
    settings.write("Kept=1\r\n" + garbage.left(300) + "\r\n");
    settings.close();
    for (const QString& event : {u"called"_s, u"connect"_s, u"finished"_s}) {
        QProcess p;
        p.start(tellmarin(), eventOf(event, u"DAMAGED-1"_s));
        ASSERT_TRUE(p.waitForFinished(60000)) << qPrintable(event);
        EXPECT_EQ(p.exitStatus(), QProcess::NormalExit) << qPrintable(event);
    }
    EXPECT_EQ(settingsstore::get(u"Kept"_s), u"1"_s);
    EXPECT_FALSE(fncIniRead(env.workFolder() + u"DAMAGED-1.call"_s, u"Timestamps"_s, u"finished"_s)
                     .isEmpty());
}

} // namespace tlm::test
