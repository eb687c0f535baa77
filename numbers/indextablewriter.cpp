// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/indextable.h"
#include "numbers/indextableformat.h"
#include "platform/fileio.h"

#include <QtEndian>
#include <algorithm>
#include <cstring>
#include <fcntl.h>
#include <limits>
#include <sys/stat.h>
#include <unistd.h>

namespace tlm {
namespace {
using namespace indextable;

// About this many records share a group: one read of a few hundred bytes.
constexpr quint32 RecordsPerGroup = 8;
constexpr qint64 MaxOffset = std::numeric_limits<quint32>::max();

quint32 groupBitsFor(size_t records) {
    quint32 bits = 0;
    while (bits < MaxGroupBits && (size_t(1) << bits) * RecordsPerGroup < records)
        ++bits;
    return bits;
}

} // namespace

void IndexTableWriter::add(QByteArrayView bytes) {
    m_checksum = extendChecksum(m_checksum, bytes);
    const char* data = bytes.data();
    qsizetype pos = 0;
    while (pos < bytes.size()) {
        const auto* end =
            static_cast<const char*>(std::memchr(data + pos, '\n', size_t(bytes.size() - pos)));
        if (!end) {
            m_partial += bytes.sliced(pos);
            break;
        }
        const qsizetype lineEnd = end - data;
        if (m_partial.isEmpty()) {
            addLine(bytes.sliced(pos, lineEnd - pos), m_lineStart);
        } else {
            m_partial += bytes.sliced(pos, lineEnd - pos);
            addLine(m_partial, m_lineStart);
            m_partial.clear();
        }
        pos = lineEnd + 1;
        m_lineStart = m_size + pos;
    }
    m_size += bytes.size();
}

void IndexTableWriter::addLine(QByteArrayView line, qint64 offset) {
    const std::optional<QByteArrayView> key = lineKey(line);
    if (!key)
        return;
    if (offset > MaxOffset) {
        m_tooLarge = true;
        return;
    }
    const quint32 hash = keyHash(*key);
    m_parts[groupOf(hash, PartBits)].push_back({hash, quint32(offset)});
    ++m_records;
}

bool IndexTableWriter::write(const QString& indexPath, const QString& tablePath) {
    if (!m_partial.isEmpty()) { // the last line, without its line end
        addLine(m_partial, m_lineStart);
        m_partial.clear();
    }
    if (m_tooLarge || m_records > std::numeric_limits<quint32>::max())
        return false;

    Header header;
    {
        const int fd = fileio::open(indexPath, O_RDONLY);
        if (fd < 0)
            return false;
        struct stat st {};
        const bool ok = ::fstat(fd, &st) == 0 && st.st_size == m_size;
        ::close(fd);
        if (!ok)
            return false;
        header.seal = {qint64(st.st_size), modifiedNs(st), m_checksum};
        header.inode = quint64(st.st_ino);
    }
    header.records = quint32(m_records);
    header.groupBits = groupBitsFor(m_records);

    const int fd = fileio::open(tablePath, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0)
        return false;
    QByteArray head = headerBytes(header);
    head.resize(recordsOffset(header));
    const bool ok = ::lseek(fd, recordsOffset(header), SEEK_SET) >= 0 &&
                    writeGroups(fd, header.groupBits, head) && ::lseek(fd, 0, SEEK_SET) == 0 &&
                    fileio::writeFully(fd, head);
    return ::close(fd) == 0 && ok;
}

// Writes the records by group, in index order within each, and fills in
// the group entries of head. Each part holds whole groups when there are at
// least as many groups as parts, so the parts are put in order one by one
// (a counting sort of a part is small enough for the cache); fewer records
// are sorted at once.
bool IndexTableWriter::writeGroups(int fd, quint32 groupBits, QByteArray& head) {
    const quint32 groups = quint32(1) << groupBits;
    std::vector<quint32> firsts(size_t(groups) + 1, 0);
    for (const std::vector<Record>& part : m_parts)
        for (const Record& r : part)
            ++firsts[groupOf(r.hash, groupBits) + 1];
    for (quint32 g = 0; g < groups; ++g)
        firsts[g + 1] += firsts[g];
    auto* entries = reinterpret_cast<uchar*>(head.data()) + HeaderSize;
    qToLittleEndian<quint32>(quint32(m_records), entries + qsizetype(groups) * GroupEntrySize);

    std::vector<Record> sorted;
    // Writes sorted, the records of groups [first, end), with their entries.
    const auto writeSorted = [&](quint32 first, quint32 end) {
        for (Record& r : sorted) { // as they are written
            r.hash = qToLittleEndian(r.hash);
            r.offset = qToLittleEndian(r.offset);
        }
        const auto* bytes = reinterpret_cast<const char*>(sorted.data());
        for (quint32 g = first; g < end; ++g) {
            const QByteArrayView slice(bytes + qsizetype(firsts[g] - firsts[first]) * RecordSize,
                                       qsizetype(firsts[g + 1] - firsts[g]) * RecordSize);
            uchar* entry = entries + qsizetype(g) * GroupEntrySize;
            qToLittleEndian<quint32>(firsts[g], entry);
            qToLittleEndian<quint32>(groupCheck(g, firsts[g], firsts[g + 1], slice), entry + 4);
        }
        return fileio::writeFully(fd, QByteArrayView(bytes, qsizetype(sorted.size()) * RecordSize));
    };

    if (groupBits < PartBits) {
        for (std::vector<Record>& part : m_parts) {
            sorted.insert(sorted.end(), part.begin(), part.end());
            std::vector<Record>().swap(part);
        }
        std::sort(sorted.begin(), sorted.end(), [&](const Record& a, const Record& b) {
            const quint32 ga = groupOf(a.hash, groupBits), gb = groupOf(b.hash, groupBits);
            return ga != gb ? ga < gb : a.offset < b.offset;
        });
        return writeSorted(0, groups);
    }
    const quint32 perPart = groups >> PartBits;
    for (quint32 p = 0; p < Parts; ++p) {
        std::vector<Record>& part = m_parts[p];
        const quint32 first = p * perPart;
        std::vector<quint32> next(firsts.begin() + first, firsts.begin() + first + perPart);
        sorted.resize(part.size());
        for (const Record& r : part)
            sorted[next[groupOf(r.hash, groupBits) - first]++ - firsts[first]] = r;
        std::vector<Record>().swap(part);
        if (!writeSorted(first, first + perPart))
            return false;
    }
    return true;
}

} // namespace tlm
