// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// File services: existence, size, modification time, deletion, and listing by
// a Windows wildcard pattern ("?" one character, "*" any run, case-insensitive,
// as the "????????-????-*.call" patterns of the clean-up use them).
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tlm::files {

bool exists(const QString& path);
// True for a regular file reached without a symbolic link.
bool isRegularFile(const QString& path);
// True when both paths reach the same existing file (links followed).
bool sameFile(const QString& a, const QString& b);
qint64 size(const QString& path);         // raises 53 when missing
QDateTime modified(const QString& path);  // raises 53 when missing
bool remove(const QString& path);         // false when missing or not deletable
bool ensureFolder(const QString& folder); // creates it with its parents

// Which file a path names (device and inode, following links): tells a file
// replaced by another of the same name from the same file changed in place.
struct Identity {
    bool exists = false;
    quint64 device = 0;
    quint64 inode = 0;
    bool operator==(const Identity&) const = default;
};
Identity identity(const QString& path);

// Makes sure a folder for the user's own files can be used: a missing one is
// created for the user alone (mode 0700); an existing one must be a real
// folder (no link) of this user that nobody else may write. Empty when it can
// be used, else what is wrong with it ("gehört einem anderen Benutzer", ...).
QString prepareOwnFolder(const QString& folder);

bool wildcardMatch(const QString& pattern, const QString& name);
// Full paths of the files of folder whose names match pattern, sorted by name.
QStringList matching(const QString& folder, const QString& pattern);

} // namespace tlm::files
