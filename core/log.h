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

// How an error line names the place of the error and separates number and
// description. A procedure of the program: " mdlMain." + procedure, a
// window's handler: " " + window + "." + handler + "()"; then "_" + step +
// ": Err " + number + separator + text.
struct ErrorExit {
    QString procedure;
    QString separator = QStringLiteral(": ");
    bool windowHandler = false;

    // The exit of a window's handler, named "window.handler".
    static ErrorExit handler(const QString& windowAndHandler) {
        return {windowAndHandler, QStringLiteral("..."), true};
    }
};

// The step a procedure or a window's handler has reached: error lines name
// it in five digits. The program's procedures share the log's step, which
// their progress lines advance; a window's handler carries a step of its own.
class Step {
public:
    constexpr Step() = default;
    constexpr explicit Step(int number) : m_number(number) {}
    int number() const { return m_number; }
    Step& operator=(int number) {
        m_number = number;
        return *this;
    }
    Step& operator++() {
        ++m_number;
        return *this;
    }
    // The step as an error line shows it: five digits, zeros in front.
    QString digits() const;

private:
    int m_number = 0;
};

// The one layout of an error line, without its leading date and time.
QString errorLineText(const ErrorExit& exit, const Step& step, long number,
                      const QString& description);

class Log {
public:
    Log(QString workFolder, int debug, const Params* params);

    int debug() const { return m_debug; }
    void setDebug(int debug) { m_debug = debug; }
    const Step& step() const { return m_step; }
    void setStep(int step) { m_step = step; }
    const QString& workFolder() const { return m_workFolder; }
    QString programLogPath() const;
    QString callLogPath() const;

    // A progress line; nothing when Debug is 0. Lines with step >= 30000 go to
    // the per-call log, the others to the program log.
    void subLog(const QString& text, int step);

    // Appends an error line to the program log, whatever Debug says; at the
    // log's step unless a handler's own step is given.
    void errorLine(const ErrorExit& exit, const Step& step, long number,
                   const QString& description);
    void errorLine(const ErrorExit& exit, long number, const QString& description) {
        errorLine(exit, m_step, number, description);
    }
    void errorLine(const ErrorExit& exit, const Step& step, const Error& error) {
        errorLine(exit, step, error.number(), error.description());
    }
    void errorLine(const ErrorExit& exit, const Error& error) { errorLine(exit, m_step, error); }
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
    Step m_step;
};

// Runs one statement whose errors (the program's own error type) are ignored
// without a line; anything else, a failed allocation or a broken invariant,
// goes on to the caller.
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
