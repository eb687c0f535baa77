// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The operations behind the options window's menu entries that scripts can
// also run without a window: the settings backup and its restore, and the
// clean-up of the work folder. Each tells its outcome in a message box (on
// standard error when nobody can answer one) and logs its errors.
#include <QString>

namespace tlm {
class Log;
}

namespace tlm::actions {

// subExportOptionen: writes the backup to path (default: the desktop file).
// With askToOpen the user may open the folder afterwards.
bool subExportOptionen(Log& log, const QString& path, bool askToOpen);

// Restores the settings from a backup file: all keys or, on an error, none
// (then the failure message). No message on success.
bool restoreSettings(Log& log, const QString& path);
// The message after a successful restore: the program ends now.
void tellRestoreEnds();

// Deletes the per-call logs, the last-call log and the program log of the
// work folder (not the per-call files, the index or the favourites).
void cleanUpLogs(Log& log);

// The information box: version, file description and legal notice.
QString infoText(const QString& programVersion);

} // namespace tlm::actions
