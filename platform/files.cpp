// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/files.h"

#include "platform/fileio.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>

namespace tlm::files {
namespace {

QFileInfo existingFile(const QString& path) {
    QFileInfo info(path);
    if (!info.exists())
        fileio::raiseNotFound();
    return info;
}

bool sameChar(QChar a, QChar b) {
    return a == b || a.toCaseFolded() == b.toCaseFolded();
}

// "?" matches exactly one character, "*" any run; on a mismatch the last "*"
// takes one more character (linear backtracking, no recursion).
bool globMatch(QStringView pattern, QStringView name) {
    qsizetype p = 0, n = 0;
    qsizetype starP = -1, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && (pattern[p] == u'?' || sameChar(pattern[p], name[n]))) {
            ++p;
            ++n;
        } else if (starP >= 0) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*')
        ++p;
    return p == pattern.size();
}

} // namespace

Identity identity(const QString& path) {
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {};
    return {true, quint64(st.st_dev), quint64(st.st_ino)};
}

bool exists(const QString& path) {
    return !path.isEmpty() && QFileInfo::exists(path);
}

bool sameFile(const QString& a, const QString& b) {
    const Identity first = identity(a);
    return first.exists && first == identity(b);
}

bool isRegularFile(const QString& path) {
    struct stat st {};
    return !path.isEmpty() && ::lstat(QFile::encodeName(path).constData(), &st) == 0 &&
           S_ISREG(st.st_mode);
}

qint64 size(const QString& path) {
    return existingFile(path).size();
}

QDateTime modified(const QString& path) {
    return existingFile(path).lastModified();
}

bool remove(const QString& path) {
    const QFileInfo info(path);
    if (info.isDir() && !info.isSymLink())
        return false;
    return QFile::remove(path);
}

bool ensureFolder(const QString& folder) {
    return QDir().mkpath(folder);
}

QString prepareOwnFolder(const QString& folder) {
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/')))
        path.chop(1);
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    const QByteArray name = QFile::encodeName(path);
    if (::mkdir(name.constData(), 0700) != 0 && errno != EEXIST)
        return QStringLiteral("kann nicht angelegt werden");
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0 || !S_ISDIR(st.st_mode))
        return QStringLiteral("ist kein Ordner");
    if (st.st_uid != ::geteuid())
        return QStringLiteral("gehört einem anderen Benutzer");
    if ((st.st_mode & (S_IWGRP | S_IWOTH)) != 0)
        return QStringLiteral("ist für andere beschreibbar");
    return {};
}

bool wildcardMatch(const QString& pattern, const QString& name) {
    // As on Windows, "*.*" also takes names without an extension.
    if (pattern == QLatin1String("*.*"))
        return true;
    return globMatch(pattern, name);
}

QStringList matching(const QString& folder, const QString& pattern) {
    const QDir dir(folder);
    QStringList names;
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QString& name : entries) {
        if (wildcardMatch(pattern, name))
            names << name;
    }
    std::sort(names.begin(), names.end(), [](const QString& a, const QString& b) {
        const int c = a.compare(b, Qt::CaseInsensitive);
        return c != 0 ? c < 0 : a < b;
    });
    QStringList paths;
    paths.reserve(names.size());
    const QString prefix = folder.endsWith(u'/') ? folder : folder + u'/';
    for (const QString& name : std::as_const(names))
        paths << prefix + name;
    return paths;
}

} // namespace tlm::files
