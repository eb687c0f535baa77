// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The commands of tellmarin-pim and what they share; used by tool.cpp.
#include "store/pimstore.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>

class QFile;
class QIODevice;
class QTextStream;

namespace tlm::pim::tool {

// A call that does not fit the command (shown with the hint to --help).
struct UsageError {
    QString text;
};

struct Invocation {
    QString storePath;              // the store file (never empty)
    QStringList args;               // the arguments after the command
    QMap<QString, QString> options; // "folder" -> value, for --folder VALUE
    QTextStream* out = nullptr;
    QTextStream* err = nullptr;

    QString option(const QString& name) const { return options.value(name); }
};

void create(const Invocation& call);
void addFolder(const Invocation& call);
void importVcard(const Invocation& call);
void exportVcard(const Invocation& call);
void loadJson(const Invocation& call);
void dumpJson(const Invocation& call);
void list(const Invocation& call);
void inspectors(const Invocation& call);
void closeInspector(const Invocation& call);
void options(const Invocation& call);

// Shared by the commands --------------------------------------------------

// Opens the store of the call; Create::Never reports a missing file with a
// hint to "create".
Store openStore(const Invocation& call, Store::Create mode);

// A folder given as "\\Store\A\B" or, relative to the default store, "A\B".
// Empty text: the default folder of that number.
FolderInfo folderArg(const Store& store, const QString& text, int defaultFolder);
// The full path for such a text.
QString fullFolderPath(const Store& store, const QString& text);

// Opens a file to read (53 missing, 75 unreadable).
void openInput(QFile& f);
// Writes a whole file atomically, or to out for "-".
// Writes to path, "-" for standard output (out).
void writeOutput(const QString& path, const std::function<void(QIODevice&)>& write,
                 QTextStream& out);
void writeOutput(const QString& path, const QByteArray& data, QTextStream& out);

} // namespace tlm::pim::tool
