// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The lookup table beside the index: the same answers as the scan whenever
// it is used, and never used when it does not fit its index.
#include "numbers/indexfile.h"
#include "numbers/indexseal.h"
#include "numbers/indextable.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <QtEndian>
#include <cstdio>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tlm;

namespace {
QString text(const QList<IndexMatch>& matches) {
    QString out;
    for (const IndexMatch& m : matches)
        out += QStringLiteral("%1/%2/%3 ").arg(m.entryId).arg(m.field).arg(m.journal);
    return out;
}

void writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(content);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

class IndexTable : public ::testing::Test {
protected:
    test::TestEnv env;
    const QString index = env.workFolder() + QStringLiteral("tlm20261205.idx");
    const QString table = indexTablePath(index);

    // Writes the index and its table, handing the bytes to the table in
    // pieces of piece bytes, as the builder's blocks.
    void build(const QByteArray& content, qsizetype piece = 1 << 20) {
        writeFile(index, content);
        IndexTableWriter writer;
        for (qsizetype at = 0; at < content.size(); at += piece)
            writer.add(QByteArrayView(content).sliced(at, std::min(piece, content.size() - at)));
        EXPECT_EQ(writer.checksum(), extendChecksum(0, content));
        ASSERT_TRUE(writer.write(index, table));
    }

    // Every number answers as the scan does, through the table when trusted.
    void expectScanAnswers(const QStringList& numbers, bool trusted) {
        for (const QString& n : numbers) {
            const QString scanned = text(scanIndex(index, n));
            EXPECT_EQ(text(lookupIndex(index, n)), scanned) << qPrintable(n);
            const auto found = lookupInTable(index, n);
            EXPECT_EQ(found.has_value(), trusted) << qPrintable(n);
            if (found) {
                EXPECT_EQ(text(*found), scanned) << qPrintable(n);
            }
        }
    }
};

// Lines of every kind the scan meets: several records of one number, numbers
// that are prefixes of others, the empty number, spaces in a record, lines
// that are no record, and a last line without its line end.
const QByteArray Mixed = "\"030123\",\"A\",1,0\r\n"
                         "\"0301234\",\"B\",2,-1\r\n"
                         "garbage without quotes\r\n"
                         "\"03012\"x,\"Q\",1,0\r\n"
                         "\"00493012\",\"C\",3,0\r\n"
                         "\r\n"
                         "\"030123\",\"D\",4,0\r\n"
                         "\"\",\"E\",5,0\r\n"
                         "\"030123\", \"F\" , 7 , -1 \r\n"
                         "\"0301234\",\"G\",2,0\n"
                         "\"030123\",\"A\",10,-1";
const QStringList MixedNumbers = {QStringLiteral("030123"),   QStringLiteral("0301234"),
                                  QStringLiteral("03012"),    QStringLiteral("00493012"),
                                  QString(),                  QStringLiteral("3012"),
                                  QStringLiteral("0301"),     QStringLiteral("030123 "),
                                  QStringLiteral("0171999"), QStringLiteral("garbage")};
} // namespace

TEST_F(IndexTable, AnswersAsTheScanInFileOrder) {
    build(Mixed);
    expectScanAnswers(MixedNumbers, true);
    EXPECT_EQ(text(*lookupInTable(index, QStringLiteral("030123"))),
              QStringLiteral("A/1/0 D/4/0 F/7/-1 A/10/-1 "));
    EXPECT_EQ(text(*lookupInTable(index, QStringLiteral("0301234"))),
              QStringLiteral("B/2/-1 G/2/0 "));
    EXPECT_TRUE(lookupInTable(index, QStringLiteral("0171999"))->isEmpty());

    // The same table whatever the pieces the bytes came in.
    const QByteArray whole = readFile(table);
    for (qsizetype piece : {1, 2, 7, 19}) {
        build(Mixed, piece);
        EXPECT_EQ(readFile(table).sliced(8 + SealSize), whole.sliced(8 + SealSize)) << piece;
    }
}

// Many records spread over many groups, one number on several contacts far
// apart, the builder's blocks cutting records.
TEST_F(IndexTable, LargeIndexSpreadOverGroups) {
    QByteArray content;
    for (int i = 0; i < 20000; ++i)
        content += indexRecord(i % 5000 == 7 ? QStringLiteral("0221999")
                                             : QStringLiteral("030%1").arg(i * 37),
                               QStringLiteral("00000000ABCDEF%1").arg(i), i % 12 + 1, i % 3 == 0);
    build(content, 4096 + 13);
    const quint32 groupBits = qFromLittleEndian<quint32>(readFile(table).constData() + 40);
    EXPECT_GE(groupBits, 10u);
    expectScanAnswers({QStringLiteral("0221999"), QStringLiteral("0300"), QStringLiteral("030370"),
                       QStringLiteral("030739963"), QStringLiteral("03073996"),
                       QStringLiteral("030739963 ")},
                      true);
    EXPECT_EQ(lookupInTable(index, QStringLiteral("0221999"))->size(), 4);
}

