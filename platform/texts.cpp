// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/texts.h"

namespace tlm::texts {

QString dateTime(const QDateTime& t) {
    return t.toString(QStringLiteral("dd.MM.yyyy HH:mm:ss"));
}
QString date(const QDate& d) {
    return d.toString(QStringLiteral("dd.MM.yyyy"));
}
QString time(const QTime& t) {
    return t.toString(QStringLiteral("HH:mm:ss"));
}

QString grouped(qint64 n) {
    QString digits = QString::number(n < 0 ? -n : n);
    for (qsizetype i = digits.size() - 3; i > 0; i -= 3)
        digits.insert(i, QLatin1Char('.'));
    return n < 0 ? QLatin1Char('-') + digits : digits;
}

} // namespace tlm::texts
