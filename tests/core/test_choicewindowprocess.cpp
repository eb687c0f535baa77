// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// A contact choice window open in another process: later events of the call
// wait for it while that process lives, and go on when it was killed.
#include "tests/core/callfixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QProcess>
#include <QThread>

using namespace tlm;
using namespace tlm::test;

namespace {
using ChoiceWindowProcess = CallFixture;

bool waitFor(const std::function<bool()>& condition) {
    QDeadlineTimer deadline(20000);
    while (!condition()) {
        if (deadline.hasExpired())
            return false;
        QThread::msleep(20);
    }
    return true;
}
} // namespace

TEST_F(ChoiceWindowProcess, AKilledWindowNoLongerBlocksTheCall) {
    set(u"AutoChoice"_s, u"60"_s);
    QProcess window;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
    environment.insert(u"TELLMARIN_AUTOANSWER"_s, u"1"_s);
    window.setProcessEnvironment(environment);
    window.start(QCoreApplication::applicationDirPath() + u"/tellmarin"_s,
                 {wagner,
                  wagner,
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
    const QString lock = env.workFolder() + callId + u".lock"_s;
    ASSERT_TRUE(waitFor([&] {
        return !fncIniRead(callFile(), u"Program"_s, u"ContactChoiceDialogue"_s).isEmpty() &&
               processlock::isHeld(lock);
    })) << "the choice window did not open";

    // while the window lives, a connect only records its time stamp
    runEvent({u"connect"_s, wagner});
    EXPECT_FALSE(fncIniRead(callFile(), u"Timestamps"_s, u"connect"_s).isEmpty());
    EXPECT_TRUE(callLog().filter(u"43000|"_s).isEmpty());

    window.kill();
    ASSERT_TRUE(window.waitForFinished(10000));
    EXPECT_FALSE(fncIniRead(callFile(), u"Program"_s, u"ContactChoiceDialogue"_s).isEmpty());

    runEvent({u"finished"_s, wagner});
    EXPECT_TRUE(fncIniRead(callFile(), u"Program"_s, u"ContactChoiceDialogue"_s).isEmpty());
    const QString programLog =
        QString::fromUtf8(test::readBytes(env.workFolder() + u"Tellmarin.log"_s));
    EXPECT_TRUE(programLog.contains(
        u"11202  * 12/15 - Event-Überlappung: verwaister Kontaktauswahldialog-Eintrag entfernt"_s));
    EXPECT_FALSE(callLog().filter(u"45000|FINISHED: 0221987654"_s).isEmpty());
    EXPECT_FALSE(QFile::exists(lock) && processlock::isHeld(lock));
}
