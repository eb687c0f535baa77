// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The server commands of tellmarin-pim: accounts, bindings of folders to
// server collections and the two-way sync; used by tool.cpp. A password is
// read from a file or the terminal, never from the command line, and never
// printed.
#include "pimtool/toolcommands.h"

namespace tlm::pim::tool {

void addAccount(const Invocation& call);
void listAccounts(const Invocation& call);
void bindFolder(const Invocation& call);
void syncFolders(const Invocation& call);
void removeAccount(const Invocation& call);

// The password of --password-file FILE (its first line), else asked on the
// terminal without echo (one line of standard input when that is no
// terminal). Raises for an unreadable or empty file and an empty answer.
QString readPassword(const Invocation& call, const QString& prompt);

} // namespace tlm::pim::tool
