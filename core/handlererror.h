// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The error line that a window's handler writes to the program log.
#include <QString>

namespace tlm {

class Log;
class Error;

// Date and time, " " + window + "." + handler + "()_", the step as five
// digits, ": Err ", the number, "..." and the description, appended to the
// program log.
void handlerErrorLine(Log& log, const QString& handler, int step, const Error& error);

} // namespace tlm
