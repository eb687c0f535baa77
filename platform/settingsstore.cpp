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

#include <QFile>
#include <mutex>
#include <optional>
#include <sys/stat.h>

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

// What identifies one state of the settings file: a write by any process
// replaces the file (another inode) or changes its size or times.
struct FileState {
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = -1;
    timespec modified{};
    timespec changed{};

    static std::optional<FileState> of(const QString& path) {
        struct stat st {};
        if (::stat(QFile::encodeName(path).constData(), &st) != 0)
            return std::nullopt;
        return FileState{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
    }
    bool operator==(const FileState& o) const {
        return device == o.device && inode == o.inode && size == o.size &&
               modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec &&
               changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

// The settings file as this process last read or wrote it. A call event
// reads some fifty keys; the file is read and decoded once and read again
// only when another process (or an editor) has changed it since, which one
// look at the file's state tells.
struct Snapshot {
    QString path;
    FileState state;
    QByteArray bytes;
};

std::optional<Snapshot>& snapshot() {
    static std::optional<Snapshot> kept;
    return kept;
}

// The snapshot is the process's, whichever thread reads a setting.
std::mutex& snapshotMutex() {
    static std::mutex mutex;
    return mutex;
}

// Keeps bytes as the file's content in its present state; called under the
// writers' lock after a write, so that no other writer comes in between.
void keep(const QString& path, const QByteArray& bytes) {
    const auto state = FileState::of(path);
    const std::lock_guard lock(snapshotMutex());
    if (state)
        snapshot() = Snapshot{path, *state, bytes};
    else
        snapshot().reset();
}

// The settings file's bytes as read now; one in a foreign form is written
// back in the store's own form first, so that no key is lost or read twice.
std::optional<QByteArray> readNow(const QString& path) {
    const auto bytes = fileio::readAll(path);
    if (!bytes || !foreignForm(*bytes))
        return bytes;
    try {
        ini::rewrite(path, [](const QByteArray& current) -> std::optional<QByteArray> {
            if (!foreignForm(current))
                return std::nullopt;
            return ownForm(current);
        });
    } catch (const Error&) {
        // a store that cannot be written is still read
    }
    return ownForm(*bytes);
}

// The settings file's bytes, from the snapshot while the file is as it was.
std::optional<QByteArray> content() {
    const QString path = filePath();
    // The state is taken before the read: a change in between makes the next
    // look read the file again.
    const auto state = FileState::of(path);
    {
        const std::lock_guard lock(snapshotMutex());
        const auto& kept = snapshot();
        if (state && kept && kept->path == path && kept->state == *state)
            return kept->bytes;
    }
    auto bytes = readNow(path);
    const std::lock_guard lock(snapshotMutex());
    if (bytes && state)
        snapshot() = Snapshot{path, *state, *bytes};
    else
        snapshot().reset();
    return bytes;
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
    const auto current = content();
    // A value the file already holds leaves it as it is: no write at all.
    if (current && ini::text::withValue(*current, section(), key, value) == *current)
        return;
    const QString path = filePath();
    ini::write(path, section(), key, value,
               [&](const QByteArray& written) { keep(path, written); });
}

void saveAll(std::span<const ini::text::KeyValue> values) {
    for (const auto& pair : values)
        checkKey(pair.key);
    prepareFolder();
    content();
    const QString path = filePath();
    ini::writeAll(path, section(), values,
                  [&](const QByteArray& written) { keep(path, written); });
}

} // namespace tlm::settingsstore
