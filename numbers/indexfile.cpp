#include "numbers/indexfile.h"

#include "platform/fileio.h"
#include "platform/textfile.h"

#include <QFile>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace tlm {
namespace {
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

IndexMatch parseMatch(const char* line, qsizetype size) {
    qsizetype pos = 0;
    nextField(line, size, pos); // the number, already compared
    IndexMatch m;
    m.entryId = textfile::decode(nextField(line, size, pos));
    m.field = nextField(line, size, pos).trimmed().toInt();
    m.journal = nextField(line, size, pos).trimmed().toInt();
    return m;
}
} // namespace

QByteArray indexRecord(const QString& number, const QString& entryId, int field, bool journal) {
    QByteArray line;
    line.reserve(number.size() + entryId.size() + 16);
    line += '"';
    line += textfile::encode(number);
    line += "\",\"";
    line += textfile::encode(entryId);
    line += "\",";
    line += QByteArray::number(field);
    line += journal ? ",-1\r\n" : ",0\r\n";
    return line;
}

QList<IndexMatch> scanIndex(const QString& path, const QString& number) {
    QList<IndexMatch> matches;
    // Opened without following a link (the index lies in the work folder).
    const int fd = fileio::open(path, O_RDONLY);
    QFile file;
    if (fd < 0 || !file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return matches;
    }
    if (file.size() == 0)
        return matches;
    const uchar* mapped = file.map(0, file.size());
    QByteArray content;
    if (!mapped) {
        content = file.readAll();
        mapped = reinterpret_cast<const uchar*>(content.constData());
    }
    const char* data = reinterpret_cast<const char*>(mapped);
    const qsizetype size = file.size();

    // A record matches when its line begins with the quoted number and a comma:
    // search for that text behind a line end, so no other line is looked at.
    const QByteArray quoted = '"' + textfile::encode(number) + "\",";
    const QByteArray needle = '\n' + quoted;
    const auto takeLine = [&](qsizetype start) {
        const void* lineEnd = std::memchr(data + start, '\n', static_cast<size_t>(size - start));
        qsizetype end = lineEnd ? static_cast<const char*>(lineEnd) - data : size;
        if (end > start && data[end - 1] == '\r')
            --end;
        matches.append(parseMatch(data + start, end - start));
    };
    if (size >= quoted.size() && std::memcmp(data, quoted.constData(), quoted.size()) == 0)
        takeLine(0);
    qsizetype from = 0;
    while (from < size) {
        const void* hit = memmem(data + from, static_cast<size_t>(size - from), needle.constData(),
                                 static_cast<size_t>(needle.size()));
        if (!hit)
            break;
        const qsizetype lineStart = static_cast<const char*>(hit) - data + 1;
        takeLine(lineStart);
        from = lineStart;
    }
    return matches;
}

} // namespace tlm
