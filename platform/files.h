#pragma once
// File services: existence, size, modification time, deletion, and listing by
// a Windows wildcard pattern ("?" one character, "*" any run, case-insensitive,
// as the "????????-????-*.call" patterns of the clean-up use them).
#include <QDateTime>
#include <QString>
#include <QStringList>

namespace tlm::files {

bool exists(const QString& path);
qint64 size(const QString& path);         // raises 53 when missing
QDateTime modified(const QString& path);  // raises 53 when missing
bool remove(const QString& path);         // false when missing or not deletable
bool ensureFolder(const QString& folder); // creates it with its parents

bool wildcardMatch(const QString& pattern, const QString& name);
// Full paths of the files of folder whose names match pattern, sorted by name.
QStringList matching(const QString& folder, const QString& pattern);

} // namespace tlm::files
