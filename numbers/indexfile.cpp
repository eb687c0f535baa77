// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/indexfile.h"

#include "platform/fileio.h"
#include "platform/textfile.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tlm {
namespace {
// The index is read in blocks of this size, so its pages do not count in
// the process's memory.
constexpr qsizetype ScanBlock = 256 * 1024;

// A quoted field ends at the next quote; an unquoted one at the next comma or
// the line end. Returns the field and moves pos behind its comma.
QByteArray nextField(const char* line, qsizetype size, qsizetype& pos) {
    while (pos < size && line[pos] == ' ')
        ++pos;
    qsizetype start = pos;
    qsizetype end = pos;
    if (pos < size && line[pos] == '"') {
        start = ++pos;
        while (pos < size && line[pos] != '"')
            ++pos;
        end = pos;
        while (pos < size && line[pos] != ',')
            ++pos;
    } else {
        while (pos < size && line[pos] != ',')
            ++pos;
        end = pos;
    }
    if (pos < size)
        ++pos;
    return QByteArray(line + start, end - start);
}

} // namespace

IndexMatch parseIndexLine(QByteArrayView text) {
    const char* line = text.data();
    const qsizetype size = text.size();
    qsizetype pos = 0;
    nextField(line, size, pos); // the number, already compared
    IndexMatch m;
    m.entryId = textfile::decode(nextField(line, size, pos));
    m.field = nextField(line, size, pos).trimmed().toInt();
    m.journal = nextField(line, size, pos).trimmed().toInt();
    return m;
}

QString indexFileName(const QDate& day) {
    return QStringLiteral("tlm") + day.toString(QStringLiteral("yyyyMMdd")) +
           QStringLiteral(".idx");
}

QString indexFilePattern() {
    return QStringLiteral("tlm*.idx");
}

QString indexTablePath(const QString& indexPath) {
    return indexPath + QStringLiteral(".tab");
}

QString indexTablePattern() {
    return indexFilePattern() + QStringLiteral(".tab");
}

namespace {
void appendText(QByteArray& out, QStringView text) {
    out += textfile::encode(text.toString());
}

// Writes ASCII text at p, one byte per character; returns the end.
char* putAscii(char* p, QStringView text) {
    for (const QChar c : text)
        *p++ = static_cast<char>(c.unicode());
    return p;
}
} // namespace

void appendIndexRecord(QByteArray& out, QStringView number, QStringView entryId, int field,
                       bool journal) {
    if (!QtPrivate::isAscii(number) || !QtPrivate::isAscii(entryId) || field < 0 || field > 99) {
        out += '"';
        appendText(out, number);
        out += "\",\"";
        appendText(out, entryId);
        out += "\",";
        out += QByteArray::number(field);
        out += journal ? ",-1\r\n" : ",0\r\n";
        return;
    }
    // The usual record, written in place: "number","EntryID",field,journal CR LF.
    const QByteArrayView tail = journal ? ",-1\r\n" : ",0\r\n";
    const qsizetype at = out.size();
    out.resize(at + number.size() + entryId.size() + 6 + (field > 9 ? 2 : 1) + tail.size());
    char* p = out.data() + at;
    *p++ = '"';
    p = putAscii(p, number);
    *p++ = '"';
    *p++ = ',';
    *p++ = '"';
    p = putAscii(p, entryId);
    *p++ = '"';
    *p++ = ',';
    if (field > 9)
        *p++ = static_cast<char>('0' + field / 10);
    *p++ = static_cast<char>('0' + field % 10);
    std::memcpy(p, tail.data(), size_t(tail.size()));
}

QByteArray indexRecord(const QString& number, const QString& entryId, int field, bool journal) {
    QByteArray line;
    line.reserve(number.size() + entryId.size() + 16);
    appendIndexRecord(line, number, entryId, field, journal);
    return line;
}

QList<IndexMatch> scanIndex(const QString& path, const QString& number) {
    QList<IndexMatch> matches;
    // Opened without following a link (the index lies in the work folder).
    const int fd = fileio::open(path, O_RDONLY);
    if (fd < 0)
        return matches;
    ::posix_fadvise(fd, 0, 0, POSIX_FADV_SEQUENTIAL);

    // A record matches when its line begins with the quoted number and a
    // comma: search for that text behind a line end, so no other line is
    // looked at. The file is read in blocks; the buffer holds a line end, the
    // unfinished line of the last block and the next block, and only its
    // complete lines are searched.
    const QByteArray needle = "\n\"" + textfile::encode(number) + "\",";
    QByteArray buffer(1, '\n');
    buffer.reserve(ScanBlock + 4096);
    const auto searchLines = [&](qsizetype end) { // buffer[0, end) holds whole lines
        qsizetype from = 0;
        while (const void* hit = memmem(buffer.constData() + from, size_t(end - from),
                                        needle.constData(), size_t(needle.size()))) {
            const qsizetype lineStart = static_cast<const char*>(hit) - buffer.constData() + 1;
            qsizetype lineEnd = buffer.indexOf('\n', lineStart);
            if (lineEnd < 0 || lineEnd > end)
                lineEnd = end;
            const qsizetype stop =
                lineEnd > lineStart && buffer[lineEnd - 1] == '\r' ? lineEnd - 1 : lineEnd;
            matches.append(parseIndexLine(
                QByteArrayView(buffer.constData() + lineStart, stop - lineStart)));
            from = lineStart;
        }
    };
    for (;;) {
        const qsizetype kept = buffer.size();
        buffer.resize(kept + ScanBlock);
        const ssize_t got = ::read(fd, buffer.data() + kept, ScanBlock);
        if (got < 0 && errno == EINTR) {
            buffer.resize(kept);
            continue;
        }
        buffer.resize(kept + std::max<qsizetype>(got, 0));
        if (got <= 0) {
            buffer.append('\n'); // the last line may lack its line end
            searchLines(buffer.size());
            break;
        }
        const qsizetype lastLineEnd = buffer.lastIndexOf('\n');
        if (lastLineEnd <= 0)
            continue; // no line ended yet
        searchLines(lastLineEnd + 1);
        buffer.remove(0, lastLineEnd); // keeps the line end before the unfinished line
    }
    ::close(fd);
    return matches;
}

} // namespace tlm
