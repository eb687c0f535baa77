// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/log.h"

#include "core/params.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/texts.h"

#include <QDate>

namespace tlm {
namespace {
constexpr int LineWidth = 110;
constexpr int CallLogFromStep = 30000;
constexpr qint64 MaxProgramLogSize = 5242880;

QString stamp() {
    return texts::dateTime(clock::now());
}

bool isSeparatorLine(const QString& text) {
    return text.startsWith(QStringLiteral("*** "));
}

QString plural(int count, const QString& word) {
    const QString number = count == 0 ? QStringLiteral("keine") : QString::number(count);
    return number + QLatin1Char(' ') + word + (count == 1 ? QString() : QStringLiteral("en"));
}

// Deletes the files of pattern older than logDays calendar days; returns the count.
int deleteOlderThan(const QString& folder, const QString& pattern, int logDays) {
    const QDate today = clock::today();
    int count = 0;
    for (const QString& path : files::matching(folder, pattern)) {
        try {
            const qint64 age = files::modified(path).date().daysTo(today);
            if (age > logDays && files::remove(path))
                ++count;
        } catch (const Error&) {
            // a file that vanished or cannot be read is skipped
        }
    }
    return count;
}
} // namespace

Log::Log(QString workFolder, int debug, const Params* params)
    : m_workFolder(std::move(workFolder)), m_debug(debug), m_params(params) {}

QString Log::programLogPath() const {
    return m_workFolder + QStringLiteral("Tellmarin.log");
}

QString Log::callLogPath() const {
    static const Params none;
    return m_workFolder + callFileBaseName(m_params ? *m_params : none) + QStringLiteral(".log");
}

void Log::subLog(const QString& text, int step) {
    if (m_debug == 0)
        return;
    if (step > 0)
        m_step = step;
    const QString path = step >= CallLogFromStep ? callLogPath() : programLogPath();
    QString body = text;
    if (isSeparatorLine(text))
        body =
            QString(text + QLatin1Char(' ') + QString(LineWidth, QLatin1Char('*'))).left(LineWidth);
    QString line =
        stamp() + QStringLiteral(" * ") + fitted(QString::number(m_step.number()), 6);
    if (!body.isEmpty())
        line += QStringLiteral(" * ") + body;
    try {
        textfile::appendLine(path, line.left(LineWidth));
        if (isSeparatorLine(text))
            textfile::appendLine(path, QString());
    } catch (const Error&) {
        // logging never stops processing
    }
}

QString Step::digits() const {
    return QStringLiteral("%1").arg(m_number, 5, 10, QLatin1Char('0'));
}

QString errorLineText(const ErrorExit& exit, const Step& step, long number,
                      const QString& description) {
    const QString place = exit.windowHandler
                              ? QString(QLatin1Char(' ') + exit.procedure + QStringLiteral("()"))
                              : QString(QStringLiteral(" mdlMain.") + exit.procedure);
    return place + QLatin1Char('_') + step.digits() + QStringLiteral(": Err ") +
           QString::number(number) + exit.separator + description;
}

void Log::errorLine(const ErrorExit& exit, const Step& step, long number,
                    const QString& description) {
    appendProgramLog(stamp() + errorLineText(exit, step, number, description));
}

void Log::appendProgramLog(const QString& line) {
    try {
        textfile::appendLine(programLogPath(), line);
    } catch (const Error&) {
    }
}

void Log::guard(const ErrorExit& exit, const std::function<void()>& statement) {
    try {
        statement();
    } catch (const Error& e) {
        errorLine(exit, e);
    } catch (const std::exception& e) {
        errorLine(exit, 51, QString::fromLocal8Bit(e.what()));
    }
}

void ignoreErrors(const std::function<void()>& statement) {
    try {
        statement();
    } catch (const Error&) {
    }
}

QString callFilePattern(const QString& extension) {
    return QString(8, QLatin1Char('?')) + QLatin1Char('-') + QString(4, QLatin1Char('?')) +
           QStringLiteral("-*.") + extension;
}

QString fitted(const QString& text, int width) {
    return text.left(width).leftJustified(width, QLatin1Char(' '));
}

QString callFileBaseName(const Params& params) {
    // The call id comes from outside: characters that cannot stand in a file
    // name or could lead out of the work folder become "_".
    static const QString forbidden = QStringLiteral("/\\:*?\"<>|");
    QString name = params.callId();
    for (QChar& c : name) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f || forbidden.contains(c))
            c = QLatin1Char('_');
    }
    if (name.startsWith(QLatin1Char('.')))
        name.prepend(QLatin1Char('_'));
    return name;
}

void subCheckLogSize(Log& log) {
    const QString path = log.programLogPath();
    ignoreErrors([&] {
        if (!files::exists(path))
            return;
        if (files::size(path) <= MaxProgramLogSize) {
            log.subLog(QStringLiteral(" 2/16 - Programm-Logdatei geprüft (< 5MB)"), 10200);
        } else {
            log.subLog(QStringLiteral(" 2/16 - Programm-Logdatei gelöscht (> 5MB)"), 10200);
            files::remove(path);
        }
    });
}

void subClearOldCallFiles(Log& log, int logDays) {
    const QString indent = QString(8, QLatin1Char(' ')) + QStringLiteral("...");
    int count = deleteOlderThan(log.workFolder(), callFilePattern(QStringLiteral("call")), logDays);
    log.subLog(indent + plural(count, QStringLiteral("CALL-Datei")) + QStringLiteral(" gelöscht"),
               10510);
    count = deleteOlderThan(log.workFolder(), callFilePattern(QStringLiteral("log")), logDays);
    log.subLog(indent + plural(count, QStringLiteral("LOG-Datei")) + QStringLiteral(" gelöscht"),
               10520);
}

QString programStartLine() {
    const QString line = QString(15, QLatin1Char('~')) + QStringLiteral(" Programmstart ") +
                         QString(60, QLatin1Char('~'));
    return line.left(76);
}

} // namespace tlm
