// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The lookup table beside the index file: where in the index the lines of
// each number stand, so that a lookup reads a few hundred bytes instead of
// the whole index. The table is made while the index is written and carries
// the index's seal; a table that is missing, cut, foreign, garbled or made
// for another index is not used, and the lookup scans the index instead.
// Either way the lookup gives the same records in the same order.
#include "numbers/indexfile.h"

#include <QByteArrayView>
#include <QList>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace tlm {

// Collects the table while the index is written.
class IndexTableWriter {
public:
    // The index's bytes, in the order they are written to it.
    void add(QByteArrayView bytes);
    // The CRC-32C of all bytes added.
    quint32 checksum() const { return m_checksum; }
    // Writes the table of the index at indexPath, which must now hold
    // exactly the bytes added, to tablePath; false when that fails or the
    // index is too large for a table (4 GiB and more).
    bool write(const QString& indexPath, const QString& tablePath);

private:
    struct Record { // also the bytes of a record in the table
        quint32 hash;
        quint32 offset;
    };
    static_assert(sizeof(Record) == 8);
    // The records by the top bits of their group, each part in index order.
    static constexpr quint32 PartBits = 8;
    static constexpr quint32 Parts = 1 << PartBits;

    void addLine(QByteArrayView line, qint64 offset);
    bool writeGroups(int fd, quint32 groupBits, QByteArray& head);

    std::array<std::vector<Record>, Parts> m_parts;
    size_t m_records = 0;
    QByteArray m_partial;          // the start of the unfinished last line
    qint64 m_size = 0;
    qint64 m_lineStart = 0;
    quint32 m_checksum = 0;
    bool m_tooLarge = false;
};

// The records of number in the index, in file order, found through the
// table beside it; nothing when there is no table to trust.
std::optional<QList<IndexMatch>> lookupInTable(const QString& indexPath, const QString& number);

// The records of number in the index, in file order: through the table when
// it can be trusted, otherwise by scanning the index (scanIndex).
QList<IndexMatch> lookupIndex(const QString& indexPath, const QString& number);

} // namespace tlm
