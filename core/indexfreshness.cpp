// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/indexfreshness.h"

namespace tlm {
namespace {
// The number of minute boundaries between two times.
qint64 minuteBoundaries(const QDateTime& from, const QDateTime& to) {
    return to.toSecsSinceEpoch() / 60 - from.toSecsSinceEpoch() / 60;
}

QString shortTime(const QDateTime& t) {
    return t.toString(QStringLiteral("HH:mm"));
}
} // namespace

QList<RebuildReason> indexRebuildReasons(const QString& refresh, const QDateTime& modified,
                                         const QDateTime& now) {
    const bool otherDay = modified.date() != now.date();
    const QString noon = QStringLiteral("12:00");
    if (refresh == QStringLiteral("0")) {
        if (otherDay)
            return {{QStringLiteral("0:Neuaufbau, weil Indexdatei älter als ein Tag ist"), 11001}};
        return {};
    }
    if (refresh == QStringLiteral("1")) {
        // The noon tests compare "hh:mm" texts, so 12:00 itself is neither
        // before nor after noon; the hour test is numeric.
        QList<RebuildReason> reasons;
        if (otherDay)
            reasons.append(
                {QStringLiteral("1:Neuaufbau, weil Indexdatei älter als ein Tag ist"), 0});
        if (shortTime(now) < noon && modified.time().hour() > 12)
            reasons.append(
                {QStringLiteral("1:Neuaufbau, weil Indexdatei vom Nachmittag des Vortages "
                                "ist (oder noch älter)"),
                 0});
        if (shortTime(modified) < noon && shortTime(now) > noon)
            reasons.append(
                {QStringLiteral("1:Neuaufbau, weil Indexdatei vom Vormittag ist (oder noch älter)"),
                 0});
        return reasons;
    }
    if (refresh == QStringLiteral("2") && minuteBoundaries(modified, now) >= 60)
        return {{QStringLiteral("2:Neuaufbau, weil Indexdatei älter als eine Stunde ist"), 11003}};
    if (refresh == QStringLiteral("3") && minuteBoundaries(modified, now) >= 30)
        return {{QStringLiteral("3:Neuaufbau, weil Indexdatei älter als 30 Minuten ist"), 11004}};
    return {};
}

} // namespace tlm
