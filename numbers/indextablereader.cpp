// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/indextable.h"
#include "numbers/indextableformat.h"
#include "platform/fileio.h"
#include "platform/textfile.h"

#include <QtEndian>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tlm {
namespace {
using namespace indextable;

// A group larger than this is left to the scan rather than read whole.
constexpr quint32 MaxGroupRecords = 1 << 16;
// Most index lines are read with one read of this size.
constexpr qsizetype LineRead = 256;

class OpenFile {
public:
    explicit OpenFile(const QString& path) : m_fd(fileio::open(path, O_RDONLY)) {}
    ~OpenFile() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    std::optional<struct stat> status() const {
        struct stat st {};
        return ::fstat(m_fd, &st) == 0 ? std::optional(st) : std::nullopt;
    }
    // Up to size bytes at offset at; fewer only at the file's end.
    std::optional<QByteArray> read(qint64 at, qsizetype size) const {
        QByteArray bytes(size, Qt::Uninitialized);
        qsizetype got = 0;
        while (got < size) {
            const ssize_t n = ::pread(m_fd, bytes.data() + got, size_t(size - got), at + got);
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                return std::nullopt;
            if (n == 0)
                break;
            got += n;
        }
        bytes.resize(got);
        return bytes;
    }

private:
    int m_fd;
};

// The line of the index that starts at offset, without its line end;
// nothing when no line starts there.
std::optional<QByteArray> lineAt(const OpenFile& index, qint64 offset, qint64 indexSize) {
    const qint64 from = offset > 0 ? offset - 1 : 0; // with the line end before it
    const qsizetype skip = qsizetype(offset - from);
    for (qsizetype size = LineRead;; size *= 2) {
        const std::optional<QByteArray> bytes = index.read(from, size);
        if (!bytes || bytes->size() <= skip || (skip && bytes->front() != '\n'))
            return std::nullopt;
        qsizetype end = bytes->indexOf('\n', skip);
        if (end < 0 && from + bytes->size() < indexSize)
            continue; // longer than read so far
        if (end < 0)
            end = bytes->size(); // the last line, without its line end
        if (end > skip && bytes->at(end - 1) == '\r')
            --end;
        return bytes->sliced(skip, end - skip);
    }
}

// The table's group of hash, checked; nothing when it is not sound.
std::optional<QByteArray> groupRecords(const OpenFile& table, const Header& header,
                                       quint32 group) {
    const std::optional<QByteArray> entry =
        table.read(HeaderSize + qint64(group) * GroupEntrySize, GroupEntrySize + 4);
    if (!entry || entry->size() != GroupEntrySize + 4)
        return std::nullopt;
    const auto* p = reinterpret_cast<const uchar*>(entry->constData());
    const quint32 first = qFromLittleEndian<quint32>(p);
    const quint32 check = qFromLittleEndian<quint32>(p + 4);
    const quint32 end = qFromLittleEndian<quint32>(p + 8);
    if (first > end || end > header.records || end - first > MaxGroupRecords)
        return std::nullopt;
    const qsizetype size = qsizetype(end - first) * RecordSize;
    std::optional<QByteArray> records =
        table.read(recordsOffset(header) + qint64(first) * RecordSize, size);
    if (!records || records->size() != size ||
        !checkCompletes(groupCheck(group, first, end, *records), check))
        return std::nullopt;
    return records;
}
} // namespace

std::optional<QList<IndexMatch>> lookupInTable(const QString& indexPath, const QString& number) {
    // A number with a quote or a line end may match where no key begins:
    // only the scan answers for it.
    const QByteArray key = textfile::encode(number);
    if (key.contains('"') || key.contains('\n'))
        return std::nullopt;

    const OpenFile table(indexTablePath(indexPath));
    if (!table.isOpen())
        return std::nullopt;
    const std::optional<QByteArray> head = table.read(0, HeaderSize);
    const std::optional<Header> header = head ? headerFrom(*head) : std::nullopt;
    const std::optional<struct stat> tableStatus = header ? table.status() : std::nullopt;
    if (!tableStatus || tableStatus->st_size != tableSize(*header))
        return std::nullopt; // no table, or a cut one

    // The table holds while the index is the file it was made from: the
    // same inode, size and modification time.
    const OpenFile index(indexPath);
    const std::optional<struct stat> indexStatus =
        index.isOpen() ? index.status() : std::nullopt;
    if (!indexStatus || quint64(indexStatus->st_ino) != header->inode ||
        !sealHolds(*indexStatus, header->seal))
        return std::nullopt;

    const quint32 hash = keyHash(key);
    const quint32 group = groupOf(hash, header->groupBits);
    const std::optional<QByteArray> records = groupRecords(table, *header, group);
    if (!records)
        return std::nullopt;

    // Every record must belong to the group and stand in index order; each
    // of the number's hash must point at a line of that hash in the index.
    QList<IndexMatch> matches;
    qint64 previous = -1;
    const auto* p = reinterpret_cast<const uchar*>(records->constData());
    for (qsizetype i = 0; i < records->size(); i += RecordSize) {
        const quint32 recordHash = qFromLittleEndian<quint32>(p + i);
        const qint64 offset = qFromLittleEndian<quint32>(p + i + 4);
        if (offset <= previous || offset >= header->seal.size ||
            groupOf(recordHash, header->groupBits) != group)
            return std::nullopt;
        previous = offset;
        if (recordHash != hash)
            continue;
        const std::optional<QByteArray> line = lineAt(index, offset, header->seal.size);
        const std::optional<QByteArrayView> lineNumber =
            line ? lineKey(*line) : std::optional<QByteArrayView>();
        if (!lineNumber || keyHash(*lineNumber) != hash)
            return std::nullopt;
        if (*lineNumber == key)
            matches.append(parseIndexLine(*line));
    }
    return matches;
}

QList<IndexMatch> lookupIndex(const QString& indexPath, const QString& number) {
    if (std::optional<QList<IndexMatch>> found = lookupInTable(indexPath, number))
        return *std::move(found);
    return scanIndex(indexPath, number);
}

} // namespace tlm
