// SPDX-FileCopyrightText: 2026 Tellmarin-Team
// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once
// The start-up steps that follow the classification of a valid call event.
namespace tlm {

struct Run;

// Steps 10 to 15: index freshness, per-call file, event overlap, Outlook
// and its folders, absence check. False when one of them ended the run.
bool prepareCall(Run& run);

} // namespace tlm
