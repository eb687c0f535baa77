// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "numbers/phonefields.h"

namespace tlm {

QString fncPhoneFieldLabel(int number) {
    const PhoneField* field = phoneField(number);
    return field ? field->label.toString() : QString();
}

QString fncPhoneFieldLabel(const QString& number) {
    bool ok = false;
    const int value = number.trimmed().toInt(&ok);
    return ok ? fncPhoneFieldLabel(value) : QString();
}

} // namespace tlm
