// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Replacing a file as a whole: the new content goes to a temporary file
// beside it, which is then renamed over it. A reader sees the old file or
// the new one, never a part; a write that fails (a full disk) leaves the old
// file as it was and no temporary file behind.
#include <QByteArrayView>
#include <QString>

namespace tlm::atomicfile {

// Raises tlm::Error 75 when the content cannot be written or renamed. The
// file keeps the permissions of the one it replaces.
void replace(const QString& path, QByteArrayView content);

} // namespace tlm::atomicfile
