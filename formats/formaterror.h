// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Content of a vCard or JSON file that cannot be read. The message names the
// file and the line, "file:line: text", so that the user finds the place at
// once. A file that cannot be opened or read at all raises the platform's
// file errors (53, 75) instead.
#include "platform/error.h"

#include <QString>

namespace tlm::pim {

// Error number of a file whose content cannot be read ("Invalid file format").
constexpr long BadFileFormat = 321;

// "file:line", the place a message names.
inline QString inputPlace(const QString& file, int line) {
    return file + QLatin1Char(':') + QString::number(line);
}

class FormatError : public Error {
public:
    // Content at one line of a file.
    FormatError(const QString& file, int line, const QString& text)
        : Error(BadFileFormat, inputPlace(file, line) + QStringLiteral(": ") + text) {}
    // A document that cannot be taken as a whole (no one line to name).
    explicit FormatError(const QString& text) : Error(BadFileFormat, text) {}
};

} // namespace tlm::pim
