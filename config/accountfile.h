// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The account file that registers the program with the AGFEO Dashboard
// client: which executable it starts, with which arguments, for which call
// events and with which menu entries.
#include <QDateTime>
#include <QString>

namespace tlm {
class Log;
}

namespace tlm::dashboard {

// True for a client version "a.b.c[.d]" of 1.14.4 or later.
bool versionAccepted(const QString& version);

// A path as the account file writes it: with "/" as separator.
QString accountPath(const QString& path);

// The file's text: LF line ends, the last line ending CR LF, TAB indents,
// string values escaped as JSON requires (non-ASCII characters unchanged).
// programFolder without a trailing separator.
QString accountFileText(const QString& programFolder, const QString& executable,
                        const QDateTime& created);

// The program's executable in its folder, as the client starts it.
QString programExecutable();

enum class Outcome { Configured, NoClient, Incompatible, WriteFailed };

// Checks the client in the ClientDashboard folder, writes the account file
// into the work folder and hands it to the shell; every outcome is told in a
// message box. A file that cannot be written is logged and reported, and
// nothing is handed to the shell.
Outcome subKlickConfig(Log& log);

} // namespace tlm::dashboard
