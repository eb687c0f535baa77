// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The work folder may lie in the shared /tmp: links, FIFOs and folders that
// another user prepared there must not redirect, block or receive what the
// program writes. And every name that fits the file system can be written.
#include "tests/core/callfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

using namespace tlm;
using namespace tlm::test;

namespace {
class WorkFolderFiles : public CallFixture {
protected:
    QString outside(const QString& name, const QByteArray& content) const {
        const QString path = env.root() + name;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(content);
        return path;
    }
    QString indexFile() const {
        return env.workFolder() + u"tlm"_s + day.toString(u"yyyyMMdd"_s) + u".idx"_s;
    }
    QString programLog() const {
        return QString::fromUtf8(test::readBytes(env.workFolder() + u"Tellmarin.log"_s));
    }
};
} // namespace

TEST_F(WorkFolderFiles, LinksAreNeverFollowedNorReplacedByTheirTargets) {
    const QByteArray secret = "nicht überschreiben\n";
    const QString target = outside(u"fremd.txt"_s, secret);
    const QString dangling = env.root() + u"entsteht-nicht.txt"_s;
    ASSERT_TRUE(QFile::link(target, callFile()));
    ASSERT_TRUE(QFile::link(target, env.workFolder() + callId + u".log"_s));
    ASSERT_TRUE(QFile::link(dangling, env.workFolder() + u"tlmLastCall.log"_s));
    runEvent({u"called"_s});

    EXPECT_EQ(test::readBytes(target), secret);
    EXPECT_FALSE(QFile::exists(dangling));
    EXPECT_TRUE(QFileInfo(callFile()).isSymLink());
    // the per-call file could not be written: its error line says so
    EXPECT_TRUE(programLog().contains(u"Err 75"_s)) << programLog().toStdString();

    // a link as program log and as index of the day
    const QString dir = env.workFolder();
    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    ASSERT_TRUE(QFile::link(target, dir + u"Tellmarin.log"_s));
    ASSERT_TRUE(QFile::link(target, indexFile()));
    runEvent({u"called"_s});
    EXPECT_EQ(test::readBytes(target), secret);
    // the new index takes the link's place; the contact is found in it
    EXPECT_FALSE(QFileInfo(indexFile()).isSymLink());
    EXPECT_EQ(fncIniRead(callFile(), u"Contact"_s, u"Contact-ID"_s), beckerId);
}

TEST_F(WorkFolderFiles, AFifoAsPerCallFileDoesNotHangTheRun) {
    ASSERT_EQ(::mkfifo(QFile::encodeName(callFile()).constData(), 0600), 0);
    QProcess p;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"TELLMARIN_AUTOANSWER"_s, u"1"_s);
    p.setProcessEnvironment(environment);
    QElapsedTimer t;
    t.start();
    p.start(QCoreApplication::applicationDirPath() + u"/tellmarin"_s, {becker,
                                                                       becker,
                                                                       u"21"_s,
                                                                       u"Zentrale"_s,
                                                                       u"0"_s,
                                                                       u"called"_s,
                                                                       u"0"_s,
                                                                       u"2026-12-05 14:03:20"_s,
                                                                       u"0"_s,
                                                                       u"1"_s,
                                                                       callId,
                                                                       u"U1"_s,
                                                                       {},
                                                                       {},
                                                                       {},
                                                                       {},
                                                                       {},
                                                                       {},
                                                                       {}});
    const bool finished = p.waitForFinished(5000);
    if (!finished)
        p.kill();
    EXPECT_TRUE(finished) << "the run hangs on the FIFO";
    EXPECT_EQ(p.exitCode(), 0);
}

TEST_F(WorkFolderFiles, AFolderOthersMayWriteOrOwnIsNotUsed) {
    const QString dir = env.workFolder();
    QDir(dir).removeRecursively();
    runEvent({u"called"_s});
    // made for the user alone
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(dir).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0700u);

    QDir(dir).removeRecursively();
    QDir().mkpath(dir);
    ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 0777), 0);
    runEvent({u"called"_s});
    EXPECT_TRUE(QDir(dir).isEmpty()) << "nothing is written into a world-writable work folder";

    if (::geteuid() != 0)
        GTEST_SKIP() << "handing the folder to another user needs root";
    ASSERT_EQ(::chmod(QFile::encodeName(dir).constData(), 0700), 0);
    ASSERT_EQ(::chown(QFile::encodeName(dir).constData(), 65534, 65534), 0);
    runEvent({u"called"_s});
    EXPECT_TRUE(QDir(dir).isEmpty()) << "nothing is written into another user's work folder";
}

TEST_F(WorkFolderFiles, LongCallIdsUpToTheNameLimitAreWritten) {
    for (int length : {236, 243, 250}) {
        const QString id = u"5F3A9C21-0001-"_s + QString(length - 14, u'A');
        runEvent({u"called"_s, becker, u"0"_s, id});
        EXPECT_EQ(fncIniRead(callFile(id), u"Call"_s, u"PCallID"_s), id) << length;
        EXPECT_EQ(fncIniRead(callFile(id), u"Contact"_s, u"Contact-ID"_s), beckerId) << length;
    }
    // no temporary file is left beside them
    EXPECT_TRUE(
        QDir(env.workFolder()).entryList({u".*tmp"_s}, QDir::Hidden | QDir::Files).isEmpty());
}

TEST_F(WorkFolderFiles, ABuildRemovesTheTemporaryIndexOfAKilledBuild) {
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ASSERT_GT(child, 0);
    ::waitpid(child, nullptr, 0);
    const QString killed = indexFile() + u"."_s + QString::number(child) + u".new"_s;
    const QString killedTable = indexFile() + u".tab."_s + QString::number(child) + u".new"_s;
    const QString running = indexFile() + u".1.new"_s; // init always runs
    const QString runningTable = indexFile() + u".tab.1.new"_s;
    outside(u"x"_s, {});
    for (const QString& path : {killed, running, killedTable, runningTable}) {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("\"03012345678\",\"x\",1,0\r\n");
    }
    runEvent({u"called"_s});
    EXPECT_FALSE(QFile::exists(killed));
    EXPECT_TRUE(QFile::exists(running));
    EXPECT_FALSE(QFile::exists(killedTable));
    EXPECT_TRUE(QFile::exists(runningTable));
}
