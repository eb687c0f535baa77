// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/workday.h"

#include "core/environment.h"
#include "platform/clock.h"
#include "platform/registry.h"

using namespace Qt::StringLiterals;

namespace tlm {
namespace {
// The Outlook weekday bit of a date.
int weekdayBit(const QDate& date) {
    static const int bits[] = {64, 32, 16, 8, 4, 2, 128}; // Monday .. Sunday
    return bits[date.dayOfWeek() - 1];
}
} // namespace

WorkDayOptions readWorkDayOptions(const Environment& env) {
    const QString key = u"SOFTWARE\\Microsoft\\Office\\"_s + QString::number(env.outlookMajor) +
                        u".0\\Outlook\\Options\\Calendar"_s;
    const auto number = [&](const QString& name) {
        return static_cast<int>(
            registry::fncRegValue(registry::Root::CurrentUser, key, name).toString().toUInt());
    };
    WorkDayOptions options;
    if (const int start = number(u"CalDefStart"_s))
        options.dayStart = start;
    if (const int end = number(u"CalDefEnd"_s))
        options.dayEnd = end;
    const int days = number(u"WorkDay"_s);
    if (days != 0 && days < 255)
        options.workDays = days;
    return options;
}

QDateTime fncNextWortAppointment(QDateTime start, int hoursAhead, const WorkDayOptions& options) {
    if (!start.isValid())
        start = clock::now();
    start = start.addSecs(hoursAhead * 3600);
    QDate day = start.date();
    int minutes = start.time().hour() * 60;
    if (minutes < options.dayStart)
        minutes = options.dayStart;
    if (minutes > options.dayEnd) {
        minutes = options.dayStart;
        day = day.addDays(1);
    }
    const QTime time(minutes / 60 % 24, minutes % 60);
    // A WorkDay that marks no weekday leaves the slot where it is.
    for (int i = 0; i < 7; ++i) {
        if (options.workDays & weekdayBit(day.addDays(i)))
            return QDateTime(day.addDays(i), time);
    }
    return QDateTime(day, time);
}

QString fncReminderTime(const WorkDayOptions& options) {
    return u"%1:%2"_s.arg(options.dayStart / 60 % 24, 2, 10, QLatin1Char('0'))
        .arg(options.dayStart % 60, 2, 10, QLatin1Char('0'));
}

} // namespace tlm
