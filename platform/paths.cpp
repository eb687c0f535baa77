// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

using namespace Qt::StringLiterals;

namespace tlm::paths {
namespace {

QString withSlash(QString folder) {
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder;
}

QString& programFolderOverride() {
    static QString folder;
    return folder;
}

// An XDG base folder: the variable when it holds an absolute path, else the
// default below the home folder.
QString xdgFolder(const char* variable, const QString& defaultBelowHome) {
    const QString value = qEnvironmentVariable(variable);
    if (!value.isEmpty() && QDir::isAbsolutePath(value))
        return withSlash(value);
    return withSlash(QDir::homePath()) + defaultBelowHome;
}

} // namespace

QString workFolder() {
    QString temp = qEnvironmentVariable("TEMP");
    if (temp.isEmpty())
        temp = qEnvironmentVariable("TMPDIR");
    if (temp.isEmpty())
        temp = u"/tmp"_s;
    return withSlash(temp) + u"Tellmarin/"_s;
}

QString programFolder() {
    if (!programFolderOverride().isEmpty())
        return programFolderOverride();
    if (QCoreApplication::instance())
        return withSlash(QCoreApplication::applicationDirPath());
    const QFileInfo exe(u"/proc/self/exe"_s);
    const QString target = exe.canonicalFilePath();
    if (!target.isEmpty())
        return withSlash(QFileInfo(target).absolutePath());
    return withSlash(QDir::currentPath());
}

void setProgramFolder(const QString& folder) {
    programFolderOverride() = folder.isEmpty() ? QString() : withSlash(folder);
}

QString configFolder() {
    return xdgFolder("XDG_CONFIG_HOME", u".config/"_s) + u"Orvensoft/"_s;
}

QString dataFolder() {
    return xdgFolder("XDG_DATA_HOME", u".local/share/"_s) + u"Orvensoft/"_s;
}

QString join(QString folder, const QString& file) {
    while (folder.endsWith(u'\\') || folder.endsWith(u'/'))
        folder.chop(1);
    return folder + u'/' + file;
}

} // namespace tlm::paths
