// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/inifile.h"

#include "platform/atomicfile.h"
#include "platform/fileio.h"
#include "platform/inifind.h"
#include "platform/initext.h"
#include "platform/paths.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace tlm::ini {
namespace {

// An exclusive advisory lock on a folder, held for the object's lifetime.
// Locking the folder instead of the file leaves no lock files behind and
// survives the file being replaced by rename.
class FolderLock {
public:
    explicit FolderLock(const QString& folder) {
        m_fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd < 0)
            fileio::raiseAccess();
        // A file system without flock still gets the atomic replacement.
        while (::flock(m_fd, LOCK_EX) != 0 && errno == EINTR) {
        }
    }
    ~FolderLock() { ::close(m_fd); }
    FolderLock(const FolderLock&) = delete;
    FolderLock& operator=(const FolderLock&) = delete;

private:
    int m_fd = -1;
};

// The file a write goes to: a symbolic link is followed, so that the link
// stays a link, except in the work folder, whose files are never reached
// through a link.
QString writeTarget(const QString& file) {
    if (file.startsWith(paths::workFolder()))
        return file;
    struct stat st {};
    if (::lstat(QFile::encodeName(file).constData(), &st) == 0 && S_ISLNK(st.st_mode)) {
        const QString target = QFileInfo(file).symLinkTarget();
        if (!target.isEmpty())
            return target;
    }
    return file;
}

QString cut(QString value, int maxLength) {
    if (maxLength < 0 || value.size() <= maxLength)
        return value;
    value.truncate(maxLength);
    if (!value.isEmpty() && value.back().isHighSurrogate())
        value.chop(1); // never leave half a character
    return value;
}

} // namespace

std::optional<QString> find(const QString& file, const QString& section, const QString& key,
                            ValueForm form) {
    const auto content = fileio::readAll(file);
    if (!content)
        return std::nullopt;
    return text::find(*content, section, key, form);
}

QString read(const QString& file, const QString& section, const QString& key, int maxLength) {
    return cut(find(file, section, key).value_or(QString()), maxLength);
}

void rewrite(const QString& file,
             const std::function<std::optional<QByteArray>(const QByteArray&)>& transform) {
    const QString target = writeTarget(file);
    const FolderLock lock(QFileInfo(target).absolutePath());
    const auto content = fileio::readAll(target);
    if (!content)
        return;
    if (const auto replaced = transform(*content))
        atomicfile::replace(target, *replaced);
}

namespace {
// Replaces the file (a missing one counts as empty) with what change makes
// of its bytes, under the writers' lock; an unchanged file is not touched.
void update(const QString& file, const std::function<QByteArray(const QByteArray&)>& change,
            const Written& written = {}) {
    const QString target = writeTarget(file);
    const FolderLock lock(QFileInfo(target).absolutePath());
    bool missing = false;
    const auto content = fileio::readAll(target, &missing);
    if (!content && !missing)
        fileio::raiseAccess();
    const QByteArray old = content.value_or(QByteArray());
    const QByteArray updated = change(old);
    if (!content || updated != old)
        atomicfile::replace(target, updated);
    if (written)
        written(updated);
}

bool isBlankLineEntry(const QString& section, const QString& key, const QString& value) {
    const Entry blank = blankLine();
    return section == blank.section && key == blank.key && value == blank.value;
}

QByteArray withEntry(const QByteArray& content, const QString& section, const QString& key,
                     const QString& value) {
    return isBlankLineEntry(section, key, value) ? text::withBlankLine(content)
                                                 : text::withValue(content, section, key, value);
}
} // namespace

void write(const QString& file, const QString& section, const QString& key, const QString& value,
           const Written& written) {
    update(
        file, [&](const QByteArray& old) { return withEntry(old, section, key, value); }, written);
}

void writeAll(const QString& file, const QString& section, std::span<const text::KeyValue> values,
              const Written& written) {
    update(
        file,
        [&](const QByteArray& content) { return text::withValues(content, section, values); },
        written);
}

Entry blankLine() {
    const QString dash = u"-"_s;
    return {dash, dash, dash};
}

void writeSeries(const QString& file, std::span<const Entry> entries) {
    update(file, [&](const QByteArray& content) {
        QByteArray result = content;
        // Keys of one section in a row are set in one pass over the text.
        for (auto at = entries.begin(); at != entries.end();) {
            if (isBlankLineEntry(at->section, at->key, at->value)) {
                result = text::withBlankLine(result);
                ++at;
                continue;
            }
            QList<text::KeyValue> values;
            auto end = at;
            for (; end != entries.end() && end->section == at->section &&
                   !isBlankLineEntry(end->section, end->key, end->value);
                 ++end)
                values.append({end->key, end->value});
            result = text::withValues(result, at->section, values);
            at = end;
        }
        return result;
    });
}

} // namespace tlm::ini
