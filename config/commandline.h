// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The options for administrators: the settings backup, its restore and the
// CTI client set-up without a window, help and version. A command line is
// an option only when its first argument starts with "--".
#include <QStringList>

namespace tlm::cli {

bool isOption(const QStringList& arguments);

// Runs the option; the exit status: 0 success, 1 failure (the program's
// message on standard error), 2 a wrong call.
int run(const QStringList& arguments);

} // namespace tlm::cli
