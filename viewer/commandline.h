// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The viewer's command line: tellmarin-viewer [--create] [--autostart] [--store FILE],
// --help and --version.
#include <QString>
#include <QStringList>

namespace tlm::viewer {

struct CommandLine {
    enum class Action { Run, Help, Version, Wrong };
    Action action = Action::Run;
    bool create = false; // make the store when it is missing
    // Started with the desktop session: without a store it ends quietly
    // instead of asking at every login.
    bool sessionStart = false;
    QString store;       // --store FILE; else the store's default path
    QString error;       // what is wrong with a Wrong command line
};

// args without the program's name.
CommandLine parseCommandLine(const QStringList& args);
QString helpText();
QString versionText();

// The text that tells a user that path holds no store and how to make one.
QString missingStoreText(const QString& path);

} // namespace tlm::viewer
