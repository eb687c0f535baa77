// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/error.h"

namespace tlm {

Error::Error(long number, QString description)
    : m_number(number), m_description(std::move(description)),
      m_what(QByteArray::number(static_cast<qlonglong>(number)) + ": " + m_description.toUtf8()) {}

void noObject() {
    throw Error(err::NoObject,
                QStringLiteral("Objektvariable oder With-Blockvariable nicht festgelegt"));
}

} // namespace tlm
