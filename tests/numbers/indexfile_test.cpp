// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// Index records and the scan for a call number.
#include "numbers/indexfile.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <gtest/gtest.h>

using namespace tlm;

namespace {
QString writeIndex(const test::TestEnv& env, const QByteArray& content) {
    const QString path = env.workFolder() + QStringLiteral("tlm20261205.idx");
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}
} // namespace

TEST(IndexFile, RecordLayout) {
    EXPECT_EQ(indexRecord(QStringLiteral("0301234567"), QStringLiteral("00AB"), 1, false),
              QByteArray("\"0301234567\",\"00AB\",1,0\r\n"));
    EXPECT_EQ(indexRecord(QString(), QStringLiteral("X"), 12, true),
              QByteArray("\"\",\"X\",12,-1\r\n"));
}

TEST(IndexFile, ScanFindsExactNumbersOnly) {
    test::TestEnv env;
    const QString path = writeIndex(env, "\"030123\",\"A\",1,0\r\n"
                                         "\"0301234\",\"B\",2,-1\r\n"
                                         "\"00493012\",\"C\",3,0\r\n"
                                         "\"030123\",\"D\",4,0\r\n"
                                         "\"\",\"E\",5,0\r\n"
                                         "\"030123\",\"A\",10,-1");
    const QList<IndexMatch> m = scanIndex(path, QStringLiteral("030123"));
    ASSERT_EQ(m.size(), 3);
    EXPECT_EQ(m[0].entryId, QStringLiteral("A"));
    EXPECT_EQ(m[0].field, 1);
    EXPECT_EQ(m[1].entryId, QStringLiteral("D"));
    EXPECT_EQ(m[2].field, 10);
    EXPECT_EQ(m[2].journal, -1);
    EXPECT_EQ(scanIndex(path, QStringLiteral("03012")).size(), 0);
    EXPECT_EQ(scanIndex(path, QStringLiteral("3012")).size(), 0);
    EXPECT_EQ(scanIndex(path, QString()).size(), 1);
    EXPECT_EQ(scanIndex(env.workFolder() + QStringLiteral("missing.idx"), QStringLiteral("030123"))
                  .size(),
              0);
}

// The scan reads the file in blocks: records that straddle a block's end,
// a long garbage line and a last line without its line end are all found.
TEST(IndexFile, ScanAcrossBlocks) {
    test::TestEnv env;
    QByteArray content;
    int expected = 0;
    for (int i = 0; content.size() < 3 * 256 * 1024; ++i) {
        const bool wanted = i % 997 == 0;
        expected += wanted;
        content += indexRecord(wanted ? QStringLiteral("030999") : QString::number(i),
                               QStringLiteral("E%1").arg(i), i % 12 + 1, false);
        if (i == 5000)
            content += QByteArray(300 * 1024, 'x') + "\r\n"; // longer than a block
    }
    content += "\"030999\",\"LAST\",7,-1";
    const QList<IndexMatch> m = scanIndex(writeIndex(env, content), QStringLiteral("030999"));
    ASSERT_EQ(m.size(), expected + 1);
    EXPECT_EQ(m.first().entryId, QStringLiteral("E0"));
    EXPECT_EQ(m.last().entryId, QStringLiteral("LAST"));
    EXPECT_EQ(m.last().journal, -1);
}
