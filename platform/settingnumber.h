// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// A setting's text as a whole number, converted the one way every reader of
// the settings converts it: blanks around it are ignored, a decimal number
// ("," or "." as its point) is rounded half to even, and a number beyond
// 32 bits is an overflow.
#include <QString>
#include <optional>

namespace tlm {

// Throws Error 13 "Typen unverträglich" for a text that is not a number and
// Error 6 "Überlauf" for one beyond 32 bits.
int toInteger(const QString& text);
// The same, nullopt for a text that does not convert.
std::optional<int> integerOf(const QString& text);

} // namespace tlm
