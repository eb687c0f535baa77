// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/clock.h"

#include <QtGlobal>

namespace tlm::clock {
namespace {
std::optional<QDateTime>& fixedTime() {
    static std::optional<QDateTime> fixed;
    return fixed;
}

std::optional<QDateTime> fromEnvironment() {
    const QByteArray text = qgetenv("TELLMARIN_NOW");
    if (text.isEmpty())
        return std::nullopt;
    QDateTime t = QDateTime::fromString(QString::fromLatin1(text), Qt::ISODate);
    if (!t.isValid())
        return std::nullopt;
    return t;
}
} // namespace

QDateTime now() {
    if (fixedTime())
        return *fixedTime();
    static const std::optional<QDateTime> fromEnv = fromEnvironment();
    if (fromEnv)
        return *fromEnv;
    return QDateTime::currentDateTime();
}

QDate today() {
    return now().date();
}

void setFixed(std::optional<QDateTime> fixed) {
    fixedTime() = std::move(fixed);
}

} // namespace tlm::clock
