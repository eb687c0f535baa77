// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Where the program's files live. Folder paths end with "/".
#include <QString>

namespace tlm::paths {

// $TEMP/Tellmarin/ (TEMP unset: $TMPDIR, then /tmp). Not created here.
QString workFolder();

// The folder of the running executable (override for tests).
QString programFolder();
void setProgramFolder(const QString& folder); // empty: back to the executable's folder

// $XDG_CONFIG_HOME/Orvensoft/ (default ~/.config/Orvensoft/).
QString configFolder();

// $XDG_DATA_HOME/Orvensoft/ (default ~/.local/share/Orvensoft/).
QString dataFolder();

// folder (with or without a trailing "/" or "\\") + "/" + file.
QString join(QString folder, const QString& file);

} // namespace tlm::paths
