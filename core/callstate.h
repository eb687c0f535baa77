// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// What the processing of an event reads back from the per-call file: the
// call's contact and item, opened again in Outlook.
#include "outlook/fwd.h"

#include <QString>

namespace tlm {

struct Run;

// The item of an EntryID; nothing for an empty id or an item that no longer
// opens (the failure is written through Main's error exit).
outlook::ItemPtr openItem(Run& run, const QString& entryId);

// The per-call file's Contact-ID becomes the current contact, with the phone
// field that matched when it was found (NumType); false (and the current
// contact as it was) when none opens.
bool openRecordedContact(Run& run);

// The contact choice window, shown modally; without one the choice counts
// as cancelled.
void showContactChoice(Run& run);

} // namespace tlm
