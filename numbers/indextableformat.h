// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The byte layout of the lookup table beside the index, shared by its writer
// and its reader. All numbers are little-endian.
//
//   header   magic "tlmidxt1", the index's seal, the index's inode (8 bytes),
//            the group bits b (4), the record count n (4), the header's check
//            (4): 52 bytes
//   groups   2^b entries of (first record, check of the group) and the
//            record count n once more: 8 * 2^b + 4 bytes
//   records  n entries of (hash of the number, offset of its line in the
//            index), by group, in index order within a group: 8 * n bytes
//
// A record stands for each line of the index that begins with a quoted
// number followed by a comma; its hash is the CRC-32C of the number's bytes
// and its group the hash's top b bits after a multiplicative mix. The checks
// are CRC-32C of what they cover, so that a check appended to its bytes
// gives the CRC's residue: the header's covers the header before it, a
// group's covers its number, its first and end record and its records.
#include "numbers/indexseal.h"

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace tlm::indextable {

inline constexpr QByteArrayView Magic = "tlmidxt1";
inline constexpr qsizetype HeaderSize = 8 + SealSize + 8 + 4 + 4 + 4;
inline constexpr qsizetype GroupEntrySize = 8;
inline constexpr qsizetype RecordSize = 8;
inline constexpr quint32 MaxGroupBits = 28;

struct Header {
    IndexSeal seal;
    quint64 inode = 0;
    quint32 groupBits = 0;
    quint32 records = 0;
};

QByteArray headerBytes(const Header& header);
// The header in the table's first bytes; nothing when they are no header.
std::optional<Header> headerFrom(QByteArrayView bytes);
// The size of a table with this header.
qint64 tableSize(const Header& header);
qint64 recordsOffset(const Header& header);

// The key of a number in an index line, and the group of a key.
quint32 keyHash(QByteArrayView key);
quint32 groupOf(quint32 hash, quint32 groupBits);

// The number in a line of the index: the bytes between its leading quote
// and the next quote when a comma follows that; nothing for other lines.
std::optional<QByteArrayView> lineKey(QByteArrayView line);

// The check of a group: covers its number, its first and end record and its
// records' bytes.
quint32 groupCheck(quint32 group, quint32 first, quint32 end, QByteArrayView records);
// Whether check, appended to the bytes whose running CRC is crc, completes
// them to the CRC's residue, that is: whether check is their CRC.
bool checkCompletes(quint32 crc, quint32 check);

} // namespace tlm::indextable
