// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// tellmarin-viewer as a program: --help and --version print and end, a
// missing store is made only when asked for, and a second viewer of the same
// store brings the first to the front and ends.
#include "tests/support/testenv.h"
#include "viewer/singleinstance.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocalSocket>
#include <QProcess>
#include <QThread>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm::test {
namespace {

struct Outcome {
    int exitCode = -1;
    QString out;
    QString err;
};

QString viewerProgram() {
    return QCoreApplication::applicationDirPath() + u"/tellmarin-viewer"_s;
}

Outcome run(const QStringList& args) {
    QProcess p;
    p.start(viewerProgram(), args);
    p.waitForFinished(-1);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

// Waits until the viewer of path answers on its socket (or has ended).
bool listening(const QString& path, const QProcess& viewer) {
    while (viewer.state() != QProcess::NotRunning) {
        QLocalSocket s;
        s.connectToServer(viewer::SingleInstance::socketName(path));
        if (s.waitForConnected(1000))
            return true;
        QThread::msleep(20);
    }
    return false;
}

class ViewerProgram : public ::testing::Test {
protected:
    TestEnv env;
    QProcess first;

    void TearDown() override {
        if (first.state() != QProcess::NotRunning) {
            first.kill();
            first.waitForFinished(-1);
        }
    }
};

TEST_F(ViewerProgram, HelpAndVersionPrintAndMakeNoStore) {
    const Outcome help = run({u"--help"_s});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_TRUE(help.out.startsWith(u"Aufruf: tellmarin-viewer"_s)) << help.out.toStdString();
    EXPECT_TRUE(help.out.contains(u"--create"_s));
    const Outcome version = run({u"--version"_s});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_TRUE(version.out.startsWith(u"tellmarin-viewer "_s));
    const Outcome wrong = run({u"--bunt"_s});
    EXPECT_EQ(wrong.exitCode, 2);
    EXPECT_TRUE(wrong.err.contains(u"--bunt"_s));
    EXPECT_FALSE(QFile::exists(env.pimPath()));
}

TEST_F(ViewerProgram, AMissingStoreIsMadeOnlyWhenAskedFor) {
    const Outcome plain = run({});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_TRUE(plain.err.contains(u"ist nicht vorhanden"_s)) << plain.err.toStdString();
    EXPECT_TRUE(plain.err.contains(env.pimPath()));
    EXPECT_FALSE(QFile::exists(env.pimPath()));
    // Started with the desktop session, it neither asks nor complains.
    const Outcome atLogin = run({u"--autostart"_s});
    EXPECT_EQ(atLogin.exitCode, 0);
    EXPECT_TRUE(atLogin.err.isEmpty()) << atLogin.err.toStdString();
    EXPECT_FALSE(QFile::exists(env.pimPath()));

    first.start(viewerProgram(), {u"--create"_s});
    ASSERT_TRUE(first.waitForStarted(-1));
    ASSERT_TRUE(listening(env.pimPath(), first));
    EXPECT_TRUE(QFile::exists(env.pimPath()));
}

TEST_F(ViewerProgram, ASecondViewerOfTheStoreRaisesTheFirstAndEnds) {
    first.start(viewerProgram(), {u"--create"_s});
    ASSERT_TRUE(first.waitForStarted(-1));
    ASSERT_TRUE(listening(env.pimPath(), first));
    const Outcome second = run({});
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_TRUE(second.err.contains(u"läuft schon"_s)) << second.err.toStdString();
    // The first is still the store's viewer.
    EXPECT_TRUE(listening(env.pimPath(), first));
    EXPECT_EQ(first.state(), QProcess::Running);

    // Another store has a viewer of its own.
    const QString otherStore = env.root() + u"zweiter.sqlite"_s;
    QProcess third;
    third.start(viewerProgram(), {u"--create"_s, u"--store"_s, otherStore});
    ASSERT_TRUE(third.waitForStarted(-1));
    EXPECT_TRUE(listening(otherStore, third));
    third.kill();
    third.waitForFinished(-1);
}

} // namespace
} // namespace tlm::test
