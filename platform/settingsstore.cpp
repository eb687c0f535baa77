// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settingsstore.h"

#include "platform/error.h"
#include "platform/fileio.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/inifind.h"
#include "platform/paths.h"
#include "platform/textfile.h"

using namespace Qt::StringLiterals;

namespace tlm::settingsstore {
namespace {
const QString& section() {
    static const QString name = u"Tellmarin"_s;
    return name;
}

// A file that a Windows editor saved: with a byte order mark, in UTF-16
// (also without mark), or with CR alone ending its lines.
bool foreignForm(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF") || bytes.startsWith("\xFF\xFE") ||
        bytes.startsWith("\xFE\xFF") || textfile::utf16WithoutMark(bytes))
        return true;
    for (qsizetype at = bytes.indexOf('\r'); at >= 0; at = bytes.indexOf('\r', at + 1))
        if (at + 1 == bytes.size() || bytes.at(at + 1) != '\n')
            return true;
    return false;
}

// The file in the form the store writes: UTF-8 without mark, CR LF.
QByteArray ownForm(const QByteArray& bytes) {
    QString text = textfile::decodeForeign(bytes);
    text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n').replace(u"\n"_s, u"\r\n"_s);
    return textfile::encode(text);
}

// The settings file's bytes; one in a foreign form is written back in the
// store's own form first, so that no key is lost or read twice.
std::optional<QByteArray> content() {
    const auto bytes = fileio::readAll(filePath());
    if (!bytes || !foreignForm(*bytes))
        return bytes;
    try {
        ini::rewrite(filePath(), [](const QByteArray& current) -> std::optional<QByteArray> {
            if (!foreignForm(current))
                return std::nullopt;
            return ownForm(current);
        });
    } catch (const Error&) {
        // a store that cannot be written is still read
    }
    return ownForm(*bytes);
}

void checkKey(QStringView key) {
    if (!validKeyName(key))
        throw Error(err::InvalidArgument, u"Ungültiger Prozeduraufruf oder ungültiges Argument"_s);
}

void prepareFolder() {
    if (!files::ensureFolder(paths::configFolder()))
        fileio::raiseAccess();
}
} // namespace

QString filePath() {
    return paths::configFolder() + u"Tellmarin.ini"_s;
}

QString get(const QString& key, const QString& def) {
    // Values come back exactly as saved: blanks around them are part of them
    // (a separator like ", ").
    const auto bytes = content();
    if (!bytes)
        return def;
    return ini::text::find(*bytes, section(), key, ini::ValueForm::Exact).value_or(def);
}

bool contains(const QString& key) {
    const auto bytes = content();
    return bytes && ini::text::find(*bytes, section(), key).has_value();
}

bool validKeyName(QStringView key) {
    const QStringView name = key.trimmed();
    if (name.isEmpty() || name.startsWith(u';') || name.startsWith(u'#'))
        return false;
    for (const QChar c : key)
        if (c == u'=' || c == u'[' || c == u']' || c == u'\r' || c == u'\n')
            return false;
    return true;
}

void save(const QString& key, const QString& value) {
    checkKey(key);
    prepareFolder();
    content();
    ini::write(filePath(), section(), key, value);
}

void saveAll(std::span<const ini::text::KeyValue> values) {
    for (const auto& pair : values)
        checkKey(pair.key);
    prepareFolder();
    content();
    ini::writeAll(filePath(), section(), values);
}

} // namespace tlm::settingsstore
