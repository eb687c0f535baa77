// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/peversion.h"
#include "tests/support/testenv.h"

#include <QFile>
#include <QRandomGenerator>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace tlm {
namespace {

struct Versions {
    quint32 fileMS, fileLS, productMS, productLS;
};

void put16(QByteArray& b, qsizetype at, quint16 v) {
    b[at] = char(v & 0xFF);
    b[at + 1] = char(v >> 8);
}
void put32(QByteArray& b, qsizetype at, quint32 v) {
    put16(b, at, quint16(v & 0xFFFF));
    put16(b, at + 2, quint16(v >> 16));
}

// A minimal PE image: a code section, then a resource section holding one
// RT_VERSION resource (name 1, language 0x409) with a bare VS_VERSIONINFO.
QByteArray makePe(bool pe32plus, const Versions& v, quint32 resourceType = 16) {
    constexpr qsizetype peAt = 0x80, rsrcFile = 0x400;
    constexpr quint32 rsrcRva = 0x2000;
    const quint16 optionalSize = (pe32plus ? 112 : 96) + 16 * 8;
    QByteArray b(rsrcFile + 0x60 + 92, '\0');
    b[0] = 'M';
    b[1] = 'Z';
    put32(b, 0x3C, peAt);
    b.replace(peAt, 4, QByteArray("PE\0\0", 4));
    const qsizetype coff = peAt + 4, optional = coff + 20;
    put16(b, coff, pe32plus ? 0x8664 : 0x14C);
    put16(b, coff + 2, 2);
    put16(b, coff + 16, optionalSize);
    put16(b, optional, pe32plus ? 0x20B : 0x10B);
    const qsizetype dirs = optional + (pe32plus ? 112 : 96);
    put32(b, dirs - 4, 16);
    put32(b, dirs + 16, rsrcRva);
    put32(b, dirs + 20, 0x60 + 92);
    const qsizetype table = optional + optionalSize;
    // virtual size, virtual address, raw size, raw file offset
    const quint32 sections[2][4] = {{0x200, 0x1000, 0x200, 0x200},
                                    {0x60 + 92, rsrcRva, 0x60 + 92, rsrcFile}};
    for (int s = 0; s < 2; ++s)
        for (int f = 0; f < 4; ++f)
            put32(b, table + 40 * s + 8 + 4 * f, sections[s][f]);
    const qsizetype r = rsrcFile;
    put16(b, r + 14, 2); // root: a decoy RT_ICON, then the wanted type
    put32(b, r + 16, 3);
    put32(b, r + 20, 0x80000000u | 0x20);
    put32(b, r + 24, resourceType);
    put32(b, r + 28, 0x80000000u | 0x20);
    put16(b, r + 0x20 + 14, 1); // names
    put32(b, r + 0x30, 1);
    put32(b, r + 0x34, 0x80000000u | 0x38);
    put16(b, r + 0x38 + 14, 1); // languages
    put32(b, r + 0x48, 0x409);
    put32(b, r + 0x4C, 0x50);
    put32(b, r + 0x50, rsrcRva + 0x60); // data entry
    put32(b, r + 0x54, 92);
    const qsizetype vs = r + 0x60;
    put16(b, vs, 92);
    put16(b, vs + 2, 52);
    const QString key = u"VS_VERSION_INFO"_s;
    for (qsizetype i = 0; i < key.size(); ++i)
        put16(b, vs + 6 + 2 * i, key[i].unicode());
    const quint32 fixed[] = {0xFEEF04BD, 0x10000, v.fileMS, v.fileLS, v.productMS, v.productLS};
    for (int i = 0; i < 6; ++i)
        put32(b, vs + 40 + 4 * i, fixed[i]);
    return b;
}

class PeVersion : public ::testing::Test {
protected:
    QString fileWith(const QByteArray& bytes) {
        const QString path = env.root() + u"test.exe"_s;
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path;
    }
    test::TestEnv env;
};

TEST_F(PeVersion, ReadsFileAndProductVersionOfPe32AndPe32Plus) {
    const QString pe32 = fileWith(makePe(false, {0x00010002, 0x00030004, 0x00050006, 0x00070008}));
    EXPECT_EQ(fncFileVersion(pe32, true), u"1.2.3.4"_s);
    EXPECT_EQ(fncFileVersion(pe32, false), u"5.6.7.8"_s);
    const QString pe64 = fileWith(makePe(true, {0x00100000, 0x42E651A4, 0x00100000, 0x42E60000}));
    EXPECT_EQ(fncFileVersion(pe64, true), u"16.0.17126.20900"_s);
    EXPECT_EQ(fncFileVersion(pe64, false), u"16.0.17126.0"_s);
}

TEST_F(PeVersion, MalformedFilesGiveEmptyText) {
    const Versions v{0x00010002, 0x00030004, 0x00050006, 0x00070008};
    const QByteArray good = makePe(false, v);
    EXPECT_EQ(fncFileVersion(env.root() + u"missing.exe"_s, true), QString());
    EXPECT_EQ(fncFileVersion(fileWith(makePe(false, v, 17)), true), QString());
    const QString truncated = fileWith(good);
    for (qsizetype size = good.size() - 1; size >= 0; --size) {
        ASSERT_TRUE(QFile::resize(truncated, size));
        ASSERT_EQ(fncFileVersion(truncated, true), QString()) << size;
    }
    const auto corrupted = [&](qsizetype at, quint32 value) {
        QByteArray b = good;
        put32(b, at, value);
        return fncFileVersion(fileWith(b), true);
    };
    EXPECT_EQ(corrupted(0x3C, 0xFFFFFFF0), QString());              // e_lfanew
    EXPECT_EQ(corrupted(0x400 + 0x34, 0xFFFFFFFF), QString());      // subdirectory offset
    EXPECT_EQ(corrupted(0x400 + 0x50, 0x7FFFFFFF), QString());      // data RVA
    EXPECT_EQ(corrupted(0x400 + 0x54, 0xFFFFFFFF), QString());      // data size
    EXPECT_EQ(corrupted(0x400 + 0x60 + 40, 0xFEEF04BE), QString()); // signature
    QByteArray garbage(4096, '\0');
    QRandomGenerator random(7);
    for (int round = 0; round < 20; ++round) {
        random.fillRange(reinterpret_cast<quint32*>(garbage.data()), garbage.size() / 4);
        garbage[0] = 'M';
        garbage[1] = 'Z';
        put32(garbage, 0x3C, 0x80);
        garbage.replace(0x80, 4, QByteArray("PE\0\0", 4));
        EXPECT_EQ(fncFileVersion(fileWith(garbage), true), QString());
    }
}

} // namespace
} // namespace tlm
