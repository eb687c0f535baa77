// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
// The seal of an index file: its checksum, its bytes and its cheap check.
#include "numbers/indexseal.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

using namespace tlm;

namespace {
QString writeFile(const QString& path, const QByteArray& content) {
    QFile f(path);
    f.open(QIODevice::WriteOnly);
    f.write(content);
    return path;
}

// Sets the file's modification time to the given nanoseconds.
void setModified(const QString& path, qint64 ns) {
    const timespec times[2] = {{0, UTIME_OMIT}, {time_t(ns / 1000000000), long(ns % 1000000000)}};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(path).constData(), times, 0), 0);
}
} // namespace

TEST(IndexSeal, ChecksumIsCrc32c) {
    // The check value of CRC-32C, and the same whether fed whole or in pieces
    // of every length (the eight-byte steps and the single bytes).
    EXPECT_EQ(extendChecksum(0, "123456789"), 0xE3069283u);
    EXPECT_EQ(extendChecksum(0, QByteArrayView()), 0u);
    QByteArray data;
    for (int i = 0; i < 1000; ++i)
        data += char(i * 7 + i / 13);
    const quint32 whole = extendChecksum(0, data);
    for (qsizetype cut : {1, 7, 8, 9, 500, 999}) {
        const quint32 pieces = extendChecksum(extendChecksum(0, data.first(cut)), data.sliced(cut));
        EXPECT_EQ(pieces, whole) << cut;
    }
}

TEST(IndexSeal, SealOfIndexAndItsCheck) {
    test::TestEnv env;
    const QString path = writeFile(env.workFolder() + QStringLiteral("tlm20261205.idx"),
                                   "\"030123\",\"A\",1,0\r\n");
    setModified(path, 1765000000123456789);
    const std::optional<IndexSeal> seal = sealOfIndex(path);
    ASSERT_TRUE(seal);
    EXPECT_EQ(seal->size, 18);
    EXPECT_EQ(seal->modifiedNs, 1765000000123456789);
    EXPECT_EQ(seal->checksum, extendChecksum(0, "\"030123\",\"A\",1,0\r\n"));
    EXPECT_TRUE(sealHolds(path, *seal));

    // Rewritten with the same size: the time tells; touched back to the
    // sealed time, the cheap check cannot tell, the checksum can.
    writeFile(path, "\"030124\",\"A\",1,0\r\n");
    setModified(path, 1765000000123456790);
    EXPECT_FALSE(sealHolds(path, *seal));
    setModified(path, 1765000000123456789);
    EXPECT_TRUE(sealHolds(path, *seal));
    EXPECT_NE(sealOfIndex(path)->checksum, seal->checksum);

    writeFile(path, "\"030124\",\"A\",1,0\r\n\r\n"); // grown
    setModified(path, 1765000000123456789);
    EXPECT_FALSE(sealHolds(path, *seal));
    QFile::remove(path);
    EXPECT_FALSE(sealHolds(path, *seal));
    EXPECT_FALSE(sealOfIndex(path));
}

TEST(IndexSeal, BytesRoundTripAndRefuseOthers) {
    const IndexSeal seal{0x0102030405060708, 1765000000123456789, 0xA1B2C3D4};
    const QByteArray bytes = sealBytes(seal);
    ASSERT_EQ(bytes.size(), SealSize);
    EXPECT_EQ(bytes.first(8).toHex(), QByteArray("0807060504030201"));
    EXPECT_EQ(bytes.sliced(8, 8).toHex(), QByteArray("154dec13268a7e18"));
    EXPECT_EQ(bytes.sliced(16, 4).toHex(), QByteArray("d4c3b2a1"));
    EXPECT_EQ(sealFromBytes(bytes), seal);

    EXPECT_FALSE(sealFromBytes(bytes.first(SealSize - 1)));
    EXPECT_FALSE(sealFromBytes(QByteArray(bytes + '\0')));
    EXPECT_FALSE(sealFromBytes(QByteArray(SealSize, '\0')));
    for (qsizetype i = 0; i < SealSize; ++i) {
        QByteArray flipped = bytes;
        flipped[i] = char(flipped[i] ^ 0x10);
        EXPECT_FALSE(sealFromBytes(flipped)) << i;
    }
    EXPECT_FALSE(sealFromBytes(sealBytes({-1, 0, 0}))); // no file has a negative size
}
