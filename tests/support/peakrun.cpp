// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "tests/support/peakrun.h"

#include <QCoreApplication>
#include <QProcess>

using namespace Qt::StringLiterals;

namespace tlm::test {

PeakRun runWithPeak(const QString& program, const QStringList& args) {
    const QString dir = QCoreApplication::applicationDirPath();
    QProcess run;
    run.start(dir + u"/peakrss"_s, QStringList{dir + u'/' + program} + args);
    PeakRun result;
    if (!run.waitForFinished(-1) || run.exitStatus() != QProcess::NormalExit)
        return result;
    result.exitCode = run.exitCode();
    result.standardError = run.readAllStandardError();
    // The program's own output comes first, the figure on the last line.
    const QList<QByteArray> lines = run.readAllStandardOutput().trimmed().split('\n');
    result.peakMiB = lines.last().toDouble() / 1024.0;
    return result;
}

} // namespace tlm::test
