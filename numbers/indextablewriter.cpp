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

bool writeAndClose(int fd, QByteArrayView a, QByteArrayView b) {
    const bool ok = fileio::writeFully(fd, a) && fileio::writeFully(fd, b);
    return ::close(fd) == 0 && ok;
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
    m_records.push_back({keyHash(*key), quint32(offset)});
}

bool IndexTableWriter::write(const QString& indexPath, const QString& tablePath) {
    if (!m_partial.isEmpty()) { // the last line, without its line end
        addLine(m_partial, m_lineStart);
        m_partial.clear();
    }
    if (m_tooLarge || m_records.size() > std::numeric_limits<quint32>::max())
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
    header.records = quint32(m_records.size());
    header.groupBits = groupBitsFor(m_records.size());

    const quint32 groups = quint32(1) << header.groupBits;
    std::vector<quint32> firsts(size_t(groups) + 1, 0);
    for (const Record& r : m_records)
        ++firsts[groupOf(r.hash, header.groupBits) + 1];
    for (quint32 g = 0; g < groups; ++g)
        firsts[g + 1] += firsts[g];
    sortByGroup(firsts, header.groupBits);
    for (Record& r : m_records) { // as they are written
        r.hash = qToLittleEndian(r.hash);
        r.offset = qToLittleEndian(r.offset);
    }
    const QByteArrayView records(reinterpret_cast<const char*>(m_records.data()),
                                 qsizetype(m_records.size()) * RecordSize);

    QByteArray head = headerBytes(header);
    head.resize(recordsOffset(header));
    auto* entry = reinterpret_cast<uchar*>(head.data()) + HeaderSize;
    for (quint32 g = 0; g < groups; ++g, entry += GroupEntrySize) {
        const QByteArrayView slice(records.constData() + qsizetype(firsts[g]) * RecordSize,
                                   qsizetype(firsts[g + 1] - firsts[g]) * RecordSize);
        qToLittleEndian<quint32>(firsts[g], entry);
        qToLittleEndian<quint32>(groupCheck(g, firsts[g], firsts[g + 1], slice), entry + 4);
    }
    qToLittleEndian<quint32>(header.records, entry);

    const int fd = fileio::open(tablePath, O_WRONLY | O_CREAT | O_TRUNC);
    const bool written = fd >= 0 && writeAndClose(fd, head, records);
    std::vector<Record>().swap(m_records);
    return written;
}

// The records in group order, moved in place (an American flag sort, so that
// the records are held once), then each group in index order.
void IndexTableWriter::sortByGroup(const std::vector<quint32>& firsts, quint32 groupBits) {
    const size_t groups = firsts.size() - 1;
    std::vector<quint32> next(firsts.begin(), firsts.end() - 1);
    for (size_t g = 0; g < groups; ++g) {
        while (next[g] < firsts[g + 1]) {
            Record r = m_records[next[g]];
            for (quint32 home = groupOf(r.hash, groupBits); home != g;
                 home = groupOf(r.hash, groupBits))
                std::swap(r, m_records[next[home]++]);
            m_records[next[g]++] = r;
        }
    }
    for (size_t g = 0; g < groups; ++g)
        std::sort(m_records.begin() + firsts[g], m_records.begin() + firsts[g + 1],
                  [](const Record& a, const Record& b) { return a.offset < b.offset; });
}

} // namespace tlm
