// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// Merging two edits of one text: the notes a user types into a journal entry
// while a call-event process may write the same entry.
#include <QString>

namespace tlm::viewer {

// base edited into mine here and into theirs elsewhere. The user's change
// (one replaced run of base) is applied to theirs where its surroundings are
// still found there; else the typed text is added at the end of theirs.
// Neither side's text is lost.
QString mergeText(const QString& base, const QString& mine, const QString& theirs);

} // namespace tlm::viewer
