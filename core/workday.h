// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Outlook's working day (calendar options of the current user) and the
// slots that follow-up items are given within it.
#include <QDateTime>
#include <QString>

namespace tlm {

struct Environment;

struct WorkDayOptions {
    int dayStart = 480; // minutes after midnight
    int dayEnd = 1020;
    int workDays = 124; // 64 Monday, 32 Tuesday, ..., 2 Saturday, 128 Sunday
};

// The calendar options of the Outlook version found at start-up; 0 or a
// missing value takes the default, as does a WorkDay of 255 or more.
WorkDayOptions readWorkDayOptions(const Environment& env);

// The next working-day slot hoursAhead hours after start (invalid start:
// now), cut to the full hour and kept within the working day.
QDateTime fncNextWortAppointment(QDateTime start, int hoursAhead, const WorkDayOptions& options);

// The working-day start as "hh:mm".
QString fncReminderTime(const WorkDayOptions& options);

} // namespace tlm
