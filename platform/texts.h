// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The German text forms of dates, times and numbers that every written text
// uses, whatever the machine's locale.
#include <QDateTime>
#include <QString>

namespace tlm::texts {

QString dateTime(const QDateTime& t); // dd.MM.yyyy HH:mm:ss
QString date(const QDate& d);         // dd.MM.yyyy
QString time(const QTime& t);         // HH:mm:ss
QString grouped(qint64 n);            // 1.234.567

} // namespace tlm::texts
