// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The call event as the CTI client delivers it: the parameter array of 19
// texts in template order, the internal-call flag and the call id.
#include <QString>
#include <QStringList>
#include <array>

namespace tlm {

class Log;

// Indexes of the parameter array, in template order.
enum Param {
    P_NUMBER = 0,
    P_NUMBER_NORM,
    P_LINE_NUMBER,
    P_LINE_NAME,
    P_MENU_OPTION,
    P_INVOKED_FROM,
    P_OUTBOUND,
    P_TIMESTAMP,
    P_DURATION,
    P_CALLLOG_STATE,
    P_P_CALL_ID,
    P_UID,
    P_FIRST_NAME,
    P_LAST_NAME,
    P_COMPANY,
    P_ADR_STREET,
    P_ADR_ZIP,
    P_ADR_CITY,
    P_ADR_COUNTRY,
    ParamCount
};

// The placeholder template: each placeholder followed by one blank.
extern const QString placeholderTemplate;

struct Params {
    bool isSet = false; // false until a non-blank command line was split
    std::array<QString, ParamCount> values;
    bool internalCall = false;

    const QString& operator[](Param p) const { return values[p]; }
    // %P_CALL_ID%, or "00000000-0000-" + %NUMBER% when it is empty.
    QString callId() const;
};

// Rebuilds the raw command line from arguments already split by the system,
// as the CTI client writes it: joined by single blanks, an empty argument as
// two double quotes, an argument holding a blank enclosed in double quotes.
QString rawCommandLine(const QStringList& arguments);

// Splits the raw command line into the parameter array and rewrites the
// last-call log (work folder + "tlmLastCall.log").
void subC2P(const QString& commandLine, Params& params, Log& log, const QString& versionText,
            const QString& workFolder, const QString& programFolder);

} // namespace tlm
