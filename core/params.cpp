// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/params.h"

#include "core/log.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/textfile.h"
#include "platform/texts.h"

namespace tlm {

const QString placeholderTemplate = QStringLiteral(
    "%NUMBER% %NUMBER_NORM% %LINE_NUMBER% %LINE_NAME% %MENU_OPTION% %INVOKED_FROM% %OUTBOUND% "
    "%TIMESTAMP% %DURATION% %CALLLOG_STATE% %P_CALL_ID% %UID% %FIRST_NAME% %LAST_NAME% %COMPANY% "
    "%ADR_STREET% %ADR_ZIP% %ADR_CITY% %ADR_COUNTRY% ");

namespace {
const QChar EmptyMarker(0x00B0); // "°" keeps the place of an empty quoted argument
const QChar BlankMarker(u'^');   // a blank inside a quoted argument
const QChar Separator(u'|');

QString quote() {
    return QStringLiteral("\"");
}

// Replaces the blanks inside quoted arguments by "^" and the quotes around them by
// "|". Positions are 1-based as the search rules are stated.
QString protectQuoted(QString text) {
    while (text.contains(QLatin1Char('"'))) {
        const qsizetype p1 = text.indexOf(QStringLiteral(" \"")) + 1;
        // Without a blank before a quote, only a quote at the very start opens an
        // argument; anything else would lose characters and is left as it stands.
        if (p1 == 0 && !text.startsWith(QLatin1Char('"')))
            break;
        const qsizetype p2 = text.indexOf(QStringLiteral("\" "), p1 + 1) + 1;
        if (p2 == 0)
            break;
        QString content = text.mid(p1 + 1, p2 - p1 - 2);
        content.replace(QLatin1Char(' '), BlankMarker);
        const QString head = p1 == 0 ? QString() : text.left(p1) + Separator;
        text = head + content + Separator + text.mid(p2);
    }
    return text;
}

QString normaliseSeparators(QString text) {
    text.replace(QStringLiteral("  "), QStringLiteral(" "));
    text.replace(QLatin1Char(' '), Separator);
    text.replace(QStringLiteral("|||"), QStringLiteral("|"));
    text.replace(QStringLiteral("||"), QStringLiteral("|"));
    if (text.endsWith(Separator))
        text.chop(1);
    return text;
}

QString lastCallHead(const QString& commandLine, const QString& versionText,
                     const QString& programFolder) {
    QString block = versionText;
    block.replace(QLatin1Char('\r'), QStringLiteral("\r\n"));
    const bool areaCodes = files::exists(programFolder + QStringLiteral("tlVorwahlen.txt"));
    return QStringLiteral("\r\n") + block + QStringLiteral("\r\n") +
           QStringLiteral("AGFEO CTI-Client Aufruf am: ") + texts::dateTime(clock::now()) +
           QStringLiteral("\r\n") +
           (areaCodes ? QStringLiteral("DE-Vorwahlverzeichnis     : OK - vorhanden")
                      : QStringLiteral("DE-Vorwahlverzeichnis     : FEHLER - nicht vorhanden!")) +
           QStringLiteral("\r\n") + QStringLiteral("AGFEO CTI-Client Aufruf   : ") + commandLine +
           QStringLiteral("\r\n");
}

QString parameterLine(int index, const QString& name, const QString& value) {
    QString line = QString::number(index).rightJustified(2, QLatin1Char(' ')) + QLatin1Char(' ') +
                   fitted(name, 15) + QLatin1Char(' ') + value;
    if (index == P_OUTBOUND)
        line += value == QStringLiteral("0") ? QStringLiteral(" - eingehend")
                                             : QStringLiteral(" - ausgehend");
    return line;
}

QString tableHead() {
    return QStringLiteral(" #") + QLatin1Char(' ') + fitted(QStringLiteral("Parameter"), 15) +
           QLatin1Char(' ') + fitted(QStringLiteral("Wert"), 57) + QStringLiteral("\r\n") +
           QString(76, QLatin1Char('-'));
}
} // namespace

QString Params::callId() const {
    const QString& id = values[P_P_CALL_ID];
    return id.isEmpty() ? QStringLiteral("00000000-0000-") + values[P_NUMBER] : id;
}

QString rawCommandLine(const QStringList& arguments) {
    QStringList parts;
    parts.reserve(arguments.size());
    for (const QString& a : arguments) {
        if (a.isEmpty())
            parts << quote() + quote();
        else if (a.contains(QLatin1Char(' ')))
            parts << quote() + a + quote();
        else
            parts << a;
    }
    return parts.join(QLatin1Char(' '));
}

void subC2P(const QString& commandLine, Params& params, Log& log, const QString& versionText,
            const QString& workFolder, const QString& programFolder) {
    log.setStep(10700);
    if (commandLine.isEmpty())
        return;
    const ErrorExit exit{QStringLiteral("subC2P"), QStringLiteral(": ")};
    const QString logPath = workFolder + QStringLiteral("tlmLastCall.log");
    // The whole log is built in memory and written at the end, in one go.
    QString out;
    log.guard(exit, [&] {
        files::remove(logPath);
        out = lastCallHead(commandLine, versionText, programFolder);
    });

    QString text = commandLine;
    text.replace(QStringLiteral("\"\""), QString(EmptyMarker));
    if (text.trimmed().isEmpty()) {
        log.guard(exit, [&] { textfile::write(logPath, out); });
        return;
    }
    text = normaliseSeparators(protectQuoted(text));
    out += QString(16, QLatin1Char(' ')) + QStringLiteral("-bereinigt: ") + text +
           QStringLiteral("\r\n\r\n") + tableHead() + QStringLiteral("\r\n");

    QStringList elements = text.split(Separator);
    elements.resize(std::max<qsizetype>(elements.size(), ParamCount));
    const QString first = elements[0];
    params.internalCall = first.startsWith(QLatin1Char('i')) || first.startsWith(QLatin1Char('#'));
    if (params.internalCall) {
        elements[0] = QLatin1Char('#') + first.mid(1);
        elements[1] = elements[0];
    }
    elements.resize(ParamCount);

    const QStringList names = placeholderTemplate.split(QLatin1Char(' '));
    for (int i = 0; i < ParamCount; ++i) {
        QString value = elements[i];
        value.remove(EmptyMarker);
        value.replace(BlankMarker, QLatin1Char(' '));
        value = value.trimmed();
        params.values[static_cast<size_t>(i)] = value;
        QString name = names[i];
        name.remove(QLatin1Char('%'));
        out += parameterLine(i, name, value) + QStringLiteral("\r\n");
    }
    params.isSet = true;
    log.guard(exit, [&] { textfile::write(logPath, out); });
}

} // namespace tlm
