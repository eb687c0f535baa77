// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/companynumbers.h"

#include "numbers/indexseal.h"
#include "platform/fileio.h"
#include "platform/files.h"
#include "platform/textfile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>

namespace tlm {
namespace {
constexpr QByteArrayView HeadLine = "Tellmarin-Zentralen 1\n";
// A company file is small (one line per main number); a larger one is no
// company file.
constexpr qint64 MaxFileSize = 256 * 1024 * 1024;

bool isSeparator(QChar c) {
    return c == u'-' || c == u'/' || c == u' ' || c == u'.';
}

bool allDigits(QStringView text) {
    for (const QChar c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

// The seal of the index as it lies on disk, in bytes; empty when it cannot
// be read.
QByteArray sealOf(const QString& indexFile, std::optional<quint32> checksum) {
    const auto seal = checksum ? sealOfIndex(indexFile, *checksum) : sealOfIndex(indexFile);
    return seal ? sealBytes(*seal) : QByteArray();
}

bool holdsFor(const QString& indexFile, QByteArrayView sealed) {
    const auto seal = sealFromBytes(sealed);
    return seal && sealHolds(indexFile, *seal);
}

// One line "prefix,field,journal,EntryID"; nullopt for any other line.
std::optional<CompanyNumber> parseLine(QByteArrayView line) {
    const auto next = [&line](qsizetype& from) -> std::optional<QByteArrayView> {
        const qsizetype comma = line.indexOf(',', from);
        if (comma < 0)
            return std::nullopt;
        const QByteArrayView part = line.sliced(from, comma - from);
        from = comma + 1;
        return part;
    };
    qsizetype at = 0;
    const auto prefix = next(at);
    const auto field = next(at);
    const auto journal = next(at);
    if (!prefix || !field || !journal || prefix->isEmpty())
        return std::nullopt;
    CompanyNumber n;
    n.prefix = QString::fromLatin1(*prefix);
    bool ok = false;
    n.record.field = field->toInt(&ok);
    if (!ok || n.record.field < 1 || n.record.field > 12 || !allDigits(n.prefix))
        return std::nullopt;
    if (*journal != "0" && *journal != "-1")
        return std::nullopt;
    n.record.journal = *journal == "-1" ? -1 : 0;
    n.record.entryId = textfile::decode(line.sliced(at).toByteArray());
    return n;
}
} // namespace

bool isSwitchboardForm(QStringView written) {
    const QStringView text = written.trimmed();
    qsizetype at = text.size() - 1;
    if (at < 2 || text[at] != u'0' || !isSeparator(text[at - 1]))
        return false;
    --at;
    while (at > 0 && isSeparator(text[at]))
        --at;
    return text[at].isDigit();
}

MainNumber mainNumberOf(QStringView written, int field) {
    if (isSwitchboardForm(written))
        return MainNumber::Switchboard;
    return field == CompanyMainField ? MainNumber::MainField : MainNumber::None;
}

QString companyPrefix(MainNumber kind, QStringView dialling) {
    if (dialling.isEmpty() || !allDigits(dialling))
        return {};
    switch (kind) {
    case MainNumber::Switchboard:
        return dialling.size() > 1 && dialling.back() == u'0' ? dialling.chopped(1).toString()
                                                              : QString();
    case MainNumber::MainField:
        return dialling.toString();
    case MainNumber::None:
        break;
    }
    return {};
}

CompanyMatch matchCompanyNumber(const QList<CompanyNumber>& numbers, QStringView callNumber) {
    CompanyMatch match;
    for (const CompanyNumber& n : numbers) {
        const qsizetype digits = callNumber.size() - n.prefix.size();
        if (n.prefix.isEmpty() || digits < 1 || digits > MaxExtensionDigits ||
            n.prefix.size() < match.prefix.size() || !callNumber.startsWith(n.prefix) ||
            !allDigits(callNumber.sliced(n.prefix.size())))
            continue;
        if (n.prefix.size() > match.prefix.size()) {
            match.prefix = n.prefix;
            match.extension = callNumber.sliced(n.prefix.size()).toString();
            match.records.clear();
        }
        match.records.append(n.record);
    }
    return match;
}

QString companyFilePath(const QString& indexFile) {
    return indexFile.left(indexFile.size() - 3) + QStringLiteral("zen");
}

QString companyFilePattern() {
    return QStringLiteral("tlm*.zen");
}

QByteArray companyFileBytes(const QByteArray& seal, const QList<CompanyNumber>& numbers) {
    QByteArray bytes = HeadLine.toByteArray() + seal + '\n';
    for (const CompanyNumber& n : numbers) {
        const QByteArray entryId = textfile::encode(n.record.entryId);
        if (entryId.contains('\n') || entryId.contains('\r'))
            continue;
        bytes += n.prefix.toLatin1() + ',' + QByteArray::number(n.record.field) +
                 (n.record.journal ? ",-1," : ",0,") + entryId + '\n';
    }
    return bytes;
}

std::optional<QList<CompanyNumber>> readCompanyFile(const QString& indexFile) {
    fileio::ReadFault fault;
    const auto bytes = fileio::readRegular(companyFilePath(indexFile), MaxFileSize, fault);
    const qsizetype head = HeadLine.size() + SealSize + 1;
    if (!bytes || !bytes->startsWith(HeadLine) || bytes->size() < head ||
        bytes->at(head - 1) != '\n' ||
        !holdsFor(indexFile, QByteArrayView(*bytes).sliced(HeadLine.size(), SealSize)))
        return std::nullopt;
    QList<CompanyNumber> numbers;
    const QByteArrayView records = QByteArrayView(*bytes).sliced(head);
    qsizetype at = 0;
    while (at < records.size()) {
        const qsizetype end = records.indexOf('\n', at);
        if (end < 0)
            return std::nullopt; // cut short
        const auto n = parseLine(records.sliced(at, end - at));
        if (!n)
            return std::nullopt;
        numbers.append(*n);
        at = end + 1;
    }
    return numbers;
}

bool companyFileHolds(const QString& indexFile) {
    return readCompanyFile(indexFile).has_value();
}

CompanyFileWriter::CompanyFileWriter(const QString& indexFile, bool enabled)
    : m_enabled(enabled), m_file(companyFilePath(indexFile)),
      m_temporary(m_file + QLatin1Char('.') + QString::number(QCoreApplication::applicationPid()) +
                  QStringLiteral(".new")) {}

void CompanyFileWriter::add(MainNumber kind, QStringView dialling, const QString& entryId,
                            int field, bool journal) {
    if (kind == MainNumber::None)
        return;
    QString prefix = companyPrefix(kind, dialling);
    if (!prefix.isEmpty())
        m_numbers.append({std::move(prefix), {entryId, field, journal ? -1 : 0}});
}

bool CompanyFileWriter::place(const QString& sealedIndex, std::optional<quint32> checksum) {
    if (!m_enabled) {
        remove();
        return true;
    }
    const QByteArray seal = sealOf(sealedIndex, checksum);
    files::remove(m_temporary);
    const bool placed = !seal.isEmpty() &&
                        fileio::replace(m_temporary, companyFileBytes(seal, m_numbers)) &&
                        std::rename(QFile::encodeName(m_temporary).constData(),
                                    QFile::encodeName(m_file).constData()) == 0;
    if (!placed)
        remove();
    return placed;
}

void CompanyFileWriter::remove() {
    files::remove(m_temporary);
    files::remove(m_file);
}

} // namespace tlm
