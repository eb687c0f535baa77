// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// When an existing contact index of the day is rebuilt, by the Refresh level.
#include <QDateTime>
#include <QList>
#include <QString>

namespace tlm {

struct RebuildReason {
    QString text;
    int step; // the log step of the line; 0 keeps the current one
};

// The reasons to rebuild an index last modified at modified, at now, for the
// Refresh level given as text ("0" to "3"; any other value never rebuilds).
// Empty: the index is fresh enough.
QList<RebuildReason> indexRebuildReasons(const QString& refresh, const QDateTime& modified,
                                         const QDateTime& now);

} // namespace tlm