// The table's layout: header, the groups and the records, byte for byte
// with the modification time and the inode masked.
TEST_F(IndexTable, LayoutByteForByte) {
    build("\"030\",\"A\",1,0\r\n\"0221\",\"B\",2,-1\r\n");
    const QByteArray bytes = readFile(table);
    ASSERT_EQ(bytes.size(), 52 + 8 + 4 + 2 * 8);
    const auto le32 = [&](qsizetype at) { return qFromLittleEndian<quint32>(bytes.data() + at); };
    EXPECT_EQ(bytes.first(8), QByteArray("tlmidxt1"));
    const std::optional<IndexSeal> seal = sealOfIndex(index);
    ASSERT_TRUE(seal);
    EXPECT_EQ(bytes.sliced(8, SealSize), sealBytes(*seal));
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(index).constData(), &st), 0);
    EXPECT_EQ(qFromLittleEndian<quint64>(bytes.data() + 32), quint64(st.st_ino));
    EXPECT_EQ(le32(40), 0u); // one group
    EXPECT_EQ(le32(44), 2u); // two records
    EXPECT_EQ(le32(48), extendChecksum(0, bytes.first(48)));
    EXPECT_EQ(le32(52), 0u); // the group's first record
    EXPECT_EQ(le32(60), 2u); // the records' end
    EXPECT_EQ(le32(64), extendChecksum(0, "030"));
    EXPECT_EQ(le32(68), 0u);
    EXPECT_EQ(le32(72), extendChecksum(0, "0221"));
    EXPECT_EQ(le32(76), 15u);
    QByteArray groupFields(12, '\0');
    groupFields[8] = 2;
    EXPECT_EQ(le32(56), extendChecksum(extendChecksum(0, groupFields), bytes.sliced(64)));
}

TEST_F(IndexTable, TableNotFittingItsIndexIsNotUsed) {
    build(Mixed);
    const QByteArray good = readFile(table);

    // Missing.
    QFile::remove(table);
    expectScanAnswers(MixedNumbers, false);

    // Cut anywhere, or grown.
    for (qsizetype size : {qsizetype(0), qsizetype(7), qsizetype(51), qsizetype(52),
                           good.size() - 8, good.size() - 1}) {
        writeFile(table, good.first(size));
        expectScanAnswers({QStringLiteral("030123")}, false);
    }
    writeFile(table, QByteArray(good + '\0'));
    expectScanAnswers({QStringLiteral("030123")}, false);

    // Foreign: some other file, or the table of another index.
    writeFile(table, Mixed);
    expectScanAnswers(MixedNumbers, false);
    const QString other = env.workFolder() + QStringLiteral("tlm20261204.idx");
    writeFile(other, Mixed);
    {
        IndexTableWriter writer;
        writer.add(Mixed);
        ASSERT_TRUE(writer.write(other, table));
    }
    expectScanAnswers(MixedNumbers, false);

    // Stale: the index rewritten after the table was made, in place with
    // another time, or replaced by a file of the same bytes.
    writeFile(table, good);
    expectScanAnswers(MixedNumbers, true);
    QByteArray changed = Mixed;
    changed.replace("\"030123\",\"D\"", "\"030999\",\"D\"");
    writeFile(index, changed);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(index).constData(), &st), 0);
    const timespec later[2] = {{0, UTIME_OMIT}, {st.st_mtim.tv_sec + 1, st.st_mtim.tv_nsec}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(index).constData(), later, 0), 0);
    expectScanAnswers(MixedNumbers + QStringList{QStringLiteral("030999")}, false);
    // Replaced as a build replaces it (renamed over, so another inode),
    // possibly within one tick of the file system's clock.
    writeFile(index + QStringLiteral(".new"), Mixed);
    ASSERT_EQ(::rename(QFile::encodeName(index + QStringLiteral(".new")).constData(),
                       QFile::encodeName(index).constData()),
              0);
    expectScanAnswers(MixedNumbers, false);
}

// Every single byte of the table garbled: the answer stays the scan's,
// whether the damage is seen (the scan answers) or harmless.
TEST_F(IndexTable, GarbledTableNeverChangesTheAnswer) {
    build(Mixed);
    const QByteArray good = readFile(table);
    const QStringList numbers = {QStringLiteral("030123"), QStringLiteral("0301234"),
                                 QString(), QStringLiteral("0171999")};
    for (qsizetype at = 0; at < good.size(); ++at) {
        for (const char flip : {char(0x01), char(0x80), char(0xFF)}) {
            QByteArray bad = good;
            bad[at] = char(bad[at] ^ flip);
            writeFile(table, bad);
            for (const QString& n : numbers)
                EXPECT_EQ(text(lookupIndex(index, n)), text(scanIndex(index, n)))
                    << "byte " << at << " number " << qPrintable(n);
        }
    }
}

// A number with a quote may match lines that hold no number the table knows:
// only the scan answers for it.
TEST_F(IndexTable, NumbersWithAQuoteAreLeftToTheScan) {
    build("\"12\"3\",\"X\",1,0\r\n\"12\",\"Y\",1,0\r\n\"12\",\"Z\",2,0\r\n");
    EXPECT_FALSE(lookupInTable(index, QStringLiteral("12\"3")));
    EXPECT_EQ(text(lookupIndex(index, QStringLiteral("12\"3"))), QStringLiteral("X/1/0 "));
    EXPECT_FALSE(lookupInTable(index, QStringLiteral("12\",\"Y")));
    EXPECT_EQ(text(lookupIndex(index, QStringLiteral("12\",\"Y"))), QStringLiteral("Y/1/0 "));
    EXPECT_EQ(text(*lookupInTable(index, QStringLiteral("12"))), QStringLiteral("Y/1/0 Z/2/0 "));
}

TEST_F(IndexTable, NoTableForAnIndexThatIsNotTheBytesGiven) {
    writeFile(index, Mixed + "more");
    IndexTableWriter writer;
    writer.add(Mixed);
    EXPECT_FALSE(writer.write(index, table));
    EXPECT_FALSE(writer.write(env.workFolder() + QStringLiteral("missing.idx"), table));
}
