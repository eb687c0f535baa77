// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The file-open dialog (QFileDialog here). With TELLMARIN_AUTOANSWER=1, or
// without a display, it is cancelled at once and its title is printed to
// standard error.
#include <QString>

namespace tlm::filedialog {

// The chosen path of an existing file, or a single blank when cancelled.
// Defaults: title "Datei öffnen", file type "Alle Dateien" with "*.*", the
// current folder.
QString openFile(const QString& title = {}, const QString& typeDescription = {},
                 const QString& pattern = {}, const QString& initialFolder = {});

} // namespace tlm::filedialog
