// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// When the viewer syncs: at start, after changes of the store (one sync for
// several), periodically, and never two at once. The test stands in for the
// sync: it takes the due signal and reports the end itself.
#include "viewer/syncscheduler.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

using namespace std::chrono_literals;
using tlm::viewer::SyncScheduler;

namespace {

class Scheduler : public ::testing::Test {
protected:
    void make(SyncScheduler::Intervals intervals) {
        scheduler = std::make_unique<SyncScheduler>(intervals);
        due = std::make_unique<QSignalSpy>(scheduler.get(), &SyncScheduler::due);
    }
    // Waits, without a limit of its own, until count syncs were due.
    void waitForDue(qsizetype count) {
        while (due->size() < count)
            due->wait(1000);
    }
    SyncScheduler::Kind kind(qsizetype i) const {
        return due->at(i).at(0).value<SyncScheduler::Kind>();
    }

    std::unique_ptr<SyncScheduler> scheduler;
    std::unique_ptr<QSignalSpy> due;
};

TEST_F(Scheduler, SyncsAtStartAndEachPeriodButNeverTwoAtOnce) {
    make({10ms, 1h});
    scheduler->start();
    ASSERT_EQ(due->size(), 1);
    EXPECT_EQ(kind(0), SyncScheduler::Kind::Full);
    // Periods pass while the sync runs: none starts beside it ...
    QTest::qWait(50);
    EXPECT_EQ(due->size(), 1);
    // ... the one they asked for follows its end at once, once.
    scheduler->finished();
    ASSERT_EQ(due->size(), 2);
    EXPECT_EQ(kind(1), SyncScheduler::Kind::Full);
    scheduler->finished();
    waitForDue(3); // the next period
    EXPECT_EQ(kind(2), SyncScheduler::Kind::Full);
}

TEST_F(Scheduler, ChangesCloseTogetherGiveOneSync) {
    make({1h, 10ms});
    scheduler->start();
    scheduler->finished();
    for (int i = 0; i < 3; ++i)
        scheduler->storeChanged();
    EXPECT_EQ(due->size(), 1); // not at once: changes come in bursts
    waitForDue(2);
    EXPECT_EQ(kind(1), SyncScheduler::Kind::Changes);
    scheduler->finished();
    QTest::qWait(50);
    EXPECT_EQ(due->size(), 2);
}

TEST_F(Scheduler, AChangeDuringASyncGivesOneMoreAfterIt) {
    make({1h, 1ms});
    scheduler->start();
    scheduler->storeChanged();
    QTest::qWait(20); // the change's interval may end while the sync runs
    scheduler->storeChanged();
    EXPECT_EQ(due->size(), 1);
    scheduler->finished();
    waitForDue(2);
    EXPECT_EQ(kind(1), SyncScheduler::Kind::Changes);
    scheduler->finished();
    QTest::qWait(20);
    EXPECT_EQ(due->size(), 2);
    // Asked for by the user while one runs: a full sync follows.
    scheduler->storeChanged();
    waitForDue(3);
    scheduler->syncNow();
    EXPECT_EQ(due->size(), 3);
    scheduler->finished();
    ASSERT_EQ(due->size(), 4);
    EXPECT_EQ(kind(3), SyncScheduler::Kind::Full);
}

} // namespace
