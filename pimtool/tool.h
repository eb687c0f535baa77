// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// tellmarin-pim, the command-line tool of the local PIM store: create a
// store, add folders, import and export vCard, load and dump JSON, list
// folders and items, set the store options, and sync folders with CardDAV
// and CalDAV servers. "tellmarin-pim --help" lists the commands.
#include <QStringList>

class QTextStream;

namespace tlm::pim::tool {

// Exit codes.
constexpr int Success = 0;
constexpr int Failure = 1; // bad input or a store error; the store is unchanged
constexpr int Usage = 2;   // unknown command or option, missing argument

// Runs the tool with the arguments that follow the program name. Results go
// to out, messages (errors, warnings) to err.
int run(const QStringList& args, QTextStream& out, QTextStream& err);

} // namespace tlm::pim::tool
