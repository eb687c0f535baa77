// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Runs one of the build's programs through the helper peakrss, so that the
// figure is the program's own peak resident memory and not inflated by the
// memory of the test process.
#include <QString>
#include <QStringList>

namespace tlm::test {

struct PeakRun {
    int exitCode = -1; // -1 when it did not end normally
    double peakMiB = -1;
    QByteArray standardError;
};

// program: a file name in the folder of the test executable.
PeakRun runWithPeak(const QString& program, const QStringList& args);

} // namespace tlm::test
