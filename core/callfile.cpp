// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/callfile.h"

#include "core/companylookup.h"
#include "core/run.h"
#include "outlook/item.h"
#include "platform/clock.h"
#include "platform/files.h"
#include "platform/inifile.h"
#include "platform/texts.h"

#include <QList>
#include <functional>

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

void subIniWriteSeries(const QString& file, std::span<const ini::Entry> entries) {
    ini::writeSeries(file, entries);
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
    // The keys are written in one replacement of the file: it ends as one
    // write per key would leave it, and no other event of the call sees it
    // half written.
    QList<ini::Entry> entries;
    const auto blankLine = [&] { entries.append(ini::blankLine()); };
    const auto write = [&](const QString& section, const QString& key, const QString& value) {
        entries.append({section, key, value});
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
    subIniWriteSeries(file, entries);
}

QString contactLogText(const QString& fullNameAndCompany) {
    QString text = fullNameAndCompany;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("; "));
}

void subUpdateCallFileContact(Run& run) {
    subUpdateCallFileContact(run, run.lookup.currentContact, run.lookup.matchedField);
}

void subUpdateCallFileContact(Run& run, const outlook::ItemPtr& contact, int field) {
    if (!contact) {
        run.log.subLog(
            QStringLiteral("CALL-Datei: Outlook-Kontakt: keine Änderungen möglich (FEHLER)"),
            12099);
        return;
    }
    const QString file = callFilePath(run);
    const auto property = [&](const char16_t* name) {
        return contact->get(QString::fromUtf16(name)).toString();
    };
    // The keys go to the file in one replacement at the end; a value that
    // cannot be read from the contact leaves its key as it is.
    QList<ini::Entry> entries;
    const auto write = [&](const char16_t* section, const char16_t* key,
                           const std::function<QString()>& value) {
        ignoreErrors([&] {
            entries.append({QString::fromUtf16(section), QString::fromUtf16(key), value()});
        });
    };
    const auto writeAddress = [&](const QString& kind) {
        static const char16_t* const keys[] = {u"Adr_Street", u"Adr_Zip", u"Adr_City",
                                               u"Adr_Country"};
        static const char16_t* const parts[] = {u"Street", u"PostalCode", u"City", u"Country"};
        for (int i = 0; i < 4; ++i) {
            write(u"Contact", keys[i], [&] {
                return contact->get(kind + QStringLiteral("Address") + QString::fromUtf16(parts[i]))
                    .toString();
            });
        }
    };
    const QString prefix = QStringLiteral("CALL-Datei: Outlook-Kontakt: ");
    const QString number = QString::number(field);

    write(u"Call", u"NumType", [&] { return number; });
    write(u"Contact", u"Contact-ID", [&] { return contact->EntryID(); });
    write(u"Contact", u"First_Name", [&] { return property(u"FirstName"); });
    write(u"Contact", u"Last_Name", [&] { return property(u"LastName"); });
    const bool business = field == 1 || (field >= 4 && field <= 9);
    const bool home = field == 2 || field == 3;
    ignoreErrors([&] {
        if (business)
            run.log.subLog(prefix + contactLogText(property(u"FullNameAndCompany")) +
                               QStringLiteral(" (Geschäftlich ") + number + QLatin1Char(')'),
                           12000 + field);
        else
            run.log.subLog(prefix + property(u"FullName") +
                               (home ? QStringLiteral(" (Privat ") : QStringLiteral(" (Weitere ")) +
                               number + QLatin1Char(')'),
                           12000 + field);
    });
    if (business) {
        write(u"Contact", u"Company", [&] { return property(u"CompanyName"); });
        writeAddress(QStringLiteral("Business"));
    } else {
        writeAddress(home ? QStringLiteral("Home") : QStringLiteral("Other"));
    }
    ignoreErrors([&] { subIniWriteSeries(file, entries); });
    ignoreErrors([&] { recordGuess(run.lookup, file); });
}

} // namespace tlm
