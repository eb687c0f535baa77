// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The Refresh rules at their boundaries.
#include "core/indexfreshness.h"

#include <gtest/gtest.h>

using namespace tlm;

namespace {
QDateTime at(int day, int h, int m, int s = 0) {
    return QDateTime(QDate(2026, 12, day), QTime(h, m, s));
}

QStringList reasons(const char* level, const QDateTime& modified, const QDateTime& now) {
    QStringList texts;
    for (const RebuildReason& r : indexRebuildReasons(QString::fromLatin1(level), modified, now))
        texts << r.text.left(1) + QString::number(r.step);
    return texts;
}
} // namespace

TEST(IndexFreshness, LevelZeroRebuildsOnAnotherDayOnly) {
    EXPECT_EQ(reasons("0", at(5, 0, 0), at(5, 23, 59)), QStringList());
    EXPECT_EQ(reasons("0", at(4, 23, 59), at(5, 0, 0)), QStringList{QStringLiteral("011001")});
}

TEST(IndexFreshness, LevelOneComparesAroundNoon) {
    EXPECT_EQ(reasons("1", at(5, 11, 0), at(5, 14, 0)), QStringList{QStringLiteral("10")});
    EXPECT_EQ(reasons("1", at(5, 11, 0), at(5, 12, 0)), QStringList()); // 12:00 is not after noon
    EXPECT_EQ(reasons("1", at(5, 11, 0), at(5, 12, 1)), QStringList{QStringLiteral("10")});
    EXPECT_EQ(reasons("1", at(5, 12, 0), at(5, 15, 0)), QStringList()); // 12:00 is not before noon
    EXPECT_EQ(reasons("1", at(5, 13, 30), at(5, 15, 0)), QStringList());
    // yesterday afternoon, now in the morning: another day and the afternoon test
    EXPECT_EQ(reasons("1", at(4, 13, 0), at(5, 9, 0)).size(), 2);
    EXPECT_EQ(reasons("1", at(4, 12, 59), at(5, 9, 0)).size(), 1); // hour 12 is not greater than 12
}

TEST(IndexFreshness, LevelsTwoAndThreeCountMinuteBoundaries) {
    EXPECT_EQ(reasons("2", at(5, 10, 0, 59), at(5, 10, 59, 59)), QStringList());
    EXPECT_EQ(reasons("2", at(5, 10, 0, 59), at(5, 11, 0, 0)),
              QStringList{QStringLiteral("211003")});
    EXPECT_EQ(reasons("3", at(5, 10, 0, 30), at(5, 10, 29, 59)), QStringList());
    EXPECT_EQ(reasons("3", at(5, 10, 0, 30), at(5, 10, 30, 0)),
              QStringList{QStringLiteral("311004")});
}

TEST(IndexFreshness, OtherLevelsNeverRebuild) {
    EXPECT_EQ(reasons("4", at(1, 0, 0), at(5, 0, 0)), QStringList());
    EXPECT_EQ(reasons("", at(1, 0, 0), at(5, 0, 0)), QStringList());
}
