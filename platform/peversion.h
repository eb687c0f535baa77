// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Reader of the version resource of a Windows PE executable.
#include <QString>

namespace tlm {

// The file version (fileVersion true) or the product version of the
// VS_FIXEDFILEINFO as "a.b.c.d" (high and low half of the first double word,
// then of the second); empty when the file is missing, not a PE file or has no
// version resource.
QString fncFileVersion(const QString& path, bool fileVersion);

} // namespace tlm
