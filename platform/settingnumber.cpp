// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/settingnumber.h"

#include "platform/error.h"

#include <cmath>
#include <limits>

namespace tlm {

int toInteger(const QString& value) {
    const QString t = value.trimmed();
    bool ok = false;
    const qlonglong whole = t.toLongLong(&ok);
    double number = static_cast<double>(whole);
    if (!ok) {
        QString decimal = t;
        decimal.replace(QLatin1Char(','), QLatin1Char('.'));
        number = decimal.toDouble(&ok);
        if (!ok)
            throw Error(err::TypeMismatch, QStringLiteral("Typen unverträglich"));
        number = std::nearbyint(number); // rounds half to even, as the conversion does
    }
    if (number < std::numeric_limits<int>::min() || number > std::numeric_limits<int>::max())
        throw Error(6, QStringLiteral("Überlauf"));
    return static_cast<int>(number);
}

std::optional<int> integerOf(const QString& text) {
    try {
        return toInteger(text);
    } catch (const Error&) {
        return std::nullopt;
    }
}

} // namespace tlm
