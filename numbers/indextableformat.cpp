// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/indextableformat.h"

#include <QtEndian>
#include <array>

namespace tlm::indextable {
namespace {
constexpr qsizetype CheckedHeader = HeaderSize - 4;

quint32 crcOfCheck(quint32 crc, quint32 check) {
    std::array<uchar, 4> bytes{};
    qToLittleEndian<quint32>(check, bytes.data());
    return extendChecksum(crc, QByteArrayView(bytes.data(), 4));
}

quint32 groupFieldsCrc(quint32 group, quint32 first, quint32 end) {
    std::array<uchar, 12> fields{};
    qToLittleEndian<quint32>(group, fields.data());
    qToLittleEndian<quint32>(first, fields.data() + 4);
    qToLittleEndian<quint32>(end, fields.data() + 8);
    return extendChecksum(0, QByteArrayView(fields.data(), 12));
}
} // namespace

QByteArray headerBytes(const Header& header) {
    QByteArray bytes(Magic.data(), Magic.size());
    bytes += sealBytes(header.seal);
    bytes.resize(HeaderSize);
    auto* p = reinterpret_cast<uchar*>(bytes.data()) + 8 + SealSize;
    qToLittleEndian<quint64>(header.inode, p);
    qToLittleEndian<quint32>(header.groupBits, p + 8);
    qToLittleEndian<quint32>(header.records, p + 12);
    qToLittleEndian<quint32>(extendChecksum(0, bytes.first(CheckedHeader)), p + 16);
    return bytes;
}

std::optional<Header> headerFrom(QByteArrayView bytes) {
    if (bytes.size() < HeaderSize || !bytes.startsWith(Magic))
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(bytes.data());
    if (!checkCompletes(extendChecksum(0, bytes.first(CheckedHeader)),
                        qFromLittleEndian<quint32>(p + CheckedHeader)))
        return std::nullopt;
    const std::optional<IndexSeal> seal = sealFromBytes(bytes.sliced(8, SealSize));
    if (!seal)
        return std::nullopt;
    p += 8 + SealSize;
    Header h{*seal, qFromLittleEndian<quint64>(p), qFromLittleEndian<quint32>(p + 8),
             qFromLittleEndian<quint32>(p + 12)};
    if (h.groupBits > MaxGroupBits)
        return std::nullopt;
    return h;
}

qint64 recordsOffset(const Header& header) {
    return HeaderSize + GroupEntrySize * (qint64(1) << header.groupBits) + 4;
}

qint64 tableSize(const Header& header) {
    return recordsOffset(header) + RecordSize * qint64(header.records);
}

quint32 keyHash(QByteArrayView key) {
    return extendChecksum(0, key);
}

quint32 groupOf(quint32 hash, quint32 groupBits) {
    // The top bits of a multiplicative mix: numbers that differ in their
    // last digits spread over all groups.
    const quint32 mixed = hash * 0x9E3779B1u;
    return groupBits == 0 ? 0 : mixed >> (32 - groupBits);
}

std::optional<QByteArrayView> lineKey(QByteArrayView line) {
    if (line.isEmpty() || line.front() != '"')
        return std::nullopt;
    const qsizetype close = line.indexOf('"', 1);
    if (close < 0 || close + 1 >= line.size() || line[close + 1] != ',')
        return std::nullopt;
    return line.sliced(1, close - 1);
}

quint32 groupCheck(quint32 group, quint32 first, quint32 end, QByteArrayView records) {
    return extendChecksum(groupFieldsCrc(group, first, end), records);
}

bool checkCompletes(quint32 crc, quint32 check) {
    // A CRC-32C followed by its own bytes always gives this residue.
    static const quint32 residue = crcOfCheck(0, 0);
    return crcOfCheck(crc, check) == residue;
}

} // namespace tlm::indextable
