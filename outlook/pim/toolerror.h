// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Errors in files that the store's tool reads (vCard, JSON): the message
// names the file and the line, "file:line: text", so that the user finds the
// place at once.
#include "platform/error.h"

#include <QString>

namespace tlm::pim {

// Error number of a file whose content cannot be read ("Invalid file format").
constexpr long BadFileFormat = 321;

inline QString inputPlace(const QString& file, int line) {
    return file + QLatin1Char(':') + QString::number(line);
}

inline Error inputError(const QString& file, int line, const QString& text) {
    return Error(BadFileFormat, inputPlace(file, line) + QStringLiteral(": ") + text);
}

} // namespace tlm::pim
