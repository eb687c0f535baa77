// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The items that the CTI client's context-menu entries file a call as:
// appointment (entries 2 and 3), task and journal entry (4 and 5), e-mail
// (6). They are shown for the user to complete and are not saved.
#include "outlook/fwd.h"

#include <QString>

namespace tlm {

struct Run;

void subInteractiveAppointment(Run& run, int entry);
void subInteractiveTast(Run& run, int entry);
void subInteractiveMail(Run& run);

// The "[PCALLID]" filter of a call id; a "'" in it is doubled, so that no
// call id changes the filter's meaning.
QString callIdFilter(const QString& callId);
// The saved item of this call in folder, opened again by its EntryID;
// nothing for an empty call id or when there is none.
outlook::ItemPtr findCallItem(Run& run, const outlook::FolderPtr& folder);

} // namespace tlm
