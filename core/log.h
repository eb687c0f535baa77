// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The program log (work folder + "Tellmarin.log") and the per-call logs
// (work folder + call id + ".log"): progress lines through subLog, error
// lines through the error exits, and the two housekeeping steps.
#include "platform/error.h"

#include <QString>
#include <functional>

namespace tlm {

struct Params;

// How a procedure's error line begins and separates number and description:
// " mdlMain." + procedure + "_" + step + ": Err " + number + separator + text.
struct ErrorExit {
    QString procedure;
    QString separator = QStringLiteral(": ");
};

class Log {
public:
    Log(QString workFolder, int debug, const Params* params);

    int debug() const { return m_debug; }
    void setDebug(int debug) { m_debug = debug; }
    int step() const { return m_step; }
    void setStep(int step) { m_step = step; }
    const QString& workFolder() const { return m_workFolder; }
    QString programLogPath() const;
    QString callLogPath() const;

    // A progress line; nothing when Debug is 0. Lines with step >= 30000 go to
    // the per-call log, the others to the program log.
    void subLog(const QString& text, int step);

    // Appends an error line to the program log, whatever Debug says.
    void errorLine(const ErrorExit& exit, long number, const QString& description);
    void errorLine(const ErrorExit& exit, const Error& error) {
        errorLine(exit, error.number(), error.description());
    }
    // Appends a line as it stands to the program log (error lines of their
    // own layout); failures are ignored.
    void appendProgramLog(const QString& line);

    // Runs one statement; an error is written as an error line and the caller
    // goes on with the next statement.
    void guard(const ErrorExit& exit, const std::function<void()>& statement);

private:
    QString m_workFolder;
    int m_debug;
    const Params* m_params;
    int m_step = 0;
};

// Runs one statement whose errors are ignored without a line.
void ignoreErrors(const std::function<void()>& statement);

// The names of per-call files and logs: eight characters, "-", four, "-",
// any rest, then "." and the extension.
QString callFilePattern(const QString& extension);

// Cuts or pads text with blanks to exactly width characters.
QString fitted(const QString& text, int width);
// The call id of a parameter array made fit for a file name in the work folder.
QString callFileBaseName(const Params& params);

void subCheckLogSize(Log& log);
void subClearOldCallFiles(Log& log, int logDays);

// The program start line.
QString programStartLine();

} // namespace tlm
