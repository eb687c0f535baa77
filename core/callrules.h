// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The rules that decide, for each call, whether the contact is shown and
// whether the call is journaled.
#include <optional>

namespace tlm {

struct Run;
struct ErrorExit;

// %OUTBOUND% (0 incoming, 1 outgoing) as a number; a value that is no
// number writes an error line through exit and gives nothing, which then
// matches none of the numeric cases.
std::optional<int> outboundDirection(Run& run, const ErrorExit& exit);

enum class ShowDecision { Show, HiddenByDirection, HiddenAsInternal };
// Whether the caller's contact is shown (InContact, OutContact, Internal).
ShowDecision showRule(Run& run);

// Whether a call without a contact is journaled (InJournal, OutJournal,
// Internal); writes the decision's log line.
bool journalWithoutContact(Run& run);
// Whether a call with the current contact is journaled (Internal,
// JournalContact, the contact's Journal flag); writes the decision's line.
bool journalWithContact(Run& run);

} // namespace tlm
