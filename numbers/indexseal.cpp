// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/indexseal.h"

#include "platform/fileio.h"

#include <QFile>
#include <QtEndian>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#if defined(__x86_64__) || defined(__i386__)
#include <nmmintrin.h>
#define TLM_CRC_SSE42 1
#endif

namespace tlm {
namespace {
constexpr quint32 Castagnoli = 0x82F63B78; // reflected polynomial of CRC-32C
constexpr qsizetype ReadBlock = 256 * 1024;

// Eight tables for the byte-wise CRC that works on eight bytes at a time.
using CrcTables = std::array<std::array<quint32, 256>, 8>;
constexpr CrcTables makeTables() {
    CrcTables t{};
    for (quint32 i = 0; i < 256; ++i) {
        quint32 c = i;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? (c >> 1) ^ Castagnoli : c >> 1;
        t[0][i] = c;
    }
    for (quint32 i = 0; i < 256; ++i)
        for (size_t k = 1; k < 8; ++k)
            t[k][i] = (t[k - 1][i] >> 8) ^ t[0][t[k - 1][i] & 0xFF];
    return t;
}
constexpr CrcTables Tables = makeTables();

// Both work on the inverted register of the running CRC.
quint32 crcTables(quint32 c, const uchar* p, size_t n) {
    for (; n >= 8; n -= 8, p += 8) {
        const quint32 lo = c ^ qFromLittleEndian<quint32>(p);
        const quint32 hi = qFromLittleEndian<quint32>(p + 4);
        c = Tables[7][lo & 0xFF] ^ Tables[6][(lo >> 8) & 0xFF] ^ Tables[5][(lo >> 16) & 0xFF] ^
            Tables[4][lo >> 24] ^ Tables[3][hi & 0xFF] ^ Tables[2][(hi >> 8) & 0xFF] ^
            Tables[1][(hi >> 16) & 0xFF] ^ Tables[0][hi >> 24];
    }
    for (; n > 0; --n, ++p)
        c = (c >> 8) ^ Tables[0][(c ^ *p) & 0xFF];
    return c;
}

#ifdef TLM_CRC_SSE42
__attribute__((target("sse4.2"))) quint32 crcInstruction(quint32 c, const uchar* p, size_t n) {
#ifdef __x86_64__
    quint64 c64 = c;
    for (; n >= 8; n -= 8, p += 8) {
        quint64 word;
        std::memcpy(&word, p, 8);
        c64 = _mm_crc32_u64(c64, word);
    }
    c = static_cast<quint32>(c64);
#endif
    for (; n > 0; --n, ++p)
        c = _mm_crc32_u8(c, *p);
    return c;
}

bool hasCrcInstruction() {
    static const bool has = __builtin_cpu_supports("sse4.2");
    return has;
}
#endif

constexpr qsizetype SealFields = 20; // the bytes before the seal's own check
} // namespace

qint64 modifiedNs(const struct stat& status) {
    return qint64(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec;
}

quint32 extendChecksum(quint32 checksum, QByteArrayView bytes) {
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    const auto n = size_t(bytes.size());
#ifdef TLM_CRC_SSE42
    if (hasCrcInstruction())
        return ~crcInstruction(~checksum, p, n);
#endif
    return ~crcTables(~checksum, p, n);
}

std::optional<IndexSeal> sealOfIndex(const QString& indexPath, quint32 checksum) {
    struct stat st {};
    if (::stat(QFile::encodeName(indexPath).constData(), &st) != 0)
        return std::nullopt;
    return IndexSeal{qint64(st.st_size), modifiedNs(st), checksum};
}

std::optional<IndexSeal> sealOfIndex(const QString& indexPath) {
    const int fd = fileio::open(indexPath, O_RDONLY);
    if (fd < 0)
        return std::nullopt;
    struct stat st {};
    std::optional<IndexSeal> seal;
    if (::fstat(fd, &st) == 0) {
        seal = IndexSeal{qint64(st.st_size), modifiedNs(st), 0};
        QByteArray block(ReadBlock, Qt::Uninitialized);
        qint64 total = 0;
        for (;;) {
            const ssize_t got = ::read(fd, block.data(), size_t(block.size()));
            if (got < 0 && errno == EINTR)
                continue;
            if (got < 0) {
                seal.reset();
                break;
            }
            if (got == 0)
                break;
            seal->checksum = extendChecksum(seal->checksum, QByteArrayView(block.constData(), got));
            total += got;
        }
        if (seal && total != seal->size)
            seal.reset(); // changed while it was read
    }
    ::close(fd);
    return seal;
}

QByteArray sealBytes(const IndexSeal& seal) {
    QByteArray bytes(SealSize, Qt::Uninitialized);
    auto* p = reinterpret_cast<uchar*>(bytes.data());
    qToLittleEndian<qint64>(seal.size, p);
    qToLittleEndian<qint64>(seal.modifiedNs, p + 8);
    qToLittleEndian<quint32>(seal.checksum, p + 16);
    qToLittleEndian<quint32>(extendChecksum(0, QByteArrayView(bytes.constData(), SealFields)),
                             p + SealFields);
    return bytes;
}

std::optional<IndexSeal> sealFromBytes(QByteArrayView bytes) {
    if (bytes.size() != SealSize)
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    if (qFromLittleEndian<quint32>(p + SealFields) != extendChecksum(0, bytes.first(SealFields)))
        return std::nullopt;
    IndexSeal seal{qFromLittleEndian<qint64>(p), qFromLittleEndian<qint64>(p + 8),
                   qFromLittleEndian<quint32>(p + 16)};
    if (seal.size < 0)
        return std::nullopt;
    return seal;
}

bool sealHolds(const struct stat& status, const IndexSeal& seal) {
    return S_ISREG(status.st_mode) && qint64(status.st_size) == seal.size &&
           modifiedNs(status) == seal.modifiedNs;
}

bool sealHolds(const QString& indexPath, const IndexSeal& seal) {
    struct stat st {};
    if (::stat(QFile::encodeName(indexPath).constData(), &st) != 0)
        return false;
    return sealHolds(st, seal);
}

} // namespace tlm
