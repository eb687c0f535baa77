// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The shell's default action for a file, a folder or a web address
// (xdg-open here). With TELLMARIN_AUTOANSWER=1, or without a display,
// nothing is opened and "Öffnen: " and the target are printed to standard
// error, as message boxes print theirs.
#include <QString>

namespace tlm::shell {

// A file or folder path, or an address with its scheme ("https://...").
// The result is not examined, as the shell's is not.
void open(const QString& target);

} // namespace tlm::shell
