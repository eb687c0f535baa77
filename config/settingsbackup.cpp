// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settingsbackup.h"

#include "core/settings.h"
#include "platform/atomicfile.h"
#include "platform/error.h"
#include "platform/fileio.h"
#include "platform/files.h"
#include "platform/settingsstore.h"
#include "platform/textfile.h"

#include <QFileInfo>
#include <QStandardPaths>

using namespace Qt::StringLiterals;

namespace tlm::backup {
namespace {

// The keys before the numbered folder lines, the keys after them up to the
// user fields, and the keys after the user fields.
const keys::Key headKeys[] = {keys::AddressSeparator,
                              keys::AutoChoice,
                              keys::AutoChoiceCallEnd,
                              keys::AutoChoiceJournalCallEnd,
                              keys::BusyStatus,
                              keys::Callback,
                              keys::ColorBack,
                              keys::ColorBackFont,
                              keys::ColorDefault,
                              keys::ColorFont,
                              keys::ContactCallEnd,
                              keys::ContactJournal,
                              keys::Debug,
                              keys::DefaultFolder,
                              keys::DisplayPosContact,
                              keys::DisplayPosJournal,
                              keys::Folders};
const keys::Key middleKeys[] = {
    keys::FolderCalendar, keys::FolderNewContact, keys::FolderJournal,  keys::InContact,
    keys::InJournal,      keys::Internal,         keys::JournalCallEnd, keys::JournalCategory,
    keys::JournalContact, keys::LogDays,          keys::Mailaddressee,  keys::MailFont,
    keys::MailFontSize,   keys::MailTabStop1,     keys::MailTabStop2,   keys::ModeCalendarJournal};
const keys::Key tailKeys[] = {
    keys::NewContactType,     keys::OutContact,        keys::OutJournal, keys::Refresh,
    keys::StopWatch,          keys::URLHandler,        keys::Maps,       keys::ViewCompanyname,
    keys::WindowOffsetIndexX, keys::WindowOffsetIndexY};

void add(KeyValues& out, const KeyName& key) {
    out.append({key.text(), readSetting(key)});
}

template <std::size_t N> void addAll(KeyValues& out, const keys::Key (&names)[N]) {
    for (const keys::Key key : names)
        add(out, key);
}

[[noreturn]] void refuse(const QString& path, int line, const QString& what) {
    QString where = QFileInfo(path).fileName();
    if (line > 0)
        where += u", Zeile "_s + QString::number(line);
    throw Error(err::InvalidArgument, where + u": "_s + what);
}

// A field of a line from position at: quoted (a doubled quote inside stands
// for one) or bare (blanks around it trimmed, no quote or comma inside). A
// quoted field loses its quotes in place, in the line's own characters.
std::optional<QStringView> field(QChar* line, qsizetype size, qsizetype& at) {
    const auto skipBlanks = [&] {
        while (at < size && (line[at] == u' ' || line[at] == u'\t'))
            ++at;
    };
    skipBlanks();
    if (at < size && line[at] == u'"') {
        const qsizetype start = ++at;
        qsizetype end = start;
        bool closed = false;
        for (; at < size && !closed; ++at) {
            if (line[at] != u'"')
                line[end++] = line[at];
            else if (at + 1 < size && line[at + 1] == u'"')
                line[end++] = line[++at];
            else
                closed = true;
        }
        if (!closed)
            return std::nullopt;
        skipBlanks();
        return QStringView(line + start, end - start);
    }
    const qsizetype start = at;
    while (at < size && line[at] != u',') {
        if (line[at] == u'"')
            return std::nullopt;
        ++at;
    }
    return QStringView(line + start, at - start).trimmed();
}

// Key and value of one line, or nullopt for a line of another form.
std::optional<ini::text::KeyValue> parseLine(QChar* line, qsizetype size) {
    qsizetype at = 0;
    const auto key = field(line, size, at);
    if (!key || at >= size || line[at] != u',')
        return std::nullopt;
    ++at;
    const auto value = field(line, size, at);
    if (!value || at != size)
        return std::nullopt;
    return ini::text::KeyValue{*key, *value};
}

QStringView mapsIndex(QStringView value) {
    if (value.compare(u"Microsoft Bing", Qt::CaseInsensitive) == 0)
        return u"0";
    if (value.compare(u"Google Maps", Qt::CaseInsensitive) == 0)
        return u"1";
    return value;
}

// The file's text; what is no regular file or too large is refused before
// it is read whole.
QString restoreText(const QString& path) {
    fileio::ReadFault fault;
    const auto bytes = fileio::readRegular(path, MaxRestoreSize, fault);
    switch (fault) {
    case fileio::ReadFault::None:
        break;
    case fileio::ReadFault::Missing:
        fileio::raiseNotFound();
    case fileio::ReadFault::NotRegular:
        refuse(path, 0, u"keine gewöhnliche Datei"_s);
    case fileio::ReadFault::TooLarge:
        refuse(path, 0, u"größer als %1 MiB"_s.arg(MaxRestoreSize >> 20));
    case fileio::ReadFault::Unreadable:
        fileio::raiseAccess();
    }
    return textfile::decodeForeign(*bytes);
}

} // namespace

QString defaultExportPath() {
    QString desktop = QStandardPaths::writableLocation(QStandardPaths::DesktopLocation);
    if (!desktop.endsWith(u'/'))
        desktop += u'/';
    return desktop + u"Tellmarin_all.ini"_s;
}

KeyValues exportValues() {
    KeyValues out;
    addAll(out, headKeys);
    const int folders = integerOf(readSetting(keys::Folders)).value_or(0);
    for (int n = 1; n <= folders; ++n) {
        add(out, keys::folder(n));
        add(out, keys::folderId(n));
    }
    addAll(out, middleKeys);
    for (int n = 1; n <= 4; ++n) {
        add(out, keys::userField(n));
        add(out, keys::userFieldLink(n));
        add(out, keys::userFieldPrint(n));
    }
    addAll(out, tailKeys);
    // The company search is opt-in: an export of settings that never had it
    // stays as it was.
    if (settingsstore::contains(KeyName(keys::CompanyFallback).text()))
        add(out, keys::CompanyFallback);
    return out;
}

QString exportLine(const QString& key, const QString& value) {
    const auto quoted = [](QString text) -> QString {
        text.replace(u"\""_s, u"\"\""_s);
        return u'"' + text + u'"';
    };
    return quoted(key) + u',' + quoted(value) + u"\r\n"_s;
}

void writeExport(const QString& path) {
    QString text;
    for (const auto& [key, value] : exportValues())
        text += exportLine(key, value);
    // A link is followed, so that it stays a link.
    const QFileInfo info(path);
    const QString target = info.isSymLink() ? info.symLinkTarget() : path;
    const QFileInfo targetInfo(target);
    if (targetInfo.exists() && !targetInfo.isFile())
        throw Error(err::FileAccess, target + u": keine gewöhnliche Datei"_s);
    if (files::sameFile(target, settingsstore::filePath()))
        throw Error(err::FileAccess, target + u" ist die Einstellungsdatei des Programms selbst"_s);
    files::ensureFolder(targetInfo.absolutePath());
    atomicfile::replace(target, textfile::encode(text));
}

RestoreFile readRestoreFile(const QString& path) {
    RestoreFile file{restoreText(path), {}};
    QChar* chars = file.text.data(); // the one copy that the entries point into
    const qsizetype size = file.text.size();
    int number = 0;
    for (qsizetype at = 0; at < size;) {
        ++number;
        qsizetype end = at;
        while (end < size && chars[end] != u'\r' && chars[end] != u'\n')
            ++end;
        const qsizetype length = end - at;
        QChar* line = chars + at;
        at = end + (end + 1 < size && chars[end] == u'\r' && chars[end + 1] == u'\n' ? 2 : 1);
        if (length > MaxRestoreLine)
            refuse(path, number, u"Zeile länger als %1 Zeichen"_s.arg(MaxRestoreLine));
        if (QStringView(line, length).trimmed().isEmpty())
            continue;
        auto pair = parseLine(line, length);
        if (!pair)
            refuse(path, number, u"keine Zeile der Form \"Schlüssel\",\"Wert\""_s);
        if (!settingsstore::validKeyName(pair->key))
            refuse(path, number, u"ungültiger Schlüsselname \""_s + pair->key + u'"');
        if (pair->key.compare(KeyName(keys::Maps).text(), Qt::CaseInsensitive) == 0)
            pair->value = mapsIndex(pair->value);
        file.entries.append(*pair);
    }
    if (file.entries.isEmpty())
        refuse(path, 0, u"keine Tellmarin-Sicherungsdatei"_s);
    return file;
}

void restore(const QString& path) {
    const RestoreFile file = readRestoreFile(path);
    settingsstore::saveAll(file.entries);
}

} // namespace tlm::backup
