#include "core/callfile.h"

#include "core/run.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/texts.h"

namespace tlm {
namespace {
constexpr int MaxValueLength = 254;

QString durationSeconds(const QString& duration) {
    try {
        return QString::number(toInteger(duration));
    } catch (const Error&) {
        return QStringLiteral("0");
    }
}
} // namespace

void subIniWrite(const QString& file, const QString& section, const QString& key,
                 const QString& value) {
    ini::write(file, section, key, value);
}

QString fncIniRead(const QString& file, const QString& section, const QString& key) {
    return ini::read(file, section, key, MaxValueLength);
}

QString callFilePath(const Run& run) {
    return run.env.workFolder + callFileBaseName(run.params) + QStringLiteral(".call");
}

void createOrUpdateCallFile(Run& run) {
    const QString file = callFilePath(run);
    const Params& p = run.params;
    const QString dash = QStringLiteral("-");
    const auto blankLine = [&] { subIniWrite(file, dash, dash, dash); };
    const auto write = [&](const QString& section, const QString& key, const QString& value) {
        subIniWrite(file, section, key, value);
    };
    const QString call = QStringLiteral("Call");
    const QString contact = QStringLiteral("Contact");
    const QString timestamps = QStringLiteral("Timestamps");

    const bool isNew = !files::exists(file);
    if (isNew) {
        run.log.subLog(QStringLiteral("11/15 - CALL-Datei erstellen: ") +
                           file.mid(file.lastIndexOf(QLatin1Char('/')) + 1),
                       11100);
        write(QStringLiteral("Program"), QStringLiteral("ContactChoiceDialogue"), QString());
        blankLine();
        write(call, QStringLiteral("Item-ID"), QString());
    } else {
        run.log.subLog(QStringLiteral("11/15 - CALL-Datei aktualisieren"), 11100);
    }
    write(call, QStringLiteral("Calllog_State"), p[P_CALLLOG_STATE]);
    write(call, QStringLiteral("Line"), p[P_LINE_NUMBER]);
    write(call, QStringLiteral("LineName"), p[P_LINE_NAME]);
    write(call, QStringLiteral("Number"), p[P_NUMBER]);
    write(call, QStringLiteral("NumberNorm"), p[P_NUMBER_NORM]);
    if (isNew)
        write(call, QStringLiteral("NumType"), QStringLiteral("1"));
    write(call, QStringLiteral("Outbound"), p[P_OUTBOUND]);
    write(call, QStringLiteral("PCallID"), p[P_P_CALL_ID]);
    if (isNew) {
        blankLine();
        write(contact, QStringLiteral("Contact-ID"), QString());
    }
    write(contact, QStringLiteral("First_Name"), p[P_FIRST_NAME]);
    write(contact, QStringLiteral("Last_Name"), p[P_LAST_NAME]);
    write(contact, QStringLiteral("Company"), p[P_COMPANY]);
    write(contact, QStringLiteral("Adr_Street"), p[P_ADR_STREET]);
    write(contact, QStringLiteral("Adr_Zip"), p[P_ADR_ZIP]);
    write(contact, QStringLiteral("Adr_City"), p[P_ADR_CITY]);
    write(contact, QStringLiteral("Adr_Country"), p[P_ADR_COUNTRY]);
    if (isNew)
        blankLine();
    write(timestamps, QStringLiteral("TimeStamp"), p[P_TIMESTAMP]);
    write(timestamps, QStringLiteral("Duration"), p[P_DURATION]);
    if (isNew) {
        blankLine();
        write(QStringLiteral("Environment"), QStringLiteral("Version"), run.env.programVersion);
        write(QStringLiteral("Environment"), QStringLiteral("Office"), run.env.outlookVersionText);
    }
    write(timestamps, QStringLiteral("Duration"), durationSeconds(p[P_DURATION]));
    if (!p[P_INVOKED_FROM].isEmpty())
        write(timestamps, p[P_INVOKED_FROM], texts::dateTime(clock::now()));
}

} // namespace tlm
