// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/recordfile.h"

#include "platform/error.h"
#include "platform/files.h"
#include "platform/paths.h"
#include "platform/textfile.h"

namespace tlm::numbers {

namespace {

bool isBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// Reads the field that starts at pos (blanks before it skipped) and moves pos
// behind the comma that ends it, or to the end of the line.
QStringView nextField(QStringView line, qsizetype& pos) {
    const qsizetype size = line.size();
    while (pos < size && isBlank(line[pos]))
        ++pos;
    if (pos >= size)
        return {};
    QStringView field;
    qsizetype end = 0;
    if (line[pos] == u'"') {
        const qsizetype close = line.indexOf(u'"', pos + 1);
        end = close < 0 ? size : close;
        field = line.sliced(pos + 1, end - pos - 1);
        // Anything between the closing quote and the comma is not part of it.
        end = close < 0 ? size : line.indexOf(u',', close + 1);
    } else {
        end = line.indexOf(u',', pos);
        field = line.sliced(pos, (end < 0 ? size : end) - pos);
    }
    pos = end < 0 ? size : end + 1;
    return field;
}

bool isBlankLine(QStringView line) {
    for (QChar c : line) {
        if (!isBlank(c))
            return false;
    }
    return true;
}

} // namespace

Record parseRecord(QStringView line) {
    qsizetype pos = 0;
    const QStringView code = nextField(line, pos);
    const QStringView name = nextField(line, pos);
    return {code.toString(), name.toString()};
}

QString dataFilePath(QStringView fileName) {
    return paths::programFolder() + fileName;
}

bool dataFileExists(QStringView fileName) {
    return files::exists(dataFilePath(fileName));
}

std::optional<Record> firstRecordBeginning(QStringView fileName, QStringView number) {
    const QString path = dataFilePath(fileName);
    if (!files::exists(path))
        return std::nullopt;
    QString text;
    try {
        text = textfile::read(path);
    } catch (const Error&) {
        return std::nullopt;
    }
    const QStringView all(text);
    qsizetype start = 0;
    while (start < all.size()) {
        qsizetype end = all.indexOf(u'\n', start);
        if (end < 0)
            end = all.size();
        QStringView line = all.sliced(start, end - start);
        start = end + 1;
        if (line.endsWith(u'\r'))
            line.chop(1);
        // A blank line holds no record (it would otherwise match everything).
        if (isBlankLine(line))
            continue;
        qsizetype pos = 0;
        const QStringView code = nextField(line, pos);
        if (code.isEmpty() || number.startsWith(code))
            return parseRecord(line);
    }
    return std::nullopt;
}

} // namespace tlm::numbers
