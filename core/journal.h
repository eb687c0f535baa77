// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The journal entry (or, in calendar mode, the appointment) that documents
// an answered call.
namespace tlm {

struct Run;

// Creates the call's item with its user properties, subject and body from
// the current contact (or from what the CTI client sent), starts its timer,
// saves it, records it as the call's Item-ID and shows it. Each failing step
// writes an error line and the next step follows.
void subConnect(Run& run);

} // namespace tlm
