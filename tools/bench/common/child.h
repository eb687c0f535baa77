// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Running another program as a benchmark's child: its wall time and peak
// memory.
#include <QString>
#include <QStringList>
#include <sys/types.h>

namespace tlm::bench {

struct Usage {
    double ms = 0;
    double mib = 0; // peak resident memory
    bool ran = true; // started and ended normally
};

// Runs program with args, its output to /dev/null, and measures it.
Usage runChild(const QString& program, const QStringList& args);
// Starts program with args, its output to /dev/null, and returns at once
// (0: it did not start). Spawned: a large benchmark process is not copied.
pid_t startChild(const QString& program, const QStringList& args);

} // namespace tlm::bench
