// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "config/settingsbackup.h"

#include "core/settings.h"
#include "platform/error.h"
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
const char16_t* const headKeys[] = {u"AddressSeparator",
                                    u"AutoChoice",
                                    u"AutoChoiceCallEnd",
                                    u"AutoChoiceJournalCallEnd",
                                    u"BusyStatus",
                                    u"Callback",
                                    u"ColorBack",
                                    u"ColorBackFont",
                                    u"ColorDefault",
                                    u"ColorFont",
                                    u"ContactCallEnd",
                                    u"ContactJournal",
                                    u"Debug",
                                    u"DefaultFolder",
                                    u"DisplayPosContact",
                                    u"DisplayPosJournal",
                                    u"Folders"};
const char16_t* const middleKeys[] = {
    u"FolderCalendar", u"FolderNewContact", u"FolderJournal",  u"InContact",
    u"InJournal",      u"Internal",         u"JournalCallEnd", u"JournalCategory",
    u"JournalContact", u"LogDays",          u"Mailaddressee",  u"MailFont",
    u"MailFontSize",   u"MailTabStop1",     u"MailTabStop2",   u"ModeCalendarJournal"};
const char16_t* const tailKeys[] = {
    u"NewContactType",     u"OutContact",        u"OutJournal", u"Refresh",
    u"StopWatch",          u"URLHandler",        u"Maps",       u"ViewCompanyname",
    u"WindowOffsetIndexX", u"WindowOffsetIndexY"};

void add(KeyValues& out, const QString& key) {
    out.append({key, readSetting(key)});
}

template <std::size_t N> void addAll(KeyValues& out, const char16_t* const (&keys)[N]) {
    for (const char16_t* key : keys)
        add(out, QString::fromUtf16(key));
}

[[noreturn]] void refuse(const QString& path, int line, const QString& what) {
    QString where = QFileInfo(path).fileName();
    if (line > 0)
        where += u", Zeile "_s + QString::number(line);
    throw Error(err::InvalidArgument, where + u": "_s + what);
}

// A field of a line from position at: quoted (a doubled quote inside stands
// for one) or bare (blanks around it trimmed, no quote or comma inside).
std::optional<QString> field(const QString& line, qsizetype& at) {
    while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
        ++at;
    QString value;
    if (at < line.size() && line[at] == u'"') {
        bool closed = false;
        for (++at; at < line.size() && !closed; ++at) {
            if (line[at] != u'"')
                value += line[at];
            else if (at + 1 < line.size() && line[at + 1] == u'"')
                value += line[++at];
            else
                closed = true;
        }
        if (!closed)
            return std::nullopt;
        while (at < line.size() && (line[at] == u' ' || line[at] == u'\t'))
            ++at;
        return value;
    }
    const qsizetype start = at;
    while (at < line.size() && line[at] != u',') {
        if (line[at] == u'"')
            return std::nullopt;
        ++at;
    }
    return line.mid(start, at - start).trimmed();
}

// Key and value of one line, or nullopt for a line of another form.
std::optional<std::pair<QString, QString>> parseLine(const QString& line) {
    qsizetype at = 0;
    const auto key = field(line, at);
    if (!key || at >= line.size() || line[at] != u',')
        return std::nullopt;
    ++at;
    const auto value = field(line, at);
    if (!value || at != line.size())
        return std::nullopt;
    return std::pair{*key, *value};
}

QString mapsIndex(const QString& value) {
    if (value.compare(u"Microsoft Bing"_s, Qt::CaseInsensitive) == 0)
        return u"0"_s;
    if (value.compare(u"Google Maps"_s, Qt::CaseInsensitive) == 0)
        return u"1"_s;
    return value;
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
    const int folders = integerOf(settingsstore::get(u"Folders"_s, u"0"_s)).value_or(0);
    for (int n = 1; n <= folders; ++n) {
        add(out, u"Folder"_s + QString::number(n));
        add(out, u"FolderID"_s + QString::number(n));
    }
    addAll(out, middleKeys);
    for (int n = 1; n <= 4; ++n) {
        const QString stem = u"olUser"_s + QString::number(n);
        add(out, stem);
        add(out, stem + u"Link"_s);
        add(out, stem + u"Print"_s);
    }
    addAll(out, tailKeys);
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
    files::ensureFolder(QFileInfo(path).absolutePath());
    textfile::write(path, text);
}

KeyValues readRestoreFile(const QString& path) {
    QString text = textfile::readForeign(path);
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
    KeyValues out;
    const QStringList lines = text.split(u'\n');
    for (int i = 0; i < lines.size(); ++i) {
        if (lines[i].trimmed().isEmpty())
            continue;
        const auto pair = parseLine(lines[i]);
        if (!pair)
            refuse(path, i + 1, u"keine Zeile der Form \"Schlüssel\",\"Wert\""_s);
        if (!settingsstore::validKeyName(pair->first))
            refuse(path, i + 1, u"ungültiger Schlüsselname \""_s + pair->first + u'"');
        const bool maps = pair->first.compare(u"Maps"_s, Qt::CaseInsensitive) == 0;
        out.append({pair->first, maps ? mapsIndex(pair->second) : pair->second});
    }
    if (out.isEmpty())
        refuse(path, 0, u"keine Tellmarin-Sicherungsdatei"_s);
    return out;
}

void restore(const QString& path) {
    settingsstore::saveAll(readRestoreFile(path));
}

} // namespace tlm::backup
